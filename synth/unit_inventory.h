// The loaded sound units: 8 vowel periods and the back and front consonant sets (48 entries each,
// entry 2 x slot + part, part 0 = onset, 1 = coda). Filled once by LoadUnits, read-only afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "synth/unit_store.h"

namespace orvanel::synth {

inline constexpr char kCannotLoadResource[] = "Cannot load resource %s";

// A handle to a unit's bytes (16-bit little-endian mono PCM at 22050 samples per second).
using UnitHandle = const unsigned char*;

struct UnitEntry {
  UnitHandle handle = nullptr;
  std::uint16_t sizeBytes = 0;  // always even; samples = sizeBytes / 2

  std::uint32_t LengthSamples() const { return sizeBytes / 2u; }
};

struct UnitInventory {
  std::array<UnitEntry, 8> vowels{};
  std::array<UnitEntry, 48> back{};
  std::array<UnitEntry, 48> front{};
};

// The samples behind a handle, or nullptr when they cannot be obtained (no handle, misaligned).
const std::int16_t* LockUnit(UnitHandle handle) noexcept;

// Finds the "WAVE" item name in the store. On success writes its byte size and returns the handle;
// returns nullptr and leaves size unchanged when it is missing or malformed (size 0, odd, or
// 65,536 bytes or more).
UnitHandle LoadUnit(const UnitStore& store, std::string_view name, std::uint16_t& size);

// Loads the 104 entries in their fixed order: 8 vowels, back slots 0..23 (onset, coda), front
// slots 0..23. Returns 1, or 0 with error = "Cannot load resource NAME" at the first failure;
// entries loaded before the failure stay filled.
int LoadUnits(const UnitStore& store, UnitInventory& inventory, std::string& error);

}  // namespace orvanel::synth
