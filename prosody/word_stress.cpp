#include "prosody/word_stress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <iterator>
#include <string>

#include "prosody/place_names.h"
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

// Whether a suffix's first letter d/t (or c/ç) at position p agrees with the letter before it:
// t and ç after a voiceless consonant, d and c after anything else.
bool VoicingAgrees(std::string_view w, std::size_t p) {
  if (p == 0) return false;
  const bool voiceless = w[p] == 't' || w[p] == '\xE7';
  return voiceless == IsVoiceless(w[p - 1]);
}

// Whether w continues after its first len letters (a lexicon entry) like a suffix. The copulas
// too: a root of the lexicon is a noun, an adjective or an adverb (kadardı); after a vowel they
// begin with y (taksitini is no taksi with -DI).
bool IsSuffixOnset(std::string_view w, std::size_t len) {
  static constexpr std::string_view kOnsets[] = {
      "lAr", "DA",    "nIn", "In",  "yA",  "yI",      "sI", "ylA", "ki", "k\xFC", "lI",
      "cI",  "\xE7I", "DIr", "ydI", "ysA", "ymI\xFE", "m",  "n",   "I",  "A"};
  const std::string_view rest = w.substr(len);
  for (std::string_view p : kOnsets) {
    if (MatchAt(rest, 0, p)) return true;
  }
  if (!IsConsonant(w[len - 1])) return false;
  return (MatchAt(rest, 0, "DI") && VoicingAgrees(w, len)) || MatchAt(rest, 0, "sA");
}

struct Candidate {
  int syllable = -1;
  StressRule rule = StressRule::kFinal;
};

void Offer(Candidate& best, int syllable, StressRule rule) {
  if (syllable < 0) return;
  if (best.syllable < 0 || syllable < best.syllable) best = {syllable, rule};
}

// The part of a word before an ending, with what Syllables knows of it.
struct Stem {
  std::string_view letters;
  std::size_t hash;  // WordMap::Hash(letters)
  int vowels;
};
Stem StemOf(std::string_view w, const Syllables& s, std::size_t length) {
  return {w.substr(0, length), s.prefix[length], s.before[length]};
}

// A root of the lexicon's lists (kNominalRoot, kVerbRoot), or 0. A consonant that softens
// before a vowel is also looked up hard: genc-im -> genç, ed-er -> et.
int RootKind(std::string_view root, std::size_t hash) {
  const WordMap& roots = TheLexicon().roots;
  if (root.empty()) return 0;
  if (const auto* it = roots.find(root, hash)) return it->second;
  static constexpr char kSoft[] = {'c', '\xF0', 'b', 'd'};
  static constexpr char kHard[] = {'\xE7', 'k', 'p', 't'};
  char hard[32];
  if (root.size() > sizeof hard) return 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (root.back() != kSoft[i]) continue;
    std::copy(root.begin(), root.end(), hard);
    hard[root.size() - 1] = kHard[i];
    if (const auto* it = roots.find(std::string_view(hard, root.size()))) return it->second;
  }
  return 0;
}
int RootKind(std::string_view root) { return RootKind(root, WordMap::Hash(root)); }

// The verbs of one syllable whose aorist is -Ir (all others of one syllable take -Ar).
bool TakesIrAorist(std::string_view root) {
  static constexpr std::string_view kRoots[] = {"al", "bil",   "bul", "dur", "gel", "g\xF6r", "kal",
                                                "ol", "\xF6l", "san", "var", "ver", "vur"};
  for (std::string_view r : kRoots)
    if (root == r) return true;
  return false;
}

