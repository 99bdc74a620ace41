#include "codepage/codepage.h"

#include <array>

namespace orvanel::codepage {
namespace {

// Windows-1254 equals Latin-1 except in 0x80..0x9F and for six Turkish letters.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,  // 98..9F
};

constexpr char32_t DecodeByte(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
  switch (b) {
    case 0xD0:
      return 0x011E;  // Ğ
    case 0xDD:
      return 0x0130;  // İ
    case 0xDE:
      return 0x015E;  // Ş
    case 0xF0:
      return 0x011F;  // ğ
    case 0xFD:
      return 0x0131;  // ı
    case 0xFE:
      return 0x015F;  // ş
    default:
      return b;
  }
}

constexpr std::array<char32_t, 256> BuildDecodeTable() {
  std::array<char32_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = DecodeByte(static_cast<unsigned char>(b));
  return t;
}

constexpr auto kDecode = BuildDecodeTable();

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
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
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

char32_t Cp1254ToCodePoint(unsigned char byte) noexcept { return kDecode[byte]; }

std::optional<unsigned char> CodePointToCp1254(char32_t cp) noexcept {
  // Most text is ASCII or Latin-1; only the 38 remapped bytes need a search.
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  if (cp <= 0xFF && kDecode[cp] == cp) return static_cast<unsigned char>(cp);
  for (int b = 0x80; b < 0x100; ++b) {
    if (kDecode[b] == cp) return static_cast<unsigned char>(b);
  }
  return std::nullopt;
}

bool Utf8ToCp1254(std::string_view utf8, std::string& out, DecodeError& error) {
  out.clear();
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(utf8, i, cp);
    if (len == 0) {
      error.offset = i;
      return false;
    }
    if (cp == U'\n' && (out.empty() || out.back() != '\r')) {
      out += "\r\n";
    } else if (cp == 0) {
      // A zero byte would end the text inside the engine.
      out += ' ';
    } else if (const auto byte = CodePointToCp1254(cp)) {
      out += static_cast<char>(*byte);
    } else {
      // Not "?": the planner would take a question mark as a sentence end.
      out += ' ';
    }
    i += len;
  }
  return true;
}

std::string Cp1254ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    AppendUtf8(out, kDecode[b]);
  }
  return out;
}

}  // namespace orvanel::codepage
