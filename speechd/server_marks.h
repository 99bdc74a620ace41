// The index marks that the speech server puts into a message, where they would change its reading.
#pragma once

#include <vector>

#include "speechd/ssml_parser.h"

namespace orvanel::speechd {

// The server puts a mark ("__spd_N") after every '.', '?' or '!' that a blank follows, as if each
// ended a sentence, and the module speaks the text between marks on its own. Where the Turkish
// reading stage reads the words on both sides of such a mark as one ("7. kat" is "yedinci kat",
// "Dr. Ahmet" is "doktor Ahmet"), the text after the mark is joined to the text before it and the
// mark follows the joined text: the text is read as the same text typed, and the mark comes a
// little later (a pause there ends after the joined text; the resumed text repeats what followed
// the mark). The client's own marks stay where they are.
void JoinReadingsCutByMarks(std::vector<SsmlPiece>& pieces);

}  // namespace orvanel::speechd