// Whether stem ends in an aorist: a listed verb root with -r (oku-r, iste-r) or -Ar (yap-ar,
// ed-er), a verb of the thirteen with -Ir (gel-ir), the abilitative -(y)Abil-Ir (yapabil-ir),
// a compound with etmek (bahsed-er), or -Ir after a longer verb stem (düşün-ür, anlatıl-ır).
bool EndsInAorist(std::string_view stem) {
  const std::size_t n = stem.size();
  if (n < 3 || stem[n - 1] != 'r' || !IsVowel(stem[n - 2])) return false;
  if (RootKind(stem.substr(0, n - 1)) == kVerbRoot) return true;
  const std::string_view root = stem.substr(0, n - 2);
  if (!IsConsonant(root.back())) return false;
  if (MatchChar('A', stem[n - 2])) {
    return RootKind(root) == kVerbRoot || (root.size() >= 3 && EndsWith(root, "ed"));
  }
  if (TakesIrAorist(root)) return true;
  if (root.size() >= 4 && EndsWith(root, "Abil")) return true;
  // A longer verb stem ends in the l, n or ş of a derivation after its vowel (düşün-, anlatıl-,
  // çalış-, davran-); arabirim is no arab-ır-ım.
  int vowels = 0;
  for (const char c : root) vowels += IsVowel(c) ? 1 : 0;
  const char last = root.back();
  return vowels >= 2 && (last == 'l' || last == 'n' || last == '\xFE') &&
         IsVowel(root[root.size() - 2]);
}

// Whether a stem that ends in a consonant is a noun or an adjective by what is known of it: an
// ending that only nominals have (the infinitive -mAk, -sIz, -lIk, and the plural -lAr where
// plural says it counts), a nominal root of the lexicon, an entry of the lexicon or the
// gazetteer.
bool IsNominalStem(const Stem& stem, bool plural) {
  const std::string_view w = stem.letters;
  if (stem.vowels >= 2 && (EndsWith(w, "mAk") || EndsWith(w, "sIz") || EndsWith(w, "lIk") ||
                           (plural && EndsWith(w, "lAr"))))
    return true;
  if (RootKind(w, stem.hash) == kNominalRoot) return true;
  const Lexicon& lexicon = TheLexicon();
  if (lexicon.MayHold(w)) {
    const auto* e = lexicon.entries.find(w, stem.hash);
    if (e != nullptr && e->second != kCliticEntry) return true;
  }
  const PlaceNames& places = ThePlaceNames();
  return w.size() < 32 && (places.NameLengths(w) >> w.size() & 1) != 0 &&
         places.entries.find(w, stem.hash) != nullptr;
}

// The same for a stem that ends in a vowel, before -sIn and -sInIz (hastasın, haklısın,
// evdesin; not the imperative of okusun).
bool IsNominalVowelStem(const Stem& stem) {
  const std::string_view w = stem.letters;
  if (stem.vowels >= 2) {
    const std::size_t n = w.size();
    const bool agentive = (w[n - 2] == 'c' || w[n - 2] == '\xE7') && MatchChar('I', w[n - 1]);
    if (EndsWith(w, "lI") || (agentive && VoicingAgrees(w, n - 2)) ||
        (EndsWith(w, "DA") && VoicingAgrees(w, n - 2)))
      return true;
  }
  return RootKind(w, stem.hash) == kNominalRoot;
}

// Copulas and person endings at the end of a word after a stem that ends in a consonant (the
// vowel-final stems, with their buffer y, are Detect's): the syllable before them when the stem
// is a nominal or an aorist. What rules cannot tell apart stays final: the past of a verb
// (geldi), the imperative (gelsin), the possessive (kararım).
enum EndingKind : std::uint8_t {
  kTense,
  kFirstSingular,
  kFirstPlural,
  kSecondSingular,
  kSecondPlural
};
struct Ending {
  std::string_view pattern;
  EndingKind kind;
};
constexpr Ending kEndings[] = {
    {"sInIz", kSecondPlural}, {"sIn", kSecondSingular}, {"Im", kFirstSingular},
    {"Iz", kFirstPlural},     {"DI", kTense},           {"DIm", kTense},
    {"DIn", kTense},          {"DIk", kTense},          {"DInIz", kTense},
    {"DIlAr", kTense},        {"sA", kTense},           {"sAm", kTense},
    {"sAn", kTense},          {"sAk", kTense},          {"sAnIz", kTense},
    {"mI\xFE", kTense},       {"mI\xFEIm", kTense},     {"mI\xFEsIn", kTense},
    {"mI\xFEIz", kTense},     {"mI\xFEsInIz", kTense},  {"mI\xFElAr", kTense},
};
static_assert(std::size(kEndings) <= 32);
// By a word's last letter, the endings that letter can close.
const std::array<std::uint32_t, 256> kEndingsByLastLetter = [] {
  std::array<std::uint32_t, 256> t{};
  for (int b = 0; b < 256; ++b)
    for (std::size_t k = 0; k < std::size(kEndings); ++k)
      if (MatchChar(kEndings[k].pattern.back(), static_cast<char>(b))) t[b] |= 1u << k;
  return t;
}();

