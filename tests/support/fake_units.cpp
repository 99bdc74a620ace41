#include "tests/support/fake_units.h"

#include <cassert>
#include <utility>

namespace orvanel::test {

FakeUnits::FakeUnits() {
  for (int v = 0; v < 8; ++v) {
    std::vector<std::int16_t> samples(kVowelLength);
    for (std::uint32_t i = 0; i < kVowelLength; ++i) samples[i] = VowelSample(v, i);
    SetVowel(v, std::move(samples));
  }
  for (int e = 0; e < 48; ++e) {
    SetBack(e, std::vector<std::int16_t>(BackLength(e), BackMarker(e)));
    SetFront(e, std::vector<std::int16_t>(FrontLength(e), FrontMarker(e)));
  }
}

void FakeUnits::Point(synth::UnitEntry& entry, const std::vector<std::int16_t>& samples) {
  assert(samples.size() < 32768);
  entry.handle = reinterpret_cast<synth::UnitHandle>(samples.data());
  entry.sizeBytes = static_cast<std::uint16_t>(2 * samples.size());
}

void FakeUnits::SetVowel(int unit, std::vector<std::int16_t> samples) {
  vowels_[unit] = std::move(samples);
  Point(inventory_.vowels[unit], vowels_[unit]);
}

void FakeUnits::SetBack(int entry, std::vector<std::int16_t> samples) {
  back_[entry] = std::move(samples);
  Point(inventory_.back[entry], back_[entry]);
}

void FakeUnits::SetFront(int entry, std::vector<std::int16_t> samples) {
  front_[entry] = std::move(samples);
  Point(inventory_.front[entry], front_[entry]);
}

}  // namespace orvanel::test
