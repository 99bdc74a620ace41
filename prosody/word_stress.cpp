#include "prosody/word_stress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "codepage/codepage.h"
#include "frontend/letter_tables.h"
#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/text_to_phonetic.h"
#include "frontend/word_transcription.h"

namespace orvanel::prosody {
namespace detail {
extern const char kStressLexiconText[];
extern const std::size_t kStressLexiconSize;
}  // namespace detail

namespace {

// Lower-case Windows-1254 letters used below.
constexpr char kDotlessI = '\xFD';  // ı
constexpr char kUUml = '\xFC';      // ü
constexpr char kSoftG = '\xF0';     // ğ
constexpr char kRightQuote = '\x92';

// The letter tables' lookups, once per byte value: the detectors ask them for every letter.
// The letter classes of the suffix patterns (see MatchChar), one bit each.
enum : std::uint8_t {
  kClassA = 1,   // a, e
  kClassI = 2,   // ı, i, u, ü
  kClassC = 4,   // a consonant
  kClassV = 8,   // a vowel
  kClassD = 16,  // d, t
  kClassK = 32,  // k, ğ
  kClassM = 64,  // m, y: where the negative, progressive and copula patterns start
};
struct LetterClass {
  std::array<std::int8_t, 256> vowel{};      // VowelIndex or -1
  std::array<std::int8_t, 256> consonant{};  // ConsonantIndex or -1
  std::array<char, 256> lower{};
  std::array<std::uint8_t, 256> classes{};  // kClass bits of a lower-case letter
  LetterClass() {
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const auto i = static_cast<std::size_t>(b);
      vowel[i] = static_cast<std::int8_t>(frontend::VowelLookup(c));
      consonant[i] = static_cast<std::int8_t>(frontend::ConsonantLookup(c));
      lower[i] = frontend::ToLowerLetter(c);
      std::uint8_t bits = 0;
      if (c == 'a' || c == 'e') bits |= kClassA;
      if (c == kDotlessI || c == 'i' || c == 'u' || c == kUUml) bits |= kClassI;
      if (consonant[i] >= 0) bits |= kClassC;
      if (vowel[i] >= 0) bits |= kClassV;
      if (c == 'd' || c == 't') bits |= kClassD;
      if (c == 'k' || c == kSoftG) bits |= kClassK;
      if (c == 'm' || c == 'y') bits |= kClassM;
      classes[i] = bits;
    }
  }
};
const LetterClass kLetters;

int VowelOf(char c) { return kLetters.vowel[static_cast<unsigned char>(c)]; }
int ConsonantOf(char c) { return kLetters.consonant[static_cast<unsigned char>(c)]; }
bool IsVowel(char c) { return VowelOf(c) >= 0; }
bool IsConsonant(char c) { return ConsonantOf(c) >= 0; }
bool IsLowerConsonant(char c) {
  const int k = ConsonantOf(c);
  return k >= 0 && (k & 1) == 1;
}
bool IsUpperLetter(char c) {
  const int v = VowelOf(c);
  if (v >= 0) return (v & 1) == 0;
  const int k = ConsonantOf(c);
  return k >= 0 && (k & 1) == 0;
}
int VowelUnit(char c) { return VowelOf(c) / 2; }

// One character of a suffix pattern: A = a/e, I = ı/i/u/ü, C = consonant, V = vowel, D = d/t,
// K = k/ğ; anything else stands for itself.
constexpr std::array<std::uint8_t, 256> kPatternClasses = [] {
  std::array<std::uint8_t, 256> t{};
  t['A'] = kClassA;
  t['I'] = kClassI;
  t['C'] = kClassC;
  t['V'] = kClassV;
  t['D'] = kClassD;
  t['K'] = kClassK;
  return t;
}();
inline bool MatchChar(char p, char c) {
  const std::uint8_t wanted = kPatternClasses[static_cast<unsigned char>(p)];
  if (wanted != 0) return (kLetters.classes[static_cast<unsigned char>(c)] & wanted) != 0;
  return p == c;
}

bool MatchAt(std::string_view w, std::size_t pos, std::string_view pattern) {
  if (pos + pattern.size() > w.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (!MatchChar(pattern[i], w[pos + i])) return false;
  }
  return true;
}
bool EndsWith(std::string_view w, std::string_view pattern) {
  return w.size() >= pattern.size() && MatchAt(w, w.size() - pattern.size(), pattern);
}

// A set of letter positions of a word (at most 256 letters).
struct Positions {
  std::array<std::uint64_t, 4> bits;  // the first `used` are set
  std::size_t used = 0;
  // f(p) for every position p >= from, in increasing order.
  template <class F>
  void ForEachFrom(std::size_t from, F f) const {
    for (std::size_t k = from >> 6; k < used; ++k) {
      std::uint64_t b = bits[k];
      if (k == from >> 6) b &= ~std::uint64_t{0} << (from & 63);
      while (b != 0) {
        f(k * 64 + static_cast<std::size_t>(std::countr_zero(b)));
        b &= b - 1;
      }
    }
  }
};

// What the rules read of a word, in one pass over its letters: the lower-case letters, the
// vowel letters before each position (so the syllable of a vowel at p is before[p]), the hash
// of every prefix, and where the patterns of Detect can start.
struct Syllables {
  char lower[256];
  std::array<int, 257> before;          // filled up to the word's length by Count
  std::array<std::size_t, 257> prefix;  // prefix[n]: WordMap::Hash of the first n letters
  Positions my;                         // m and y
  Positions tense;                      // m, y, a and e: -mIş, -yor, -AcAk, -mAz
  int count = 0;
  // Reads word (at most 256 letters) and returns it in lower case.
  std::string_view Count(std::string_view word);
};

std::string Lower(std::string_view word) {
  std::string w(word);
  for (char& c : w) c = kLetters.lower[static_cast<unsigned char>(c)];
  return w;
}

// Windows-1254 from the lexicon's UTF-8 (compiled in, so always valid).
std::string FromUtf8(std::string_view s) {
  std::string out;
  codepage::DecodeError error;
  codepage::Utf8ToCp1254(s, out, error);
  return out;
}

constexpr int kFinalEntry = -2;
constexpr int kCliticEntry = -3;

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

std::string_view Syllables::Count(std::string_view word) {
  const std::size_t n = std::min<std::size_t>(word.size(), 256);
  int k = 0;
  std::uint64_t h = WordMap::kHashStart;
  for (std::size_t base = 0; base < n; base += 64) {
    std::uint64_t myBits = 0, tenseBits = 0;
    const std::size_t end = std::min<std::size_t>(n, base + 64);
    for (std::size_t i = base; i < end; ++i) {
      const char c = kLetters.lower[static_cast<unsigned char>(word[i])];
      const std::uint8_t classes = kLetters.classes[static_cast<unsigned char>(c)];
      lower[i] = c;
      before[i] = k;
      k += (classes & kClassV) != 0 ? 1 : 0;
      h = WordMap::HashStep(h, c);
      prefix[i + 1] = WordMap::HashEnd(h);
      myBits |= std::uint64_t{(classes & kClassM) != 0} << (i - base);
      tenseBits |= std::uint64_t{(classes & (kClassM | kClassA)) != 0} << (i - base);
    }
    my.bits[base >> 6] = myBits;
    tense.bits[base >> 6] = tenseBits;
  }
  before[n] = k;
  count = k;
  my.used = tense.used = (n + 63) >> 6;
  return {lower, n};
}

struct Lexicon {
  WordMap entries;          // word -> 0-based syllable, kFinalEntry or kCliticEntry
  std::size_t longest = 0;  // the longest word in entries
  // By the first two letters of a word (Pair; two pairs may share a slot), the lengths < 32
  // that words of entries with those letters have: bit n of the low half for an entry of n
  // letters that is not a clitic, of the high half for any word of entries. One load tells both.
  std::array<std::uint64_t, 4096> lengths{};
  std::uint32_t EntryLengths(std::string_view w) const noexcept {
    return static_cast<std::uint32_t>(lengths[Pair(w)]);
  }
  // Whether w may be a word of entries: false means it certainly is not.
  bool MayHold(std::string_view w) const noexcept {
    if (w.size() > longest) return false;
    if (w.size() < 2 || w.size() >= 32) return true;
    return (lengths[Pair(w)] >> 32 & (std::uint64_t{1} << w.size())) != 0;
  }
  static std::size_t Pair(std::string_view w) {
    return (static_cast<unsigned char>(w[0]) * 67u + static_cast<unsigned char>(w[1])) & 4095u;
  }
};

const WordSet& Clitics();

// The lexicon's entries, and the clitics as entries that carry no stress.
const Lexicon& TheLexicon() {
  static const Lexicon lexicon = [] {
    Lexicon l;
    std::string_view text(detail::kStressLexiconText, detail::kStressLexiconSize);
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      if (line.empty() || line[0] == '#') continue;
      const std::size_t space = line.rfind(' ');
      if (space == std::string_view::npos || space + 1 >= line.size()) continue;
      const std::string word = Lower(FromUtf8(line.substr(0, space)));
      const std::string_view value = line.substr(space + 1);
      const int index = value == "F" ? kFinalEntry : std::atoi(std::string(value).c_str()) - 1;
      l.entries.emplace(word, index);
      l.longest = std::max(l.longest, word.size());
      if (word.size() >= 2 && word.size() < 32)
        l.lengths[Lexicon::Pair(word)] |= (std::uint64_t{1} << word.size()) * 0x100000001ull;
    }
    for (const std::string& clitic : Clitics()) {
      l.entries.insert_or_assign(clitic, kCliticEntry);
      l.longest = std::max(l.longest, clitic.size());
      if (clitic.size() >= 2 && clitic.size() < 32)
        l.lengths[Lexicon::Pair(clitic)] |= std::uint64_t{1} << (32 + clitic.size());
    }
    return l;
  }();
  return lexicon;
}

