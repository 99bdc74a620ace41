// The 705 event that carries a stretch of samples to the server: the header lines, "705-AUDIO",
// a zero byte, the samples as little-endian 16-bit bytes with LF and '}' escaped, LF, then
// "705 AUDIO".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel::speechd {

inline constexpr unsigned char kAudioEscape = 0x7D;  // '}': the next byte was XORed with 0x20

// The bytes with every 0x0A and 0x7D written as 0x7D, byte ^ 0x20.
void AppendEscaped(std::string_view bytes, std::string& out);
// The reverse; false when the data ends inside an escape.
bool Unescape(std::string_view escaped, std::string& out);

// Appends the whole event for count samples at sampleRate (mono, 16 bits).
void AppendAudioEvent(const std::int16_t* samples, std::size_t count, std::uint32_t sampleRate,
                      std::string& out);

}  // namespace orvanel::speechd
