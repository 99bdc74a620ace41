// Where the unit recordings live: a lookup by type ("WAVE", "VOICE") and name that yields the bytes
// without copying. The program's store is embedded in the executable; tests supply their own.
#pragma once

#include <span>
#include <string_view>

namespace orvanel::synth {

inline constexpr std::string_view kUnitType = "WAVE";
// The voice data made with the units: vowel cycle responses and consonant part maps.
inline constexpr std::string_view kVoiceType = "VOICE";

class UnitStore {
 public:
  virtual ~UnitStore() = default;
  // The item's bytes, or an empty span when there is no item of that type and name.
  virtual std::span<const unsigned char> Find(std::string_view type,
                                              std::string_view name) const = 0;
};

}  // namespace orvanel::synth