// Words that never carry stress: the question particle and its forms, the clitics written apart,
// the free copulas and the one-syllable function words.
const WordSet& Clitics() {
  static const WordSet set = [] {
    WordSet s;
    for (const char* w :
         {"de",        "da",         "ki",        "ya",    "ile",  "ve",     "veya",
          "bile",      "bir",        "bu",        "\xFEu", "o",    "idi",    "imi\xFE",
          "ise",       "iken",       "idim",      "idin",  "idik", "idiniz", "idiler",
          "imi\xFEim", "imi\xFEsin", "imi\xFEiz", "isem",  "isen", "isek",   "iseniz"}) {
      s.insert(w);
    }
    for (const char* tail : {"", "im", "sin", "iz", "siniz", "ler", "di", "dir", "se", "ken", "dim",
                             "din", "dik", "mi\xFE"}) {
      s.insert(std::string("de\xF0il") + tail);
    }
    for (char v : {kDotlessI, 'i', 'u', kUUml}) {
      const std::string I(1, v);
      for (std::string tail :
           {std::string(), "y" + I + "m", "s" + I + "n", "y" + I + "z", "s" + I + "n" + I + "z",
            "yd" + I, "yd" + I + "m", "yd" + I + "n", "yd" + I + "k", "yd" + I + "n" + I + "z",
            "ym" + I + "\xFE", "d" + I + "r", std::string("yken")}) {
        s.insert("m" + I + tail);
      }
    }
    return s;
  }();
  return set;
}

