// Text at the edges: UTF-8 (terminal, toolkit) to the engine's Windows-1254 bytes and back.
// Line breaks become carriage return + line feed on the way in, as an edit box delivers them,
// and carriage return + line feed becomes a line feed on the way out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel::codepage {

// The Unicode code point of a Windows-1254 byte. The seven bytes the code page leaves undefined
// (81 8D 8E 8F 90 9D 9E) map to the C1 controls of the same value, so every byte round-trips.
char32_t Cp1254ToCodePoint(unsigned char byte) noexcept;
// The Windows-1254 byte of a code point, or nothing when the code page cannot hold it.
std::optional<unsigned char> CodePointToCp1254(char32_t cp) noexcept;

// Decodes one UTF-8 sequence at text[i] (i < text.size()); returns its length, or 0 when it is
// not valid UTF-8 (truncated, a stray continuation byte, an overlong form, a surrogate, or above
// U+10FFFF). This is the one failure contract of every UTF-8 reader in the program: a caller
// that goes on past an invalid byte decides itself what the byte stands for.
std::size_t DecodeLongUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept;
inline std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  // Two bytes (every Turkish letter) here; the rest out of line.
  if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < text.size()) {
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    if ((b1 & 0xC0) == 0x80) {
      cp = (static_cast<char32_t>(b0 & 0x1F) << 6) | (b1 & 0x3F);
      return 2;
    }
  }
  return DecodeLongUtf8(text, i, cp);
}
// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

struct DecodeError {
  std::size_t offset = 0;  // byte offset of the first invalid UTF-8 sequence
};

// UTF-8 to Windows-1254. A bare line feed gains a carriage return (an existing pair stays one
// pair); characters the code page cannot hold and zero bytes become a blank. Returns false and
// sets error.offset when the input is not valid UTF-8; out is then unspecified.
bool Utf8ToCp1254(std::string_view utf8, std::string& out, DecodeError& error);
// Windows-1254 to UTF-8, with carriage return + line feed turned into a line feed.
std::string Cp1254ToUtf8(std::string_view text);

}  // namespace orvanel::codepage
