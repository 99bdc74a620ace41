// orvanel-pitch-stats: pitch-track figures of 16-bit mono WAV files (any sample rate), for the
// prosody note: voiced stretches of 40 ms or more, the share whose pitch spans less than 0.3
// semitones, the largest step between neighbouring voiced frames, the peak and the final fall
// (semitones re 113.66 Hz). The track is tests/prosody/pitch_track.h's.
// Usage: orvanel-pitch-stats [--track] FILE.wav...
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/prosody/pitch_track.h"

namespace {

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(b[at + k]);
  return v;
}

// The samples and rate of a RIFF WAVE file of 16-bit mono PCM; false when it is none. A data
// chunk whose size says 0 or more than the file holds (a stream's header) runs to the file's end.
bool ReadWav(const char* path, std::vector<std::int16_t>& pcm, double& rate) {
  std::ifstream in(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
  bool format = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id = b.substr(at, 4);
    std::size_t size = Le(b, at + 4, 4);
    if (id == "fmt " && at + 24 <= b.size()) {
      format = Le(b, at + 8, 2) == 1 && Le(b, at + 10, 2) == 1 && Le(b, at + 22, 2) == 16;
      rate = Le(b, at + 12, 4);
    } else if (id == "data") {
      if (size == 0 || at + 8 + size > b.size()) size = b.size() - at - 8;
      pcm.resize(size / 2);
      std::memcpy(pcm.data(), b.data() + at + 8, pcm.size() * 2);
      return format && rate > 0;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvanel::prosody::testing;
  bool track = false;
  int status = 0;
  std::printf("file\tstretches\tflat\tflat_share\tlargest_step_st\tpeak_st\tfinal_fall_st\n");
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--track") == 0) {
      track = true;
      continue;
    }
    std::vector<std::int16_t> pcm;
    double rate = 0;
    if (!ReadWav(argv[a], pcm, rate)) {
      std::fprintf(stderr, "%s: not a 16-bit mono WAV file\n", argv[a]);
      status = 1;
      continue;
    }
    const std::vector<double> t = PitchTrack(pcm.data(), pcm.size(), rate);
    const TrackStats s = StatsOf(t);
    std::printf("%s\t%d\t%d\t%.1f%%\t%.2f\t%.2f\t%.2f\n", argv[a], s.stretches, s.flatStretches,
                100.0 * s.FlatShare(), s.largestStep, s.peak, s.finalFall);
    if (track) {
      for (std::size_t f = 0; f < t.size(); ++f)
        if (!std::isnan(t[f])) std::printf("  %6.0f ms %+6.2f st\n", f * kFrameMs, t[f]);
    }
  }
  return status;
}