bool IsSuffixOnset(std::string_view rest) {
  static constexpr std::string_view kOnsets[] = {"lAr",   "DA",  "nIn", "In",    "yA", "yI",
                                                 "sI",    "ylA", "ki",  "k\xFC", "lI", "cI",
                                                 "\xE7I", "DIr", "m",   "n",     "I",  "A"};
  for (std::string_view p : kOnsets) {
    if (MatchAt(rest, 0, p)) return true;
  }
  return false;
}

struct Candidate {
  int syllable = -1;
  StressRule rule = StressRule::kFinal;
};

void Offer(Candidate& best, int syllable, StressRule rule) {
  if (syllable < 0) return;
  if (best.syllable < 0 || syllable < best.syllable) best = {syllable, rule};
}

// The suffix detectors; only matches that start at or after `from` count.
void Detect(std::string_view w, const Syllables& s, std::size_t from, Candidate& best) {
  const std::size_t n = w.size();
  auto before = [&](std::size_t p) { return s.before[p] - 1; };  // syllable before position p
  auto own = [&](std::size_t p) { return s.before[p]; };         // first vowel at or after p
  s.my.ForEachFrom(std::max<std::size_t>(from, 1), [&](std::size_t p) {
    const char c = w[p];
    // Negative -mA before a tense, mood or nominal ending; -mI before -yor.
    if (w[p] == 'm' && s.before[p] > 0 && MatchAt(w, p, "mA")) {
      const std::size_t q = p + 2;
      static constexpr std::string_view kAfter[] = {"dI",  "yAcA", "mI\xFE", "sA",
                                                    "mAk", "mAlI", "mAsI"};
      bool hit = false;
      for (std::string_view a : kAfter) hit = hit || MatchAt(w, q, a);
      if (!hit && q + 3 == n)
        hit = MatchAt(w, q, "sIn") || MatchAt(w, q, "yIn") || MatchAt(w, q, "dAn");
      if (hit) Offer(best, before(p), StressRule::kNegative);
    }
    if (w[p] == 'm' && s.before[p] > 0 && MatchAt(w, p, "mIyor")) {
      Offer(best, before(p), StressRule::kNegative);
    }
    // -(I)yor: its own first vowel.
    if (c == 'y' && p >= 2 && MatchAt(w, p, "yor") && MatchChar('I', w[p - 1]) &&
        IsConsonant(w[p - 2]) && p - 1 >= from)
      Offer(best, own(p - 1), StressRule::kProgressive);
    // Copula after a vowel-final word of two syllables or more.
    if (w[p] == 'y' && IsVowel(w[p - 1]) && s.before[p] >= 2) {
      const bool copula = MatchAt(w, p, "ydI") || MatchAt(w, p, "ymI\xFE") ||
                          MatchAt(w, p, "ysA") ||
                          (p + 3 == n && (MatchAt(w, p, "yIm") || MatchAt(w, p, "yIz")));
      if (copula && n - p <= 8) Offer(best, before(p), StressRule::kCopula);
    }
  });
  // Copula and person endings after the tense markers -mIş, -AcAk, -mAz, -yor; the ending
  // (at most 9 letters with what follows it) starts at most 4 letters after the marker.
  s.tense.ForEachFrom(std::max<std::size_t>({from, 1, n > 13 ? n - 13 : 0}), [&](std::size_t p) {
    std::size_t q = 0;  // the markers begin with different letters
    if (w[p] == 'm') {
      if (MatchAt(w, p, "mI\xFE") || MatchAt(w, p, "mAz")) q = p + 3;
    } else if (w[p] == 'y') {
      if (MatchAt(w, p, "yor")) q = p + 3;
    } else if (MatchAt(w, p, "AcAK")) {
      q = p + 4;
    }
    if (q == 0 || q >= n) return;
    static constexpr std::string_view kEndings[] = {"DI",  "mI\xFE", "sA",  "Im",
                                                    "sIn", "Iz",     "DIr", "sInIz"};
    for (std::string_view e : kEndings) {
      if (MatchAt(w, q, e) && n - q <= e.size() + 4) {
        Offer(best, s.before[q] - 1, StressRule::kCopula);
        break;
      }
    }
  });
  auto tail = [&](std::string_view pattern) -> std::size_t {
    if (!EndsWith(w, pattern)) return std::string_view::npos;
    const std::size_t p = n - pattern.size();
    return p >= from ? p : std::string_view::npos;
  };
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t p;
  // The word-final suffixes, by their last letter.
  switch (w[n - 1]) {
    case 'k':
      if ((p = tail("ArAk")) != npos && p > 0) Offer(best, own(p), StressRule::kAdverbialSuffix);
      break;
    case 'n':
      if ((p = tail("mAksIzIn")) != npos && p > 0)
        Offer(best, own(p), StressRule::kAdverbialSuffix);
      if ((p = tail("Cken")) != npos && s.before[p] >= 1)
        Offer(best, s.before[p + 1] - 1, StressRule::kPreStressing);
      if ((p = tail("leyin")) != npos && s.before[p] >= 1)
        Offer(best, before(p), StressRule::kPreStressing);
      break;
    case 'a':
    case 'e':
      if ((p = tail("CIncA")) != npos && p > 0) Offer(best, own(p), StressRule::kAdverbialSuffix);
      if ((p = tail("CsAnA")) != npos && p > 0)
        Offer(best, own(p + 1), StressRule::kAdverbialSuffix);
      // The aorist before -sA: gelírse.
      if ((p = tail("VrsA")) != npos && s.count >= 3) Offer(best, own(p), StressRule::kCopula);
      if ((p = tail("ylA")) != npos && s.before[p] >= 1)
        Offer(best, before(p), StressRule::kPreStressing);
      if ((p = tail("ClA")) != npos && s.before[p + 1] >= 2)
        Offer(best, s.before[p + 1] - 1, StressRule::kPreStressing);
      if ((p = tail("lArcA")) != npos && s.before[p] >= 1)
        Offer(best, own(p), StressRule::kPreStressing);
      break;
    case 'r':
      if ((p = tail("DIr")) != npos && s.before[p] >= 1)
        Offer(best, before(p), StressRule::kGeneralizing);
      break;
    case 'i':
      if ((p = tail("DAki")) != npos || (p = tail("nInki")) != npos || (p = tail("Imki")) != npos) {
        if (s.before[p] >= 1 || w[p] == 'd' || w[p] == 't') {
          Offer(best, s.before[n - 2] - 1, StressRule::kRelativeKi);
        }
      }
      break;
    default:
      break;
  }
}