void DetectCopulaAfterStem(std::string_view w, const Syllables& s, std::size_t from,
                           Candidate& best) {
  const std::size_t n = w.size();
  std::uint32_t candidates = kEndingsByLastLetter[static_cast<unsigned char>(w[n - 1])];
  for (; candidates != 0; candidates &= candidates - 1) {
    const Ending& ending = kEndings[std::countr_zero(candidates)];
    if (!EndsWith(w, ending.pattern)) continue;
    const std::size_t e = n - ending.pattern.size();
    if (e < std::max<std::size_t>(from, 2) || s.before[e] < 1) continue;
    if (ending.pattern[0] == 'D' && !VoicingAgrees(w, e)) continue;
    const Stem stem = StemOf(w, s, e);
    const bool vowelStem = IsVowel(w[e - 1]);
    bool nominal = false;
    switch (ending.kind) {
      case kSecondPlural:  // no verb root takes -sInIz directly
        nominal = true;
        break;
      case kSecondSingular:
        nominal = vowelStem ? IsNominalVowelStem(stem)
                            : EndsInAorist(stem.letters) || IsNominalStem(stem, true);
        break;
      case kFirstSingular:
        // A noun with -Im is most often "my ...": only listed nominals. A -lA verb with -r is
        // the plural too (işlerim is "my work" more often than "I process").
        nominal = !vowelStem && ((EndsInAorist(stem.letters) && !EndsWith(stem.letters, "lAr")) ||
                                 EndsWith(stem.letters, "sIz") ||
                                 RootKind(stem.letters, stem.hash) == kNominalRoot);
        break;
      case kFirstPlural:
        nominal = !vowelStem && (EndsInAorist(stem.letters) || IsNominalStem(stem, true));
        break;
      case kTense:
        // var: the existential before a bare copula (vardı, varmış); vardım is "I arrived".
        nominal = !vowelStem && !(stem.letters == "var" && e + 3 < n) &&
                  (EndsInAorist(stem.letters) || IsNominalStem(stem, true));
        break;
    }
    if (nominal) Offer(best, s.before[e] - 1, StressRule::kCopula);
  }
}

// Whether rest is nothing or a person ending after -(y)DI or -(y)sA (hastaydık, evdeyseler).
bool EndsInPerson(std::string_view rest) {
  return rest.empty() || rest == "m" || rest == "n" || rest == "k" || MatchAt(rest, 0, "nIz") ||
         MatchAt(rest, 0, "lAr");
}
// The same after -(y)mIş (hastaymışım, evdeymişsiniz, doktormuştur).
bool EndsInEvidentialPerson(std::string_view rest) {
  static constexpr std::string_view kEndings[] = {"Im", "sIn", "Iz", "sInIz", "lAr", "DIr"};
  if (rest.empty()) return true;
  for (std::string_view e : kEndings)
    if (rest.size() == e.size() && MatchAt(rest, 0, e)) return true;
  return false;
}
// Whether the high vowel i follows vowel v in harmony: front or back, round or not alike.
bool IsInHarmony(char v, char i) {
  auto back = [](char c) { return c == 'a' || c == kDotlessI || c == 'o' || c == 'u'; };
  auto round = [](char c) { return c == 'o' || c == '\xF6' || c == 'u' || c == kUUml; };
  return back(v) == back(i) && round(v) == round(i);
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
    // Copula after a vowel-final word of two syllables or more, with nothing after it but its
    // person endings (bireysel is no -ysA), the person endings in harmony (arayüz is no -yIz).
    if (w[p] == 'y' && IsVowel(w[p - 1]) && s.before[p] >= 2) {
      const bool copula =
          ((MatchAt(w, p, "ydI") || MatchAt(w, p, "ysA")) && EndsInPerson(w.substr(p + 3))) ||
          (MatchAt(w, p, "ymI\xFE") && EndsInEvidentialPerson(w.substr(p + 4))) ||
          (p + 3 == n && (MatchAt(w, p, "yIm") || MatchAt(w, p, "yIz")) &&
           IsInHarmony(w[p - 1], w[p + 1]));
      if (copula) Offer(best, before(p), StressRule::kCopula);
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
      // Adverbial -CA after a stem of two syllables or more: yavaşça, güzelce, dikkatlice.
      if (n >= 3 && (w[n - 2] == 'c' || w[n - 2] == '\xE7') && n - 2 >= from &&
          s.before[n - 2] >= 2 && VoicingAgrees(w, n - 2))
        Offer(best, before(n - 2), StressRule::kEquative);
      break;
    case 'r':
      if ((p = tail("DIr")) != npos && s.before[p] >= 1 && VoicingAgrees(w, p))
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
  DetectCopulaAfterStem(w, s, from, best);
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
      "-ki",          "place name",  "-CA"};
  const int i = static_cast<int>(rule);
  return i >= 0 && i < kStressRuleCount ? kNames[i] : "?";
}

