#include "tests/frontend/cp1254_text.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orvanel::frontend::testing {
namespace {

// The six Turkish letters whose byte differs from Latin-1.
struct TurkishLetter {
  char32_t code_point;
  unsigned char byte;
};
constexpr TurkishLetter kTurkishLetters[] = {
    {U'\u011E', 0xD0}, {U'\u011F', 0xF0}, {U'\u0130', 0xDD},
    {U'\u0131', 0xFD}, {U'\u015E', 0xDE}, {U'\u015F', 0xFE},
};

bool DecodeOne(std::string_view utf8, std::size_t& i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(utf8[i]);
  int extra = 0;
  if (lead < 0x80) {
    cp = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    cp = lead & 0x1F;
    extra = 1;
  } else if ((lead & 0xF0) == 0xE0) {
    cp = lead & 0x0F;
    extra = 2;
  } else {
    return false;
  }
  if (i + static_cast<std::size_t>(extra) >= utf8.size()) return false;  // cut short
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  i += static_cast<std::size_t>(extra) + 1;
  return true;
}

}  // namespace

bool TryCp(std::string_view utf8, std::string& out) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    if (!DecodeOne(utf8, i, cp)) return false;
    bool done = false;
    for (const auto& letter : kTurkishLetters) {
      if (letter.code_point == cp) {
        out.push_back(static_cast<char>(letter.byte));
        done = true;
      }
    }
    if (done) continue;
    // Latin-1 code points whose Windows-1254 byte is the same.
    const bool shared_latin1 = cp >= 0xA0 && cp <= 0xFF && cp != 0xD0 && cp != 0xDD && cp != 0xDE &&
                               cp != 0xF0 && cp != 0xFD && cp != 0xFE;
    if (cp < 0x80 || shared_latin1) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    return false;
  }
  return true;
}

std::string Cp(std::string_view utf8) {
  std::string out;
  if (!TryCp(utf8, out)) ADD_FAILURE() << "not convertible to Windows-1254: " << utf8;
  return out;
}

std::string Cp(std::u8string_view utf8) {
  return Cp(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string Show(std::string_view cp1254) {
  std::string out;
  for (const char ch : cp1254) {
    const auto byte = static_cast<unsigned char>(ch);
    const TurkishLetter* turkish = nullptr;
    for (const auto& letter : kTurkishLetters) {
      if (letter.byte == byte) turkish = &letter;
    }
    char32_t cp = turkish != nullptr ? turkish->code_point : byte;
    if (byte == '\r') {
      out += "\xE2\x90\x8D";  // ␍
    } else if (byte == '\n') {
      out += "\xE2\x90\x8A";  // ␊
    } else if (byte < 0x20 || (byte >= 0x80 && byte < 0xA0)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", byte);
      out += hex;
    } else if (cp < 0x80) {
      out.push_back(ch);
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace orvanel::frontend::testing