// Antepenultimate when it is closed and the penultimate open, else the penultimate; two
// syllables or fewer: the first.
int Sezer(std::string_view stem) {
  std::array<std::size_t, 64> vowels;  // the first k are set
  int k = 0;
  for (std::size_t i = 0; i < stem.size() && k < 64; ++i) {
    if (IsVowel(stem[i])) vowels[static_cast<std::size_t>(k++)] = i;
  }
  if (k <= 2) return 0;
  auto gap = [&](int a) {
    return vowels[static_cast<std::size_t>(a + 1)] - vowels[static_cast<std::size_t>(a)] - 1;
  };
  const bool closedAntepenult = gap(k - 3) >= 2;
  const bool openPenult = gap(k - 2) <= 1;
  return closedAntepenult && openPenult ? k - 3 : k - 2;
}

}  // namespace

bool IsQuestionParticle(std::string_view w) {
  return w.size() >= 2 && w[0] == 'm' && MatchChar('I', w[1]) &&
         Clitics().count(std::string(w)) != 0;
}

bool IsQuestionWord(std::string_view w) {
  if (w == "ne" || w == "neyi" || w == "neye" || w == "neyin" || w == "neden" || w == "nedir" ||
      w == "niye" || w == "ni\xE7in" || w == "nas\xFDl" || w == "neyle" || w == "nesi")
    return true;
  if (w.substr(0, 4) == "nere" || w.substr(0, 5) == "hangi" || w.substr(0, 3) == "ka\xE7")
    return true;
  return w.substr(0, 3) == "kim" && w.substr(0, 5) != "kimse";
}

