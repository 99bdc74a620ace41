// Text at the edges: UTF-8 (terminal, toolkit) to the engine's Windows-1254 bytes and back.
// Line breaks become carriage return + line feed on the way in, as an edit box delivers them,
// and carriage return + line feed becomes a line feed on the way out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel::platform {

// The Unicode code point of a Windows-1254 byte. The seven bytes the code page leaves undefined
// (81 8D 8E 8F 90 9D 9E) map to the C1 controls of the same value, so every byte round-trips.
char32_t Cp1254ToCodePoint(unsigned char byte) noexcept;
// The Windows-1254 byte of a code point, or nothing when the code page cannot hold it.
std::optional<unsigned char> CodePointToCp1254(char32_t cp) noexcept;

// Decodes one UTF-8 sequence at text[i] (i < text.size()); returns its length, or 0 when it is
// not valid UTF-8 (truncated, a stray continuation byte, an overlong form, a surrogate, or above
// U+10FFFF).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept;
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

}  // namespace orvanel::platform
