#include "cli/wav_file.h"

#include "cli/speech_output.h"

namespace orvanel::cli {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Header(std::uint32_t sampleRate, std::uint32_t riffSize, std::uint32_t dataBytes) {
  std::string h = "RIFF";
  PutLe(h, riffSize, 4);
  h += "WAVEfmt ";
  PutLe(h, 16, 4);              // fmt chunk size
  PutLe(h, 1, 2);               // PCM
  PutLe(h, 1, 2);               // mono
  PutLe(h, sampleRate, 4);      // samples per second
  PutLe(h, sampleRate * 2, 4);  // bytes per second
  PutLe(h, 2, 2);               // block align
  PutLe(h, 16, 2);              // bits per sample
  h += "data";
  PutLe(h, dataBytes, 4);
  return h;
}

}  // namespace

std::string WavHeader(std::uint32_t sampleRate, std::uint32_t sampleCount) {
  const std::uint32_t dataBytes = sampleCount * 2;
  return Header(sampleRate, 36 + dataBytes, dataBytes);
}

std::string StreamingWavHeader(std::uint32_t sampleRate) {
  return Header(sampleRate, 0xFFFFFFFFu, 0xFFFFFFFFu);
}

bool WriteSpeechFile(const std::string& path, bool raw, std::uint32_t sampleRate,
                     const std::vector<std::int16_t>& samples, std::string& error) {
  SpeechOutput out;
  return out.Open(path, raw, sampleRate, error) &&
         out.Write(samples.data(), samples.size(), error) && out.Finish(error);
}

}  // namespace orvanel::cli
