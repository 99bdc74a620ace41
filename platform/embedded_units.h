// The unit recordings built into the executable, found by type "WAVE" and name without copying.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "synth/unit_store.h"

namespace orvanel::platform {

namespace detail {
struct EmbeddedUnit {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};
// Sorted by name, ended by an entry with a null name.
extern const EmbeddedUnit kEmbeddedUnits[];
extern const std::size_t kEmbeddedUnitCount;
}  // namespace detail

class EmbeddedUnitStore final : public synth::UnitStore {
 public:
  std::span<const unsigned char> Find(std::string_view type, std::string_view name) const override;
  // Every embedded unit, in name order.
  static std::span<const detail::EmbeddedUnit> All();
};

}  // namespace orvanel::platform
