// orvanel-unitgen OUTDIR: synthesises the 56 sound units into OUTDIR, one raw file per unit
// (16-bit signed little-endian mono PCM at 22050 Hz, no header), named after the unit.
// orvanel-unitgen --voice OUTDIR: writes the voice data of the same units into OUTDIR, one file
// per unit, of 32-bit signed little-endian words:
//   vowel:     1, rotation, peak, length, then length response samples (16-bit scale, Q8);
//   consonant: 2, part count, then per part kind, start, end, shortenable (0 or 1), then pulse
//              count and the pulses (glottal closures, unit samples).
//   Part kinds: 0 silence, 1 noise, 2 voiced, 3 kept.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/unitgen/dsp.h"
#include "tools/unitgen/sounds.h"
#include "tools/unitgen/synthesis.h"
#include "tools/unitgen/unit_plan.h"

namespace {

using orvanel::unitgen::Signal;

bool WriteUnit(const std::filesystem::path& dir, std::string_view name, const Signal& s) {
  std::string bytes;
  bytes.reserve(2 * s.size());
  double peak = 0.0, sum = 0.0;
  for (double x : s) {
    const double scaled = std::round(x * 32768.0);
    const int v = static_cast<int>(scaled < -32768.0  ? -32768.0
                                   : scaled > 32767.0 ? 32767.0
                                                      : scaled);
    const auto u = static_cast<unsigned>(v) & 0xffffu;
    bytes.push_back(static_cast<char>(u & 0xffu));
    bytes.push_back(static_cast<char>(u >> 8));
    peak = std::max(peak, std::abs(x));
    sum += x * x;
  }
  std::ofstream out(dir / std::string(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) return false;
  std::printf("%-9s %5zu samples  rms %6.1f dBFS  peak %6.1f dBFS\n", std::string(name).c_str(),
              s.size(), orvanel::unitgen::LinearToDb(std::sqrt(sum / s.size())),
              orvanel::unitgen::LinearToDb(peak));
  return true;
}

bool WriteWords(const std::filesystem::path& dir, std::string_view name,
                const std::vector<std::int32_t>& words) {
  std::string bytes;
  bytes.reserve(4 * words.size());
  for (std::int32_t w : words) {
    const auto u = static_cast<std::uint32_t>(w);
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((u >> (8 * k)) & 0xffu));
  }
  std::ofstream out(dir / std::string(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteVoice(const std::filesystem::path& dir) {
  namespace ug = orvanel::unitgen;
  for (int v = 0; v < 8; ++v) {
    const ug::VowelResponse r = ug::VowelCycleResponse(v);
    std::vector<std::int32_t> words = {1, r.rotation, r.peak,
                                       static_cast<std::int32_t>(r.response.size())};
    for (double x : r.response) {
      words.push_back(static_cast<std::int32_t>(std::lround(x * 32768.0 * 256.0)));
    }
    if (!WriteWords(dir, ug::Vowels()[v].unit, words)) return false;
    std::printf("%-9s response %4zu samples  rotation %d  peak %d\n",
                std::string(ug::Vowels()[v].unit).c_str(), r.response.size(), r.rotation, r.peak);
  }
  for (const ug::ConsonantUnit& unit : ug::ConsonantUnits()) {
    const ug::PartMap map = ug::MapParts(ug::PlanConsonant(unit, ug::CatalogueSamples(unit.name)));
    std::vector<std::int32_t> words = {2, static_cast<std::int32_t>(map.parts.size())};
    for (const ug::UnitPart& p : map.parts) {
      words.insert(words.end(),
                   {static_cast<std::int32_t>(p.kind), p.start, p.end, p.shortenable ? 1 : 0});
    }
    words.push_back(static_cast<std::int32_t>(map.pulses.size()));
    words.insert(words.end(), map.pulses.begin(), map.pulses.end());
    if (!WriteWords(dir, unit.name, words)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace ug = orvanel::unitgen;
  const bool voice = argc == 3 && std::string_view(argv[1]) == "--voice";
  if (argc != 2 && !voice) {
    std::fprintf(stderr, "usage: orvanel-unitgen [--voice] OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[voice ? 2 : 1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
    return 1;
  }
  if (voice) {
    if (WriteVoice(dir)) return 0;
    std::fprintf(stderr, "cannot write the voice data into %s\n", dir.c_str());
    return 1;
  }
  for (int v = 0; v < 8; ++v) {
    if (!WriteUnit(dir, ug::Vowels()[v].unit, ug::VowelPeriod(v))) return 1;
  }
  for (const ug::ConsonantUnit& unit : ug::ConsonantUnits()) {
    const int samples = ug::CatalogueSamples(unit.name);
    const Signal s = ug::Synthesise(ug::PlanConsonant(unit, samples), unit.name);
    if (!WriteUnit(dir, unit.name, s)) {
      std::fprintf(stderr, "cannot write %s\n", std::string(unit.name).c_str());
      return 1;
    }
  }
  return 0;
}
