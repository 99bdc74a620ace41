#include "library/built_in_units.h"

#include "embedded/embedded_units.h"

namespace orvanel::library {

int LoadBuiltInUnits(synth::UnitInventory& units, std::string& error) {
  const embedded::EmbeddedUnitStore store;
  return synth::LoadUnits(store, units, error);
}

int LoadBuiltInVoice(BuiltInVoice& voice, std::string& error) {
  const embedded::EmbeddedUnitStore store;
  return synth::LoadUnits(store, voice.units, error) != 0 &&
                 synth::LoadVoiceData(store, voice.voice, error) != 0
             ? 1
             : 0;
}

}  // namespace orvanel::library
