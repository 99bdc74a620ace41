#include "synth/unit_inventory.h"

#include <bit>
#include <cstdint>

#include "frontend/letter_tables.h"
#include "frontend/unit_names.h"

namespace orvanel::synth {

static_assert(std::endian::native == std::endian::little,
              "units are little-endian PCM read in place");

const std::int16_t* LockUnit(UnitHandle handle) noexcept {
  if (handle == nullptr) return nullptr;
  if (reinterpret_cast<std::uintptr_t>(handle) % alignof(std::int16_t) != 0) return nullptr;
  return reinterpret_cast<const std::int16_t*>(handle);
}

UnitHandle LoadUnit(const UnitStore& store, std::string_view name, std::uint16_t& size) {
  const auto bytes = store.Find(kUnitType, name);
  // A unit is a whole number of samples, at least one, and its size fits 16 bits.
  if (bytes.empty() || bytes.size() % 2 != 0 || bytes.size() >= 65536) return nullptr;
  size = static_cast<std::uint16_t>(bytes.size());
  return bytes.data();
}

namespace {

bool LoadInto(const UnitStore& store, const std::string& name, UnitEntry& entry,
              std::string& error) {
  UnitHandle handle = LoadUnit(store, name, entry.sizeBytes);
  if (handle == nullptr) {
    constexpr std::string_view format = kCannotLoadResource;
    static_assert(format.ends_with("%s"));
    error.assign(format.substr(0, format.size() - 2));
    error += name;
    return false;
  }
  entry.handle = handle;
  return true;
}

bool LoadConsonantSet(const UnitStore& store,
                      const std::array<std::string_view, frontend::kConsonantSlotCount>& baseNames,
                      std::array<UnitEntry, 48>& entries, std::string& error) {
  for (int slot = 0; slot < frontend::kConsonantSlotCount; ++slot) {
    const std::string base(baseNames[slot]);
    const bool pair = !base.empty() && base.back() == '_';
    const std::string onset = pair ? base + "PRE" : base;
    const std::string coda = pair ? base + "POST" : base;
    if (!LoadInto(store, onset, entries[2 * slot], error)) return false;
    if (!LoadInto(store, coda, entries[2 * slot + 1], error)) return false;
  }
  return true;
}

}  // namespace

int LoadUnits(const UnitStore& store, UnitInventory& inventory, std::string& error) {
  for (int v = 0; v < frontend::kVowelUnitCount; ++v) {
    if (!LoadInto(store, std::string(frontend::VowelUnitNames[v]), inventory.vowels[v], error))
      return 0;
  }
  if (!LoadConsonantSet(store, frontend::BackConsonantUnitNames, inventory.back, error)) return 0;
  if (!LoadConsonantSet(store, frontend::FrontConsonantUnitNames, inventory.front, error)) return 0;
  return 1;
}

}  // namespace orvanel::synth
