// Fuzzes the SSML parser and the text the module makes of its pieces. Besides the sanitizers it
// checks that every text piece is valid UTF-8 without zero bytes, that pauses stay within the
// limit, that text never outgrows the input, that undoing the server's rewrite keeps a piece
// valid UTF-8 and never longer, and that spelling and every punctuation level read any piece
// without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "speechd/server_text.h"
#include "speechd/spoken_names.h"
#include "speechd/ssml_parser.h"

namespace {

using namespace orvanel::speechd;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t textBytes = 0;
  for (const SsmlPiece& piece : ParseSsml(input)) {
    switch (piece.kind) {
      case PieceKind::kBreak:
        Check(piece.ms > 0 && piece.ms <= kMaxBreakMs);
        break;
      case PieceKind::kMark:
        break;
      case PieceKind::kText:
      case PieceKind::kCharacters:
        Check(!piece.text.empty());
        Check(SanitizeUtf8(piece.text) == piece.text);
        Check(piece.text.find('\0') == std::string::npos);
        textBytes += piece.text.size();
        {
          const std::string restored = RestoreServerText(piece.text);
          Check(restored.size() <= piece.text.size());
          Check(SanitizeUtf8(restored) == restored);
        }
        SpellText(piece.text, true);
        for (auto mode : {PunctuationMode::kNone, PunctuationMode::kSome, PunctuationMode::kMost,
                          PunctuationMode::kAll}) {
          Check(SanitizeUtf8(ApplyPunctuation(piece.text, mode)) ==
                ApplyPunctuation(piece.text, mode));
        }
        break;
    }
  }
  // Entities only shrink ("&amp;" -> "&", "&#65536;" -> 4 bytes); a blank replaces each bad byte.
  Check(textBytes <= size);
  if (size <= 8) {
    CharacterName(input, true);
    KeyName(input);
  }
  return 0;
}
