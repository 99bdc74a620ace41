// UTF-8 decoding, Turkish letter classes and the Windows-1254 repertoire.
#include "reading/utf8_text.h"

namespace orvanel::reading {

char32_t ToLowerTurkish(char32_t cp) noexcept {
  switch (cp) {
    case U'I':
      return U'ı';
    case U'İ':
      return U'i';
    case U'Ç':
      return U'ç';
    case U'Ğ':
      return U'ğ';
    case U'Ö':
      return U'ö';
    case U'Ş':
      return U'ş';
    case U'Ü':
      return U'ü';
    case U'Â':
      return U'â';
    case U'Î':
      return U'î';
    case U'Û':
      return U'û';
    default:
      return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  }
}

bool IsTurkishVowel(char32_t cp) noexcept {
  switch (ToLowerTurkish(cp)) {
    case U'a':
    case U'e':
    case U'ı':
    case U'i':
    case U'o':
    case U'ö':
    case U'u':
    case U'ü':
    case U'â':
    case U'î':
    case U'û':
      return true;
    default:
      return false;
  }
}

bool IsBackVowel(char32_t cp) noexcept {
  const char32_t c = ToLowerTurkish(cp);
  return c == U'a' || c == U'ı' || c == U'o' || c == U'u' || c == U'â' || c == U'û';
}

bool IsRoundedVowel(char32_t cp) noexcept {
  const char32_t c = ToLowerTurkish(cp);
  return c == U'o' || c == U'ö' || c == U'u' || c == U'ü' || c == U'û';
}

std::u32string DecodeAll(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    i += DecodeUtf8(utf8, i, cp);
    out += cp;
  }
  return out;
}

std::string EncodeAll(std::u32string_view text) {
  std::string out;
  for (const char32_t cp : text) {
    if (cp != kInvalidUtf8) AppendUtf8(cp, out);
  }
  return out;
}

std::string LowerTurkish(std::string_view utf8) {
  std::u32string text = DecodeAll(utf8);
  for (char32_t& cp : text) cp = ToLowerTurkish(cp);
  return EncodeAll(text);
}

}  // namespace orvanel::reading
