#include "embedded/embedded_units.h"

#include <algorithm>

namespace orvanel::embedded {

std::span<const detail::EmbeddedUnit> EmbeddedUnitStore::All() {
  return {detail::kEmbeddedUnits, detail::kEmbeddedUnitCount};
}

std::span<const detail::EmbeddedUnit> EmbeddedUnitStore::AllVoice() {
  return {detail::kEmbeddedVoice, detail::kEmbeddedVoiceCount};
}

std::span<const unsigned char> EmbeddedUnitStore::Find(std::string_view type,
                                                       std::string_view name) const {
  std::span<const detail::EmbeddedUnit> all;
  if (type == synth::kUnitType) {
    all = All();
  } else if (type == synth::kVoiceType) {
    all = AllVoice();
  } else {
    return {};
  }
  const auto it = std::lower_bound(all.begin(), all.end(), name,
                                   [](const detail::EmbeddedUnit& u, std::string_view n) {
                                     return std::string_view(u.name) < n;
                                   });
  if (it == all.end() || std::string_view(it->name) != name) return {};
  return {it->data, it->size};
}

}  // namespace orvanel::embedded
