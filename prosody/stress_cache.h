// A memo of the stress analyses of one text. Running text repeats most of its words (in a long
// text nine tokens in ten are words met before), so the transcriber looks a word up here before
// it analyses it. Results depend only on the typed word and its name cue (NameCue, a byte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace orvanel::prosody {

class StressCache {
 public:
  static constexpr std::size_t kLongestWord = 24;  // longer words are not kept
  static constexpr std::uint8_t kNoMark = 0xFF;

  // What is kept of a word: its StressRule and where its mark went in its transcription
  // (kNoMark: none).
  struct Value {
    std::int8_t rule = 0;
    std::uint8_t mark = kNoMark;
  };

  // A word made ready for Find and Store: its letters as three 8-byte blocks and its hash.
  struct Key {
    std::uint64_t blocks[3] = {};
    std::uint64_t hash = 0;
    std::uint8_t size = 0;
    std::uint8_t cue = 0;
  };
  // False for a word of more than kLongestWord letters (or none). cue: the word's NameCue.
  static bool MakeKey(std::string_view word, std::uint8_t cue, Key& key) noexcept;

  // The value stored for key, or nullptr. The pointer is valid until the next Store.
  const Value* Find(const Key& key) const noexcept {
    if (setMask_ == kNoTable) return nullptr;
    const std::size_t set = (key.hash & setMask_) * kWays;
    const std::uint16_t tag = Tag(key.hash);
    for (std::size_t way = 0; way < kWays; ++way) {
      if (tags_[set + way] == tag && Same(slots_[set + way], key)) return &slots_[set + way].value;
    }
    return nullptr;
  }
  // Starts fetching key's set from memory, so that a Find a little later does not wait for it.
  void Prefetch(const Key& key) const noexcept {
    if (setMask_ == kNoTable) return;
    const std::size_t set = (key.hash & setMask_) * kWays;
    __builtin_prefetch(&tags_[set]);
    __builtin_prefetch(&slots_[set]);
    __builtin_prefetch(&slots_[set + kWays - 1]);
  }
  // Keeps value for key, in place of an older word when the key's set is full.
  void Store(const Key& key, Value value);

  // Slots of the table now: none before the first Store, then a small table, and a large one
  // once the text has shown kGrowAfter different words.
  std::size_t Slots() const noexcept { return setMask_ == kNoTable ? 0 : (setMask_ + 1) * kWays; }
  static constexpr std::size_t kSmallSlots = 1024;
  static constexpr std::size_t kLargeSlots = 32768;
  static constexpr std::size_t kGrowAfter = 512;

 private:
  static constexpr std::size_t kWays = 4;
  struct Slot {
    std::uint64_t blocks[3];
    std::uint8_t size;
    std::uint8_t cue;
    Value value;
  };
  static std::uint16_t Tag(std::uint64_t hash) noexcept {
    return static_cast<std::uint16_t>((hash >> 48) | 1u);
  }
  static bool Same(const Slot& slot, const Key& key) noexcept {
    return slot.blocks[0] == key.blocks[0] && slot.blocks[1] == key.blocks[1] &&
           slot.blocks[2] == key.blocks[2] && slot.size == key.size && slot.cue == key.cue;
  }
  void Resize(std::size_t slots);
  void Place(const Key& key, Value value);

  // Sets of kWays slots. A slot's tag is 16 bits of its word's hash, 0 for an empty slot: a
  // word not seen before is told by the tags alone, which stay in the processor's cache.
  static constexpr std::size_t kNoTable = ~std::size_t{0};
  std::unique_ptr<std::uint16_t[]> tags_;
  std::unique_ptr<Slot[]> slots_;
  std::size_t setMask_ = kNoTable;  // sets - 1
  std::size_t stored_ = 0;
};

}  // namespace orvanel::prosody