std::string_view StressRuleName(StressRule rule) {
  static constexpr std::string_view kNames[kStressRuleCount] = {
      "unstressed",   "final",       "monosyllable",
      "lexicon",      "proper name", "reduplication",
      "negative -mA", "-(I)yor",     "-ArAk/-IncA/-mAksIzIn/-sAnA",
      "copula",       "-DIr",        "-ken/-lA/-lArcA/-leyin",
      "-ki"};
  const int i = static_cast<int>(rule);
  return i >= 0 && i < kStressRuleCount ? kNames[i] : "?";
}

WordStress StressOf(std::string_view word, bool properName) {
  Syllables s;
  const std::string_view w = s.Count(word);  // lower case, at most 256 letters
  const Lexicon& lexicon = TheLexicon();
  if (s.count == 0) return {-1, StressRule::kNone};
  const WordMap::value_type* whole =
      lexicon.MayHold(w) ? lexicon.entries.find(w, s.prefix[w.size()]) : nullptr;
  if (s.count == 1) {
    if (whole != nullptr && whole->second == kCliticEntry) return {-1, StressRule::kNone};
    return {0, StressRule::kMonosyllable};
  }

  if (const auto it = whole; it != lexicon.entries.end()) {
    if (it->second == kCliticEntry) return {-1, StressRule::kNone};
    const int index = it->second == kFinalEntry ? s.count - 1 : std::min(it->second, s.count - 1);
    return {index, it->second == kFinalEntry ? StressRule::kFinal : StressRule::kLexicon};
  }
  Candidate best;
  std::size_t from = 0;
  // The longest entry that the word begins with, when the rest starts like a suffix.
  // Lengths 2 .. min(longest, size - 1) that some entry with these first letters has.
  const std::size_t maxLength = std::min<std::size_t>({lexicon.longest, w.size() - 1, 31});
  std::uint32_t lengths = lexicon.EntryLengths(w) & ~std::uint32_t{3};
  if (maxLength < 31) lengths &= (std::uint32_t{1} << (maxLength + 1)) - 1;
  while (lengths != 0) {
    const std::size_t len = 31 - static_cast<std::size_t>(std::countl_zero(lengths));
    lengths &= ~(std::uint32_t{1} << len);
    const auto it = lexicon.entries.find(w.substr(0, len), s.prefix[len]);
    if (it == lexicon.entries.end() || it->second == kCliticEntry ||
        !IsSuffixOnset(std::string_view(w).substr(len)))
      continue;
    // A root that is final-stressed passes the stress on to its suffixes, as any word does.
    const int stemLast = s.before[len] - 1;
    if (it->second != kFinalEntry)
      Offer(best, std::min(it->second, stemLast), StressRule::kLexicon);
    from = len;
    break;
  }
  if (best.syllable < 0 && properName) {
    std::string_view stem = w;
    if (EndsWith(stem, "stan")) {
      Offer(best, s.count - 1, StressRule::kProperName);
    } else {
      // A derived -lI / -lIk form of a name keeps the name's stress: Ankaralı, İstanbullu.
      std::size_t cut = 0;
      if (EndsWith(stem, "lI")) cut = 2;
      if (EndsWith(stem, "lIk")) cut = 3;
      if (cut != 0 && s.before[w.size() - cut] >= 2) stem = stem.substr(0, w.size() - cut);
      Offer(best, Sezer(stem), StressRule::kProperName);
    }
  }
  if (best.syllable < 0 && w.size() >= 5) {
    // The closing consonant of the prefix is p, m or s (r is too often a root: durdu, birbiri;
    // tertemiz is in the lexicon).
    const bool cv = IsConsonant(w[0]) && IsVowel(w[1]) &&
                    (w[2] == 'p' || w[2] == 'm' || w[2] == 's') && w[3] == w[0] && w[4] == w[1];
    const bool vp = IsVowel(w[0]) && w[1] == 'p' && w[2] == w[0];
    if (cv || vp) Offer(best, 0, StressRule::kReduplication);
  }
  if (best.syllable != 0) Detect(w, s, from, best);  // nothing can come before the first
  if (best.syllable < 0) return {s.count - 1, StressRule::kFinal};
  if (best.syllable == s.count - 1 && best.rule != StressRule::kLexicon &&
      best.rule != StressRule::kProperName) {
    best.rule = StressRule::kFinal;
  }
  return {best.syllable, best.rule};
}

