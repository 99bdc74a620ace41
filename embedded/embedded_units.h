// The unit recordings built into the executable, found by type "WAVE" and name without copying,
// and the voice data made from the same units, under type "VOICE".
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "synth/unit_store.h"

namespace orvanel::embedded {

namespace detail {
struct EmbeddedUnit {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};
// Sorted by name, ended by an entry with a null name.
extern const EmbeddedUnit kEmbeddedUnits[];
extern const std::size_t kEmbeddedUnitCount;
// The voice data, one item per unit name, in the same form.
extern const EmbeddedUnit kEmbeddedVoice[];
extern const std::size_t kEmbeddedVoiceCount;
}  // namespace detail

class EmbeddedUnitStore final : public synth::UnitStore {
 public:
  std::span<const unsigned char> Find(std::string_view type, std::string_view name) const override;
  // Every embedded unit, in name order.
  static std::span<const detail::EmbeddedUnit> All();
  // Every embedded voice data item, in name order.
  static std::span<const detail::EmbeddedUnit> AllVoice();
};

}  // namespace orvanel::embedded
