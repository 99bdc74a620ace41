// UTF-8 decoding, Turkish letter classes and the Windows-1254 repertoire.
#include "reading/utf8_text.h"

#include <array>

namespace orvanel::reading {

namespace {

// The characters of bytes 0x80 to 0x9F; the undefined bytes hold the C1 control of their value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178};

}  // namespace

std::size_t DecodeLongUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    cp = kInvalidUtf8;
    return 1;
  }
  if (i + len > text.size()) {
    cp = kInvalidUtf8;
    return 1;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      cp = kInvalidUtf8;
      return 1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = kInvalidUtf8;
    return 1;
  }
  return len;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool InCp1254(char32_t cp) noexcept {
  if (cp < 0x80) return true;
  for (const char32_t c : kHighControls) {
    if (c == cp) return true;
  }
  if (cp >= 0xA0 && cp <= 0xFF) {
    // Ð Ý Þ ð ý þ gave their bytes to Ğ İ Ş ğ ı ş.
    return cp != 0xD0 && cp != 0xDD && cp != 0xDE && cp != 0xF0 && cp != 0xFD && cp != 0xFE;
  }
  return cp == 0x011E || cp == 0x0130 || cp == 0x015E || cp == 0x011F || cp == 0x0131 ||
         cp == 0x015F;
}

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