std::size_t StressMarkOffset(std::string_view t, int syllable) {
  int k = -1;
  std::size_t i = 0;
  const std::size_t n = t.size();
  for (; i < n; ++i) {
    // A vowel counts unless it is the copy that a soft g leaves (followed by the glide mark).
    const char next = i + 1 < n ? t[i + 1] : '\0';
    k += static_cast<int>(IsVowel(t[i]) & (next != frontend::kLateGlideMark));
    if (k == syllable) break;
  }
  if (k != syllable || i >= t.size()) return std::string_view::npos;
  const int unit = VowelUnit(t[i]);
  std::size_t end = i + 1;
  while (end < t.size()) {
    const char c = t[end];
    if (c == frontend::kLateGlideMark) {
      ++end;
    } else if (IsVowel(c)) {
      const bool copy = end + 1 < t.size() && t[end + 1] == frontend::kLateGlideMark;
      // A mark between two letters of one long vowel would split it: put it after both.
      if (!copy && VowelUnit(c) != unit) break;
      ++end;
    } else if (c == frontend::kFrontMark && end + 1 < t.size() && IsLowerConsonant(t[end + 1])) {
      end += 2;
    } else if (IsLowerConsonant(c)) {
      ++end;
    } else {
      break;
    }
  }
  return end;
}

