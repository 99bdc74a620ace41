// The 56 sound units built into the program, loaded into an inventory for a synthesizer.
#pragma once

#include <string>

#include "synth/unit_inventory.h"

namespace orvanel::library {

// 1, or 0 with error = "Cannot load resource NAME".
int LoadBuiltInUnits(synth::UnitInventory& units, std::string& error);

}  // namespace orvanel::library
