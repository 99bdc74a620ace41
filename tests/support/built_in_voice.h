// Test helper: the built-in units and voice data, loaded once per test program.
#pragma once

#include <string>

#include "embedded/embedded_units.h"
#include "synth/unit_inventory.h"
#include "synth/voice_data.h"

namespace orvanel::test {

struct BuiltInVoice {
  synth::UnitInventory units;
  synth::VoiceData data;
  bool ok = false;  // every unit and its voice data loaded
};

inline const BuiltInVoice& LoadedVoice() {
  static const BuiltInVoice loaded = [] {
    BuiltInVoice v;
    const embedded::EmbeddedUnitStore store;
    std::string error;
    v.ok = synth::LoadUnits(store, v.units, error) == 1 &&
           synth::LoadVoiceData(store, v.data, error) == 1;
    return v;
  }();
  return loaded;
}

}  // namespace orvanel::test