namespace {

// The gazetteer's stress for w: a name of it alone or followed by the suffixes of a name, the
// longest that fits. length: the name's letters. -1 when none (or only a name that is also a
// common word, where the cue shows no name).
int PlaceStress(std::string_view w, const Syllables& s, NameCue cue, std::size_t& length) {
  const PlaceNames& places = ThePlaceNames();
  std::uint32_t lengths = places.NameLengths(w);
  if (w.size() < 31) lengths &= (std::uint32_t{2} << w.size()) - 1;
  while (lengths != 0) {
    const std::size_t len = 31 - static_cast<std::size_t>(std::countl_zero(lengths));
    lengths &= ~(std::uint32_t{1} << len);
    const auto* it = places.entries.find(w.substr(0, len), s.prefix[len]);
    if (it == nullptr) continue;
    if ((it->second & PlaceNames::kCommonWord) != 0 && cue == NameCue::kNone) continue;
    if (len < w.size()) {
      const bool named = cue == NameCue::kName || cue == NameCue::kJoined;
      if ((it->second & PlaceNames::kCommonWithSuffix) != 0 && !named) continue;
      if (!IsNameSuffixChain(w.substr(0, len), w.substr(len), cue == NameCue::kJoined)) continue;
    }
    length = len;
    return it->second & PlaceNames::kSyllable;
  }
  return -1;
}

}  // namespace

WordStress StressOf(std::string_view word, NameCue cue) {
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
  std::size_t placeLength = 0;
  const int place = PlaceStress(w, s, cue, placeLength);
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
    if (len <= placeLength) break;  // a longer name of the gazetteer is the word's root
    const auto it = lexicon.entries.find(w.substr(0, len), s.prefix[len]);
    if (it == lexicon.entries.end() || it->second == kCliticEntry || !IsSuffixOnset(w, len))
      continue;
    // A root that is final-stressed passes the stress on to its suffixes, as any word does.
    const int stemLast = s.before[len] - 1;
    if (it->second != kFinalEntry)
      Offer(best, std::min(it->second, stemLast), StressRule::kLexicon);
    from = len;
    break;
  }
  // A name of the gazetteer: the suffixes after a name carry no stress.
  if (from == 0 && place >= 0) return {std::min(place, s.count - 1), StressRule::kPlaceName};
  if (best.syllable < 0 && (cue == NameCue::kName || cue == NameCue::kJoined)) {
    // A name joined with its suffixes is analysed without them.
    const std::size_t size = cue == NameCue::kJoined ? JoinedNameStem(w) : w.size();
    std::string_view stem = w.substr(0, size);
    if (EndsWith(stem, "stan")) {
      Offer(best, s.before[size] - 1, StressRule::kProperName);
    } else {
      // A derived -lI / -lIk form of a name keeps the name's stress: Ankaralı, İstanbullu.
      std::size_t cut = 0;
      if (EndsWith(stem, "lI")) cut = 2;
      if (EndsWith(stem, "lIk")) cut = 3;
      if (cut != 0 && s.before[size - cut] >= 2) stem = stem.substr(0, size - cut);
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
