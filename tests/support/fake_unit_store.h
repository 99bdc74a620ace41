// A unit store for tests: the 56 unit names, each with a short synthetic recording, with the means
// to take a name away or make its recording malformed.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "synth/unit_store.h"

namespace orvanel::test {

class FakeUnitStore final : public synth::UnitStore {
 public:
  // Vowel periods of vowelSamples samples, consonant sounds of consonantSamples samples.
  explicit FakeUnitStore(std::size_t vowelSamples = 100, std::size_t consonantSamples = 200);

  std::span<const unsigned char> Find(std::string_view type, std::string_view name) const override;

  // Every unit name, in the order the inventory loads them (duplicates dropped).
  static std::vector<std::string> AllNames();

  void Remove(std::string_view name);
  // Gives the unit an odd byte count, which no loader accepts.
  void MakeMalformed(std::string_view name);
  std::size_t Size() const { return units_.size(); }

 private:
  std::map<std::string, std::vector<unsigned char>, std::less<>> units_;
};

}  // namespace orvanel::test
