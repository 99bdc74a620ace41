// The 56 sound units and the voice data built into the program, loaded for a synthesizer.
#pragma once

#include <string>

#include "synth/unit_inventory.h"
#include "synth/voice_data.h"

namespace orvanel::library {

// 1, or 0 with error = "Cannot load resource NAME".
int LoadBuiltInUnits(synth::UnitInventory& units, std::string& error);

// The units and the voice data behind the rate and pitch-shift controls.
struct BuiltInVoice {
  synth::UnitInventory units;
  synth::VoiceData voice;
};
// 1, or 0 with error = "Cannot load resource NAME".
int LoadBuiltInVoice(BuiltInVoice& voice, std::string& error);

}  // namespace orvanel::library
