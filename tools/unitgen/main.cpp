// orvanel-unitgen OUTDIR: synthesises the 56 sound units into OUTDIR, one raw file per unit
// (16-bit signed little-endian mono PCM at 22050 Hz, no header), named after the unit.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
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

}  // namespace

int main(int argc, char** argv) {
  namespace ug = orvanel::unitgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvanel-unitgen OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "cannot create %s: %s\n", argv[1], ec.message().c_str());
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
