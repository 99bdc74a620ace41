// Typographic signs and characters outside the code page.
#include "reading/signs.h"

#include <string_view>

#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

// What a typographic sign is written as, or false when the character is no such sign.
bool SignReplacement(char32_t cp, std::string_view& replacement) {
  switch (cp) {
    case U'…':
      replacement = "...";
      return true;
    case U'–':
    case U'—':
    case U'―':
      replacement = ",";
      return true;
    case U'“':
    case U'”':
    case U'„':
    case U'‟':
    case U'«':
    case U'»':
      replacement = "";
      return true;
    case U'‘':
    case U'’':
    case U'‚':
    case U'‹':
    case U'›':
      replacement = "'";
      return true;
    case U'½':
      replacement = "yarım";
      return true;
    case U'¼':
      replacement = "çeyrek";
      return true;
    case U'¾':
      replacement = "dörtte üç";
      return true;
    case U'₺':
      replacement = "lira";
      return true;
    case U'€':
      replacement = "avro";
      return true;
    case U'£':
      replacement = "sterlin";
      return true;
    case U'°':
      replacement = "derece";
      return true;
    default:
      return false;
  }
}

}  // namespace

void AppendCharacter(char32_t cp, std::string& out, ReadingTrace& trace) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  std::string_view replacement;
  bool replaced = SignReplacement(cp, replacement);
  if (!replaced && !InCp1254(cp)) {
    replacement = " ";
    replaced = true;
  }
  if (replaced) {
    out += replacement;
    ++trace.uses[static_cast<std::size_t>(ReadingRule::kSign)];
  } else {
    AppendUtf8(cp, out);
  }
}

}  // namespace orvanel::reading
