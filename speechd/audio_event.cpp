// The 705 audio event's framing and byte escaping.
#include "speechd/audio_event.h"

namespace orvanel::speechd {

void AppendEscaped(std::string_view bytes, std::string& out) {
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0x0A || b == kAudioEscape) {
      out += static_cast<char>(kAudioEscape);
      out += static_cast<char>(b ^ 0x20);
    } else {
      out += c;
    }
  }
}

bool Unescape(std::string_view escaped, std::string& out) {
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    const auto b = static_cast<unsigned char>(escaped[i]);
    if (b != kAudioEscape) {
      out += escaped[i];
      continue;
    }
    if (++i == escaped.size()) return false;
    out += static_cast<char>(static_cast<unsigned char>(escaped[i]) ^ 0x20);
  }
  return true;
}

void AppendAudioEvent(const std::int16_t* samples, std::size_t count, std::uint32_t sampleRate,
                      std::string& out) {
  out += "705-bits=16\n705-num_channels=1\n705-sample_rate=";
  out += std::to_string(sampleRate);
  out += "\n705-num_samples=";
  out += std::to_string(count);
  out += "\n705-big_endian=0\n705-AUDIO\n";
  out.back() = '\0';
  out.reserve(out.size() + count * 2 + count / 8 + 16);
  for (std::size_t i = 0; i < count; ++i) {
    const auto v = static_cast<std::uint16_t>(samples[i]);
    const char pair[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    AppendEscaped(std::string_view(pair, 2), out);
  }
  out += "\n705 AUDIO\n";
}

}  // namespace orvanel::speechd
