#include "synth/voice_data.h"

#include <span>
#include <string_view>

#include "frontend/letter_tables.h"
#include "frontend/unit_names.h"
#include "synth/unit_inventory.h"
#include "synth/voice_controls.h"

namespace orvanel::synth {

namespace {

constexpr std::int32_t kVowelTag = 1;
constexpr std::int32_t kConsonantTag = 2;
constexpr std::int32_t kMaxResponse = 6000;         // samples of a vowel's cycle response
constexpr std::int32_t kFullScaleQ8 = 32768 * 256;  // a response sample at full scale

// Reads little-endian 32-bit words; false when the item is too short.
class WordReader {
 public:
  explicit WordReader(std::span<const unsigned char> bytes) : bytes_(bytes) {}
  bool Next(std::int32_t& w) {
    if (pos_ + 4 > bytes_.size()) return false;
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= std::uint32_t{bytes_[pos_ + k]} << (8 * k);
    w = static_cast<std::int32_t>(u);
    pos_ += 4;
    return true;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  std::span<const unsigned char> bytes_;
  std::size_t pos_ = 0;
};

bool ParseVowel(std::span<const unsigned char> bytes, VowelVoice& v) {
  WordReader r(bytes);
  std::int32_t tag = 0, rotation = 0, peak = 0, length = 0;
  if (!r.Next(tag) || tag != kVowelTag || !r.Next(rotation) || !r.Next(peak) || !r.Next(length))
    return false;
  if (rotation < 0 || rotation >= static_cast<std::int32_t>(kBasePeriod) || peak < 0 ||
      peak >= static_cast<std::int32_t>(kBasePeriod) || length <= 0 || length > kMaxResponse)
    return false;
  v.rotation = static_cast<std::uint32_t>(rotation);
  v.peak = static_cast<std::uint32_t>(peak);
  v.response.resize(static_cast<std::size_t>(length));
  for (std::int32_t& x : v.response) {
    if (!r.Next(x) || x < -kFullScaleQ8 || x > kFullScaleQ8) return false;
  }
  return r.AtEnd();
}

bool ParseConsonant(std::span<const unsigned char> bytes, std::uint32_t unitLength,
                    ConsonantVoice& c) {
  WordReader r(bytes);
  std::int32_t tag = 0, count = 0;
  if (!r.Next(tag) || tag != kConsonantTag || !r.Next(count) || count < 0 || count > 4096)
    return false;
  c.parts.clear();
  std::uint32_t expected = 0;  // parts cover the unit in order, without gaps
  for (std::int32_t k = 0; k < count; ++k) {
    std::int32_t kind = 0, start = 0, end = 0, shortenable = 0;
    if (!r.Next(kind) || !r.Next(start) || !r.Next(end) || !r.Next(shortenable)) return false;
    if (kind < 0 || kind > 3 || start != static_cast<std::int32_t>(expected) || end <= start)
      return false;
    c.parts.push_back({static_cast<UnitPartKind>(kind), static_cast<std::uint32_t>(start),
                       static_cast<std::uint32_t>(end), shortenable != 0});
    expected = static_cast<std::uint32_t>(end);
  }
  if (expected != unitLength) return false;
  std::int32_t pulses = 0;
  if (!r.Next(pulses) || pulses < 0 || pulses > 4096) return false;
  c.pulses.clear();
  for (std::int32_t k = 0; k < pulses; ++k) {
    std::int32_t q = 0;
    if (!r.Next(q) || q < 0 || static_cast<std::uint32_t>(q) >= unitLength) return false;
    if (!c.pulses.empty() && static_cast<std::uint32_t>(q) <= c.pulses.back()) return false;
    c.pulses.push_back(static_cast<std::uint32_t>(q));
  }
  return r.AtEnd();
}

bool Fail(std::string& error, std::string_view name) {
  constexpr std::string_view format = kCannotLoadResource;
  error.assign(format.substr(0, format.size() - 2));
  error += name;
  return false;
}

bool LoadConsonants(const UnitStore& store,
                    const std::array<std::string_view, frontend::kConsonantSlotCount>& baseNames,
                    std::array<ConsonantVoice, 48>& out, std::string& error) {
  for (int slot = 0; slot < frontend::kConsonantSlotCount; ++slot) {
    const std::string base(baseNames[slot]);
    const bool pair = !base.empty() && base.back() == '_';
    for (int part = 0; part < 2; ++part) {
      const std::string name = pair ? base + (part == 0 ? "PRE" : "POST") : base;
      std::uint16_t size = 0;
      if (LoadUnit(store, name, size) == nullptr) return Fail(error, name);
      if (!ParseConsonant(store.Find(kVoiceType, name), size / 2u, out[2 * slot + part]))
        return Fail(error, name);
    }
  }
  return true;
}

}  // namespace

int LoadVoiceData(const UnitStore& store, VoiceData& data, std::string& error) {
  for (int v = 0; v < frontend::kVowelUnitCount; ++v) {
    const std::string_view name = frontend::VowelUnitNames[v];
    if (!ParseVowel(store.Find(kVoiceType, name), data.vowels[v])) {
      Fail(error, name);
      return 0;
    }
  }
  if (!LoadConsonants(store, frontend::BackConsonantUnitNames, data.back, error)) return 0;
  if (!LoadConsonants(store, frontend::FrontConsonantUnitNames, data.front, error)) return 0;
  return 1;
}

}  // namespace orvanel::synth
