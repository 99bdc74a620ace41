#include "tests/support/fake_unit_store.h"

#include <algorithm>
#include <cstdint>

#include "frontend/unit_names.h"

namespace orvanel::test {

namespace {

void AddConsonantNames(std::span<const std::string_view> bases, std::vector<std::string>& names) {
  for (std::string_view base : bases) {
    if (!base.empty() && base.back() == '_') {
      names.push_back(std::string(base) + "PRE");
      names.push_back(std::string(base) + "POST");
    } else {
      names.emplace_back(base);
    }
  }
}

// A deterministic little-endian signal that differs from unit to unit.
std::vector<unsigned char> SyntheticRecording(std::size_t samples, std::size_t seed) {
  std::vector<unsigned char> bytes(2 * samples);
  for (std::size_t i = 0; i < samples; ++i) {
    const auto phase = static_cast<std::int32_t>((i * (seed + 3)) % 64) - 32;
    const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(phase * 512));
    bytes[2 * i] = static_cast<unsigned char>(value & 0xff);
    bytes[2 * i + 1] = static_cast<unsigned char>(value >> 8);
  }
  return bytes;
}

}  // namespace

std::vector<std::string> FakeUnitStore::AllNames() {
  std::vector<std::string> names(frontend::VowelUnitNames.begin(), frontend::VowelUnitNames.end());
  AddConsonantNames(frontend::BackConsonantUnitNames, names);
  AddConsonantNames(frontend::FrontConsonantUnitNames, names);
  std::vector<std::string> unique;
  for (const auto& name : names) {
    if (std::find(unique.begin(), unique.end(), name) == unique.end()) unique.push_back(name);
  }
  return unique;
}

FakeUnitStore::FakeUnitStore(std::size_t vowelSamples, std::size_t consonantSamples) {
  const auto names = AllNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool vowel = i < frontend::VowelUnitNames.size();
    units_[names[i]] = SyntheticRecording(vowel ? vowelSamples : consonantSamples, i);
  }
}

std::span<const unsigned char> FakeUnitStore::Find(std::string_view type,
                                                   std::string_view name) const {
  if (type != synth::kUnitType) return {};
  const auto it = units_.find(name);
  if (it == units_.end()) return {};
  return it->second;
}

void FakeUnitStore::Remove(std::string_view name) {
  const auto it = units_.find(name);
  if (it != units_.end()) units_.erase(it);
}

void FakeUnitStore::MakeMalformed(std::string_view name) {
  const auto it = units_.find(name);
  if (it != units_.end()) it->second.push_back(0);
}

}  // namespace orvanel::test
