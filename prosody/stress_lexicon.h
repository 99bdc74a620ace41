// The stress lexicon: the words whose stress no rule finds (with the syllable that carries it),
// and the clitics and function words that carry none, in one table looked up for every word.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orvanel::prosody::detail {

// Entry values besides a 0-based syllable.
inline constexpr int kFinalEntry = -2;   // the last syllable, as the default
inline constexpr int kCliticEntry = -3;  // no stress at all

// Lookups by string_view without building a string.
struct ViewHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept {
    return std::hash<std::string_view>{}(s);
  }
};
// Open addressing over a power-of-two table: the lexicon is looked up for every word.
class WordMap {
 public:
  using value_type = std::pair<std::string, int>;
  // FNV-1a, a letter at a time, so that the prefixes of a word are hashed in one pass.
  static constexpr std::uint64_t kHashStart = 1469598103934665603ull;
  static std::uint64_t HashStep(std::uint64_t h, char c) noexcept {
    return (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  static std::size_t HashEnd(std::uint64_t h) noexcept {
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
  static std::size_t Hash(std::string_view s) noexcept {
    std::uint64_t h = kHashStart;
    for (char c : s) h = HashStep(h, c);
    return HashEnd(h);
  }
  const value_type* find(std::string_view key) const noexcept { return find(key, Hash(key)); }
  // hash: Hash(key).
  const value_type* find(std::string_view key, std::size_t hash) const noexcept {
    if (tags_.empty()) return nullptr;
    const std::uint32_t tag = Tag(hash);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      if (tags_[i] == 0) return nullptr;
      if (tags_[i] == tag && entries_[i].first == key) return &entries_[i];
    }
  }
  const value_type* end() const noexcept { return nullptr; }
  void insert_or_assign(const std::string& key, int value) {
    if ((count_ + 1) * 2 > tags_.size()) Grow();
    Place(key, value);
  }
  void emplace(const std::string& key, int value) {
    if (find(key) == nullptr) insert_or_assign(key, value);
  }

 private:
  // A slot's tag: the hash's high bits, never 0 (0 marks an empty slot). The tags are probed
  // first, so that a miss seldom reads an entry.
  static std::uint32_t Tag(std::size_t hash) noexcept {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32) | 1u;
  }
  void Place(const std::string& key, int value) {
    const std::size_t hash = Hash(key);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      if (tags_[i] == 0) {
        tags_[i] = Tag(hash);
        entries_[i] = {key, value};
        ++count_;
        return;
      }
      if (entries_[i].first == key) {
        entries_[i].second = value;
        return;
      }
    }
  }
  void Grow() {
    std::vector<std::uint32_t> oldTags = std::move(tags_);
    std::vector<value_type> oldEntries = std::move(entries_);
    const std::size_t size = oldTags.empty() ? 1024 : oldTags.size() * 2;
    tags_.assign(size, 0);
    entries_.assign(size, value_type{});
    mask_ = size - 1;
    count_ = 0;
    for (std::size_t i = 0; i < oldTags.size(); ++i)
      if (oldTags[i] != 0) Place(oldEntries[i].first, oldEntries[i].second);
  }
  std::vector<std::uint32_t> tags_;
  std::vector<value_type> entries_;
  std::size_t mask_ = 0;
  std::size_t count_ = 0;
};
using WordSet = std::unordered_set<std::string, ViewHash, std::equal_to<>>;

// Values of Lexicon::roots.
inline constexpr int kNominalRoot = 1;  // a noun or adjective a copula often follows: genç, hazır
inline constexpr int kVerbRoot = 2;     // a verb root whose aorist takes person endings: oku, yap

struct Lexicon {
  WordMap entries;          // word -> 0-based syllable, kFinalEntry or kCliticEntry
  WordMap roots;            // root -> kNominalRoot or kVerbRoot, for the copula check
  std::size_t longest = 0;  // the longest word in entries
  // By the first two letters of a word (Pair; two pairs may share a slot), bit n for a word of
  // n letters (n < 32) among the entries, clitics included.
  std::array<std::uint32_t, 4096> lengths{};
  // By the first three letters (TripleKey), the lengths < 32 of the entries that are not
  // clitics: the prefixes of a word that may be entries, most often none.
  std::array<std::uint32_t, 4096> entryLengths{};
  std::uint32_t EntryLengths(std::string_view w) const noexcept {
    return w.size() < 3 ? 0 : entryLengths[TripleKey(w)];
  }
  // Whether w may be a word of entries: false means it certainly is not.
  bool MayHold(std::string_view w) const noexcept {
    if (w.size() > longest) return false;
    if (w.size() < 2 || w.size() >= 32) return true;
    return (lengths[Pair(w)] >> w.size() & 1) != 0;
  }
  static std::size_t Pair(std::string_view w) {
    return (static_cast<unsigned char>(w[0]) * 67u + static_cast<unsigned char>(w[1])) & 4095u;
  }
  // The first three letters of w (at least three) as a slot of 4096; two triples may share one.
  static std::size_t TripleKey(std::string_view w) noexcept {
    return (static_cast<unsigned char>(w[0]) * 4489u + static_cast<unsigned char>(w[1]) * 67u +
            static_cast<unsigned char>(w[2])) &
           4095u;
  }
};

// The lexicon's entries, and the clitics as entries that carry no stress.
const Lexicon& TheLexicon();

// Words that never carry stress: the question particle and its forms, the clitics written apart,
// the free copulas and the one-syllable function words.
const WordSet& Clitics();

// The word in lower case, through the letter tables.
std::string Lower(std::string_view word);

// Windows-1254 from the UTF-8 of a compiled-in table (always valid).
std::string FromUtf8(std::string_view s);

}  // namespace orvanel::prosody::detail
