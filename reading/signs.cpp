// Typographic signs and characters outside the code page. The signs of mathematics and science
// are read as Turkish school mathematics names them ("artı eksi", "küçük eşittir", "binde"), the
// Greek letters by their Turkish names; the sources are those of tables/sign_names.cpp.
#include "reading/signs.h"

#include <string_view>

#include "reading/phrase_boundaries.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

// What a typographic sign is written as, or false when the character is no such sign. The
// punctuation among them (… – — and the quotes) comes here only when the line is read
// character by character; otherwise it is read as punctuation (punctuation_reader.cpp).
bool TypographicReplacement(char32_t cp, std::string_view& replacement) {
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

// Signs of mathematics and science, said between blanks.
std::string_view SignWords(char32_t cp) {
  switch (cp) {
    case U'−':
      return "eksi";
    case U'±':
      return "artı eksi";
    case U'×':
      return "çarpı";
    case U'÷':
      return "bölü";
    case U'≤':
      return "küçük eşittir";
    case U'≥':
      return "büyük eşittir";
    case U'≠':
      return "eşit değildir";
    case U'≈':
      return "yaklaşık";
    case U'‰':
      return "binde";
    case U'√':
      return "karekök";
    case U'∞':
      return "sonsuz";
    case U'∑':
      return "toplam";
    case U'²':
      return "kare";
    case U'³':
      return "küp";
    case U'№':
      return "numara";
    case U'§':
      return "paragraf";
    case U'π':
      return "pi";
    case U'α':
      return "alfa";
    case U'β':
      return "beta";
    case U'γ':
      return "gama";
    case U'δ':
    case U'Δ':
    case U'∆':
      return "delta";
    case U'ε':
      return "epsilon";
    case U'θ':
      return "teta";
    case U'λ':
      return "lamda";
    case U'μ':
      return "mü";
    case U'σ':
      return "sigma";
    case U'ω':
    case U'Ω':
      return "omega";
    default:
      return {};
  }
}

}  // namespace

void AppendCharacter(char32_t cp, std::string& out, ReadingTrace& trace) {
  if (cp < 0x80 && !IsStageByte(static_cast<char>(cp))) {
    out += static_cast<char>(cp);
    return;
  }
  std::string_view replacement;
  bool replaced = TypographicReplacement(cp, replacement);
  if (!replaced) {
    if (const std::string_view words = SignWords(cp); !words.empty()) {
      out += ' ';
      out += words;
      out += ' ';
      ++trace.uses[static_cast<std::size_t>(ReadingRule::kSign)];
      return;
    }
  }
  if (!replaced && (cp < 0x80 || !InCp1254(cp))) {
    replacement = " ";  // a phrase mark in the input, or a character the code page lacks
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
