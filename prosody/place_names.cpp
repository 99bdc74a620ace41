#include "prosody/place_names.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "prosody/stress_letters.h"

namespace orvanel::prosody::detail {

// The gazetteer as a plain table (prosody/place_names.txt), embedded at build time.
extern const char kPlaceNamesText[];
extern const std::size_t kPlaceNamesSize;

const PlaceNames& ThePlaceNames() {
  static const PlaceNames places = [] {
    PlaceNames p;
    std::string_view text(kPlaceNamesText, kPlaceNamesSize);
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      line = line.substr(0, line.find('#'));
      // "Name N" or "Name N *"
      const std::size_t space = line.find(' ');
      if (space == std::string_view::npos || space == 0) continue;
      const std::string name = Lower(FromUtf8(line.substr(0, space)));
      std::string_view rest = line.substr(space + 1);
      const int syllable = std::atoi(std::string(rest).c_str()) - 1;
      if (syllable < 0) continue;
      int value = syllable;
      if (rest.find('*') != std::string_view::npos) value |= PlaceNames::kCommonWord;
      if (rest.find('+') != std::string_view::npos) value |= PlaceNames::kCommonWithSuffix;
      p.entries.insert_or_assign(name, value);
      p.longest = std::max(p.longest, name.size());
      if (name.size() >= 3 && name.size() < 32)
        p.lengths[Lexicon::TripleKey(name)] |= std::uint32_t{1} << name.size();
    }
    return p;
  }();
  return places;
}

