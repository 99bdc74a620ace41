// The generator's voice data ("VOICE" items beside the units): each vowel's response to one glottal
// cycle, and each consonant unit's part map with the glottal closures of its voiced cycles.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "synth/unit_store.h"

namespace orvanel::synth {

// One vowel's response to a single glottal cycle from rest, in 16-bit sample units with 8
// fraction bits; its periodic sum at `rotation` is the stored period.
struct VowelVoice {
  std::uint32_t rotation = 0;  // the period starts this many samples after glottal opening
  std::uint32_t peak = 0;      // the glottal closure, samples into the period
  std::vector<std::int32_t> response;
};

enum class UnitPartKind : std::int32_t { Silence = 0, Noise = 1, Voiced = 2, Kept = 3 };
struct UnitPart {
  UnitPartKind kind = UnitPartKind::Silence;
  std::uint32_t start = 0, end = 0;  // samples of the unit, [start, end)
  bool shortenable = false;
};
// The parts of one consonant unit and the glottal closures of its voiced cycles.
struct ConsonantVoice {
  std::vector<UnitPart> parts;
  std::vector<std::uint32_t> pulses;
};

// The generated voice data, in the entry order of the UnitInventory.
struct VoiceData {
  std::array<VowelVoice, 8> vowels{};
  std::array<ConsonantVoice, 48> back{};
  std::array<ConsonantVoice, 48> front{};
};

// Reads the "VOICE" item of every unit. Returns 1, or 0 with error = "Cannot load resource NAME"
// at the first missing or malformed item.
int LoadVoiceData(const UnitStore& store, VoiceData& data, std::string& error);

}  // namespace orvanel::synth
