#include "library/built_in_units.h"

#include "platform/embedded_units.h"

namespace orvanel::library {

int LoadBuiltInUnits(synth::UnitInventory& units, std::string& error) {
  const platform::EmbeddedUnitStore store;
  return synth::LoadUnits(store, units, error);
}

}  // namespace orvanel::library