namespace {

bool IsBackVowel(char v) { return v == 'a' || v == kDotlessI || v == 'o' || v == 'u'; }
bool IsRoundVowel(char v) { return v == 'o' || v == '\xF6' || v == 'u' || v == kUUml; }

// What the next suffix agrees with: the last letter and the last vowel so far.
struct Tail {
  char letter;
  char vowel;
};

// Where a suffix may stand: after anything, only after a vowel, only after a consonant.
enum Need : std::uint8_t { kAny, kAfterVowel, kAfterConsonant };

// The states of the chain, in the order the suffixes come.
enum State : std::uint8_t {
  kStart,
  kDerived,     // after -lI
  kPlural,      // after -lAr
  kCase,        // after a case
  kCaseKi,      // after the locative or genitive, where -ki may follow
  kKi,          // after -ki
  kKiPlural,    // after -ki and -lAr
  kCopula,      // after -(y)DI or -(y)sA: the person endings m, n, k, nIz, lAr
  kEvidential,  // after -(y)mIş: the person endings Im, sIn, Iz, sInIz, lAr
  kGeneral,     // after -DIr: -lAr
  kEnd,
};

struct Suffix {
  std::string_view pattern;  // A, I: vowels in harmony; D: d/t; other letters as they are
  Need need;
  State next;
};

// Matches pattern at r[p...] after tail; advances p and tail. lenient: the first vowel of the
// chain may be of either harmony class (it is cleared once a vowel was read).
bool Take(std::string_view r, std::size_t& p, const Suffix& s, Tail& tail, bool& lenient) {
  const bool vowelBefore = IsVowel(tail.letter);
  if ((s.need == kAfterVowel && !vowelBefore) || (s.need == kAfterConsonant && vowelBefore))
    return false;
  if (p + s.pattern.size() > r.size()) return false;
  Tail t = tail;
  bool free = lenient;
  for (std::size_t i = 0; i < s.pattern.size(); ++i) {
    const char c = r[p + i];
    const char want = s.pattern[i];
    if (want == 'A' || want == 'I') {
      if (!MatchChar(want, c)) return false;
      if (!free) {
        const bool back = IsBackVowel(t.vowel);
        const char a = back ? 'a' : 'e';
        const char ii = back ? (IsRoundVowel(t.vowel) ? 'u' : kDotlessI)
                             : (IsRoundVowel(t.vowel) ? kUUml : 'i');
        if (c != (want == 'A' ? a : ii)) return false;
      }
      free = false;
      t.vowel = c;
    } else if (want == 'D') {
      if (c != (IsVoiceless(t.letter) ? 't' : 'd')) return false;
    } else if (c != want) {
      return false;
    } else if (IsVowel(c)) {
      free = false;
      t.vowel = c;
    }
    t.letter = c;
  }
  p += s.pattern.size();
  tail = t;
  lenient = free;
  return true;
}

// The suffixes that may follow in each state.
constexpr Suffix kCases[] = {
    {"yA", kAfterVowel, kCase},    {"A", kAfterConsonant, kCase},
    {"yI", kAfterVowel, kCase},    {"I", kAfterConsonant, kCase},
    {"DAn", kAny, kCase},          {"DA", kAny, kCaseKi},
    {"nIn", kAfterVowel, kCaseKi}, {"In", kAfterConsonant, kCaseKi},
    {"ylA", kAfterVowel, kCase},   {"lA", kAfterConsonant, kCase},
};
constexpr Suffix kCopulas[] = {
    {"ydI", kAfterVowel, kCopula},
    {"DI", kAfterConsonant, kCopula},
    {"ysA", kAfterVowel, kCopula},
    {"sA", kAfterConsonant, kCopula},
    {"ymI\xFE", kAfterVowel, kEvidential},
    {"mI\xFE", kAfterConsonant, kEvidential},
    {"DIr", kAny, kGeneral},
    {"yken", kAfterVowel, kEnd},
    {"ken", kAfterConsonant, kEnd},
    {"yIm", kAfterVowel, kEnd},
    {"Im", kAfterConsonant, kEnd},
    {"sInIz", kAny, kEnd},
    {"sIn", kAny, kEnd},
    {"yIz", kAfterVowel, kEnd},
    {"Iz", kAfterConsonant, kEnd},
};
constexpr Suffix kAfterKi[] = {
    {"lAr", kAny, kKiPlural}, {"nI", kAny, kCase},  {"nA", kAny, kCase},  {"nDAn", kAny, kCase},
    {"nDA", kAny, kCase},     {"nIn", kAny, kCase}, {"ylA", kAny, kCase},
};
constexpr Suffix kPersonAfterCopula[] = {
    {"nIz", kAny, kEnd}, {"lAr", kAny, kEnd}, {"m", kAny, kEnd},
    {"n", kAny, kEnd},   {"k", kAny, kEnd},
};
constexpr Suffix kPersonAfterEvidential[] = {
    {"sInIz", kAny, kEnd}, {"sIn", kAny, kEnd}, {"Im", kAny, kEnd},
    {"Iz", kAny, kEnd},    {"lAr", kAny, kEnd},
};
constexpr Suffix kDerivedSuffix[] = {{"lI", kAny, kDerived}};
constexpr Suffix kPluralSuffix[] = {{"lAr", kAny, kPlural}};
constexpr Suffix kKiSuffix[] = {{"ki", kAny, kKi}};

template <std::size_t N>
bool TryEach(std::string_view r, std::size_t p, const Suffix (&set)[N], Tail tail, bool lenient);

bool Chain(std::string_view r, std::size_t p, State state, Tail tail, bool lenient) {
  if (p == r.size()) return state != kStart;
  switch (state) {
    case kStart:
      return TryEach(r, p, kDerivedSuffix, tail, lenient) ||
             TryEach(r, p, kPluralSuffix, tail, lenient) || TryEach(r, p, kCases, tail, lenient) ||
             TryEach(r, p, kCopulas, tail, lenient);
    case kDerived:
      return TryEach(r, p, kPluralSuffix, tail, lenient) || TryEach(r, p, kCases, tail, lenient) ||
             TryEach(r, p, kCopulas, tail, lenient);
    case kPlural:
    case kKiPlural:
      return TryEach(r, p, kCases, tail, lenient) || TryEach(r, p, kCopulas, tail, lenient);
    case kCaseKi:
      return TryEach(r, p, kKiSuffix, tail, lenient) || TryEach(r, p, kCopulas, tail, lenient);
    case kCase:
      return TryEach(r, p, kCopulas, tail, lenient);
    case kKi:
      return TryEach(r, p, kAfterKi, tail, lenient) || TryEach(r, p, kCopulas, tail, lenient);
    case kCopula:
      return TryEach(r, p, kPersonAfterCopula, tail, lenient);
    case kEvidential:
      return TryEach(r, p, kPersonAfterEvidential, tail, lenient);
    case kGeneral:
      return TryEach(r, p, kPluralSuffix, tail, lenient);
    case kEnd:
      return false;
  }
  return false;
}

template <std::size_t N>
bool TryEach(std::string_view r, std::size_t p, const Suffix (&set)[N], Tail tail, bool lenient) {
  for (const Suffix& s : set) {
    std::size_t q = p;
    Tail t = tail;
    bool l = lenient;
    if (Take(r, q, s, t, l) && Chain(r, q, s.next, t, l)) return true;
  }
  return false;
}

}  // namespace

bool IsNameSuffixChain(std::string_view stem, std::string_view rest, bool lenient) {
  if (stem.empty() || rest.empty()) return false;
  Tail tail{stem.back(), '\0'};
  for (std::size_t i = stem.size(); i-- > 0;) {
    if (IsVowel(stem[i])) {
      tail.vowel = stem[i];
      break;
    }
  }
  if (tail.vowel == '\0') return false;
  return Chain(rest, 0, kStart, tail, lenient);
}

std::size_t JoinedNameStem(std::string_view word) {
  bool vowel = false;
  for (std::size_t length = 1; length < word.size(); ++length) {
    vowel = vowel || IsVowel(word[length - 1]);
    if (vowel && IsNameSuffixChain(word.substr(0, length), word.substr(length), true))
      return length;
  }
  return word.size();
}

}  // namespace orvanel::prosody::detail
