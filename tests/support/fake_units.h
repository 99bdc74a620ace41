// A unit inventory over sample vectors held by the test, so rendering runs without recordings.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "synth/unit_inventory.h"

namespace orvanel::test {

// Default contents, chosen so that every sample tells where it came from:
//   vowel unit v:        kVowelLength samples, sample i = 1000 x (v + 1) + i
//   back entry e:        BackLength(e) samples, every one BackMarker(e)
//   front entry e:       FrontLength(e) samples, every one FrontMarker(e)
class FakeUnits {
 public:
  static constexpr std::uint32_t kVowelLength = 194;
  static constexpr std::int16_t VowelSample(int unit, std::uint32_t i) {
    return static_cast<std::int16_t>(1000 * (unit + 1) + static_cast<int>(i));
  }
  static constexpr std::uint32_t BackLength(int entry) { return 50 + entry; }
  static constexpr std::uint32_t FrontLength(int entry) { return 150 + entry; }
  static constexpr std::int16_t BackMarker(int entry) {
    return static_cast<std::int16_t>(10000 + entry);
  }
  static constexpr std::int16_t FrontMarker(int entry) {
    return static_cast<std::int16_t>(20000 + entry);
  }

  FakeUnits();
  FakeUnits(const FakeUnits&) = delete;
  FakeUnits& operator=(const FakeUnits&) = delete;

  // Replace one unit's samples (at most 32,767 of them, so its byte size fits 16 bits).
  void SetVowel(int unit, std::vector<std::int16_t> samples);
  void SetBack(int entry, std::vector<std::int16_t> samples);
  void SetFront(int entry, std::vector<std::int16_t> samples);

  const synth::UnitInventory& Inventory() const { return inventory_; }

 private:
  static void Point(synth::UnitEntry& entry, const std::vector<std::int16_t>& samples);

  std::array<std::vector<std::int16_t>, 8> vowels_;
  std::array<std::vector<std::int16_t>, 48> back_;
  std::array<std::vector<std::int16_t>, 48> front_;
  synth::UnitInventory inventory_;
};

}  // namespace orvanel::test