void StressTranscriber::AppendRun(const frontend::Run& piece, std::string& out) {
  using frontend::RunKind;
  const std::string_view run = piece.text;
  const std::string_view rest = piece.rest;
  switch (piece.kind) {
    case RunKind::kSymbols: {
      frontend::AppendSymbols(run, out);
      afterApostrophe_ = lastWasWord_ && (run == "'" || run == std::string_view(&kRightQuote, 1));
      for (const char c : run) {  // (find_first_of would search the set once per character)
        if (c == '.' || c == '!' || c == '?' || c == ':' || c == ';' || c == '\n') {
          sentenceStart_ = true;
          break;
        }
      }
      lastWasWord_ = false;
      return;
    }
    case RunKind::kWord: {
      const std::size_t start = out.size();
      if (afterApostrophe_ || !marks_) {  // the suffixes of a name: the name keeps the stress
        frontend::AppendTranscribedWord(run, scratch_, out);
      } else {
        const bool apostrophe = rest.size() >= 2 && (rest[0] == '\'' || rest[0] == kRightQuote) &&
                                frontend::ClassifyChar(rest[1]) == frontend::CharClass::kLetter;
        // A capital inside a sentence marks a name; a word all in capitals (a heading, an
        // abbreviation) does not.
        const bool capital = !run.empty() && IsUpperLetter(run[0]) && !sentenceStart_ &&
                             !std::all_of(run.begin(), run.end(), IsUpperLetter);
        const bool properName = apostrophe || capital;
        // The word's slot in the memo is fetched while the word is transcribed.
        StressCache::Key key;
        const bool keep = StressCache::MakeKey(run, properName, key);
        if (keep) Memo().Prefetch(key);
        frontend::AppendTranscribedWord(run, scratch_, out);
        const std::size_t at =
            MarkOffset(run, properName, keep ? &key : nullptr, std::string_view(out).substr(start));
        if (at != std::string::npos) {
          // Shift the few letters after the mark by hand: a word is short.
          out.push_back(frontend::kStressMark);
          char* const word = out.data() + start;
          const std::size_t size = out.size() - start;
          for (std::size_t i = size - 1; i > at; --i) word[i] = word[i - 1];
          word[at] = frontend::kStressMark;
        }
      }
      afterApostrophe_ = false;
      lastWasWord_ = true;
      sentenceStart_ = false;
      return;
    }
    case RunKind::kNumber: {
      word_.clear();
      frontend::AppendNumber(run, word_);
      afterApostrophe_ = false;
      lastWasWord_ = false;
      sentenceStart_ = false;
      if (!marks_ || word_.find(frontend::kStressMark) != std::string::npos) {
        out.append(word_);  // a number with a scale word already carries its marks
        return;
      }
      // The first numeral of the number carries the phrase's stress on its last syllable.
      std::size_t best = 0;
      auto consider = [&](std::string_view name) {
        if (!name.empty() && name.size() > best &&
            std::string_view(word_).substr(0, name.size()) == name)
          best = name.size();
      };
      for (std::string_view name : frontend::OnesNames) consider(name);
      for (std::string_view name : frontend::TensNames) consider(name);
      consider(frontend::kHundredWord);
      out.append(word_, 0, best);
      if (best != 0) out.push_back(frontend::kStressMark);
      out.append(word_, best, std::string::npos);
      return;
    }
    case RunKind::kSingleLetter:
      frontend::AppendSpelledLetter(run, out);
      afterApostrophe_ = false;
      lastWasWord_ = false;
      return;
    case RunKind::kLiteral:
      out.append(run);
      afterApostrophe_ = false;
      lastWasWord_ = false;
      return;
  }
}

std::size_t StressTranscriber::MarkOffset(std::string_view word, bool properName,
                                          const StressCache::Key* key,
                                          std::string_view transcription) {
  constexpr std::size_t npos = std::string_view::npos;
  if (key != nullptr) {
    if (const StressCache::Value* known = Memo().Find(*key)) {
      ++counts_[known->rule];
      return known->mark == StressCache::kNoMark ? npos : known->mark;
    }
  }
  const WordStress stress = StressOf(word, properName);
  ++counts_[static_cast<int>(stress.rule)];
  const std::size_t at =
      stress.syllable >= 0 ? StressMarkOffset(transcription, stress.syllable) : npos;
  // A mark further in than a byte can say is not kept (no Turkish word comes near it).
  if (key != nullptr && (at == npos || at < StressCache::kNoMark)) {
    Memo().Store(*key, {static_cast<std::int8_t>(stress.rule),
                        at == npos ? StressCache::kNoMark : static_cast<std::uint8_t>(at)});
  }
  return at;
}

void TextToPhoneticWithStress(std::string& text, std::string& out) {
  StressTranscriber transcriber;
  frontend::ForEachRun(text, [&](const frontend::Run& run) { transcriber.AppendRun(run, out); });
}

}  // namespace orvanel::prosody
