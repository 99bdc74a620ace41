#include "prosody/stress_cache.h"

#include <cstring>

namespace orvanel::prosody {
namespace {

std::uint64_t Load(const char* at, std::size_t bytes) noexcept {
  std::uint64_t v = 0;
  std::memcpy(&v, at, bytes);
  return v;
}

std::uint64_t Hash(const std::uint64_t (&blocks)[3], std::size_t size, std::uint8_t cue) noexcept {
  std::uint64_t h = (blocks[0] * 0x9E3779B97F4A7C15ull) ^ (blocks[1] * 0xC2B2AE3D27D4EB4Full) ^
                    (blocks[2] * 0x165667B19E3779F9ull) ^ (size << 3) ^ cue;
  h ^= h >> 31;
  h *= 0xD6E8FEB86659FD93ull;
  return h ^ (h >> 32);
}

}  // namespace

bool StressCache::MakeKey(std::string_view word, std::uint8_t cue, Key& key) noexcept {
  const std::size_t size = word.size();
  if (size == 0 || size > kLongestWord) return false;
  const char* const letters = word.data();
  // With the size, the blocks tell the word. They may overlap (a shorter word's last block ends
  // at its last letter), which spares copying the word into a padded buffer.
  key.blocks[0] = key.blocks[1] = key.blocks[2] = 0;
  if (size >= 8) {
    key.blocks[0] = Load(letters, 8);
    key.blocks[1] = Load(letters + (size <= 16 ? size - 8 : 8), 8);
    if (size > 16) key.blocks[2] = Load(letters + size - 8, 8);
  } else if (size >= 4) {
    key.blocks[0] = Load(letters, 4) | Load(letters + size - 4, 4) << 32;
  } else {
    key.blocks[0] = Load(letters, size);
  }
  key.size = static_cast<std::uint8_t>(size);
  key.cue = cue;
  key.hash = Hash(key.blocks, size, cue);
  return true;
}

void StressCache::Store(const Key& key, Value value) {
  if (setMask_ == kNoTable) Resize(kSmallSlots);
  if (stored_ == kGrowAfter && Slots() < kLargeSlots) Resize(kLargeSlots);
  Place(key, value);
  ++stored_;
}

void StressCache::Place(const Key& key, Value value) {
  const std::size_t set = (key.hash & setMask_) * kWays;
  std::size_t way = 0;
  while (way < kWays && tags_[set + way] != 0) ++way;
  if (way == kWays) way = (key.hash >> 40) % kWays;  // a full set: any one of its words goes
  tags_[set + way] = Tag(key.hash);
  Slot& slot = slots_[set + way];
  std::memcpy(slot.blocks, key.blocks, sizeof slot.blocks);
  slot.size = key.size;
  slot.cue = key.cue;
  slot.value = value;
}

void StressCache::Resize(std::size_t slots) {
  const std::size_t oldSize = Slots();
  std::unique_ptr<std::uint16_t[]> oldTags = std::move(tags_);
  std::unique_ptr<Slot[]> oldSlots = std::move(slots_);
  tags_ = std::make_unique<std::uint16_t[]>(slots);  // zeros: every slot empty
  slots_ = std::make_unique_for_overwrite<Slot[]>(slots);
  setMask_ = slots / kWays - 1;
  for (std::size_t i = 0; i < oldSize; ++i) {
    if (oldTags[i] == 0) continue;
    const Slot& old = oldSlots[i];
    Key key;
    std::memcpy(key.blocks, old.blocks, sizeof key.blocks);
    key.size = old.size;
    key.cue = old.cue;
    key.hash = Hash(key.blocks, key.size, key.cue);
    Place(key, old.value);
  }
}

}  // namespace orvanel::prosody
