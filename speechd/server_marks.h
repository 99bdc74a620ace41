// The index marks that the speech server puts into a message, where they would change its reading.
#pragma once

#include <cstddef>
#include <vector>

#include "speechd/ssml_parser.h"

namespace orvanel::speechd {

// The server puts a mark ("__spd_N") after every '.', '?' or '!' that a blank follows, as if each
// ended a sentence, and the module speaks the text between marks on its own. Where the Turkish
// reading stage reads the words on both sides of such a mark as one ("7. kat" is "yedinci kat",
// "Dr. Ahmet" is "doktor Ahmet"), the text after the mark belongs to the text before it.
//
// JoinReadingCutByMarks appends to the text pieces[i] every text after it that only server marks
// separate from the text before it and that is read together with it, and leaves those texts
// empty; the marks stay where they are, so that they follow the joined text when it is spoken (a
// pause there ends after the joined text; the resumed text repeats what followed the mark). The
// client's own marks are not crossed. At most sixteen texts are joined at once. Returns the index
// of the last text joined (i: none). The worker calls it as it comes to each text, so that no
// message holds up the thread that reads the server's commands.
std::size_t JoinReadingCutByMarks(std::vector<SsmlPiece>& pieces, std::size_t i);

}  // namespace orvanel::speechd
