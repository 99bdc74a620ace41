// Speech files: the standard 16-bit mono WAV header, and a whole recording written at once
// through SpeechOutput (so with the same atomic replacement and target rules).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvanel::cli {

// The 44-byte RIFF header of a 16-bit mono PCM file.
std::string WavHeader(std::uint32_t sampleRate, std::uint32_t sampleCount);

// path "-" writes to standard output. Returns false with error set (and no file left behind).
bool WriteSpeechFile(const std::string& path, bool raw, std::uint32_t sampleRate,
                     const std::vector<std::int16_t>& samples, std::string& error);

}  // namespace orvanel::cli
