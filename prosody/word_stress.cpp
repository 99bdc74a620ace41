#include "prosody/word_stress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "prosody/stress_letters.h"
#include "prosody/stress_lexicon.h"

namespace orvanel::prosody {

using namespace detail;

namespace {

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

}  // namespace orvanel::prosody
