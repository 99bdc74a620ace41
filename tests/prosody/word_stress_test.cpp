// The pieces of the stressed transcription: where the mark goes in a word's transcription,
// numbers, names at the start of a sentence, and runs that are left exactly as designed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/letter_tables.h"
#include "frontend/phrase_marks.h"
#include "frontend/text_to_phonetic.h"
#include "prosody/place_names.h"
#include "prosody/prosody.h"
#include "prosody/stress_lexicon.h"
#include "synth/segment_planner.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::prosody {
namespace {

using frontend::testing::Cp;
using frontend::testing::Show;

std::string Stressed(std::u8string_view utf8) {
  std::string text = Cp(utf8), out;
  TextToPhoneticWithStress(text, out);
  return out;
}

struct OffsetCase {
  std::u8string_view transcription;
  int syllable;
  std::size_t offset;
};

TEST(StressMarkOffset, FollowsTheLastLetterOfTheSyllable) {
  const OffsetCase cases[] = {
      {u8"~KiTap", 0, 3},     // ~Ki`Tap
      {u8"~KiTap", 1, 6},     // ~KiTap`
      {u8"Eşi~t~Tir", 1, 5},  // Eşi~t`~Tir: the coda with its front mark, not the onset
      {u8"Tür~k", 0, 5},      // the codas of a closed syllable
      {u8"DaA^", 0, 4},       // a soft-g vowel is one syllable, its "^" stays with it
      {u8"~DeE^İ~l", 0, 5},   // ~DeE^`İ~l
      {u8"~DeE^İ~l", 1, 8},
      {u8"SaAt", 0, 4},    // never between two letters of one long vowel
      {u8"KA~LEm", 1, 6},  // capitals
      {u8"~KiTap", 2, std::string::npos},
      {u8"Str", 0, std::string::npos},
  };
  for (const OffsetCase& c : cases) {
    EXPECT_EQ(StressMarkOffset(Cp(c.transcription), c.syllable), c.offset)
        << Show(Cp(c.transcription)) << " syllable " << c.syllable;
  }
}

struct TextCase {
  std::u8string_view text;
  std::u8string_view expected;
};

TEST(TextToPhoneticWithStress, WritesOneMarkPerProsodicWord) {
  const TextCase cases[] = {
      {u8"Ankara'ya gelmedi.", u8"An`KaRa'Ya ~Ge~l`Me~Di."},
      {u8"Eşittir.", u8"EŞit`Tir."},
      {u8"Geliyor musun?", u8"~Ge~Li`Yor MuSun?"},
      {u8"bir ev ve bu ev", u8"~Bir Ev` Ve Bu Ev`"},
      // Numbers: every one-word number on its last syllable, a number phrase on its first
      // numeral; numbers with a scale word keep the marks they have.
      {u8"5", u8"~Beş`"},
      {u8"12", u8"On`İ~ki"},
      {u8"205", u8"İ~ki`Yüz~Beş"},
      {u8"2000", u8"İ~ki`~Bin"},
      {u8"0512", u8"SıFır`~Beş~Birİ~ki"},
      // Hand-written PhoneticText, symbol names and spelled letters are left as they are.
      {u8"{DoKuz} kitap", u8"DoKuz ~KiTap`"},
      {u8"a b", u8"aa Bee"},
      {u8"%", u8"Yüz~De"},
      // A capital at the start of a sentence is no name; inside one it is.
      {u8"Bodrum güzel. Ve Bodrum", u8"BodRum` ~GüZe~l`. Ve Bod`Rum"},
      // The suffix after an apostrophe stays unstressed.
      {u8"İstanbul'da", u8"İsTan`Bul'Da"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(Show(Stressed(c.text)), Show(Cp(c.expected))) << Show(Cp(c.text));
  }
}

TEST(TextToPhoneticWithStress, TheClosingQuoteWorksLikeTheApostrophe) {
  std::string text = Cp(u8"İstanbul") + "\x92" + "da", out;
  TextToPhoneticWithStress(text, out);
  EXPECT_EQ(Show(out), Show(Cp(u8"İsTan`Bul") + "\x92" + "Da"));
}

TEST(StressTranscriber, FedPieceByPieceGivesTheWholeTextsResult) {
  const std::string text = Cp(u8"Dün Ankara'ya gittik. Yarın İzmir'e gideceğiz, 12 kişi!");
  std::string whole = text, expected;
  TextToPhoneticWithStress(whole, expected);
  // Cut between runs: the transcriber keeps the sentence start and the apostrophe.
  StressTranscriber t;
  std::string escaped = text, out;
  frontend::ApplyEscapes(escaped);
  std::size_t position = 0;
  std::string run;
  frontend::RunKind kind = frontend::RunKind::kSymbols;
  while (frontend::NextRun(escaped, position, run, kind))
    t.AppendRun(run, kind, std::string_view(escaped).substr(position), out);
  EXPECT_EQ(Show(out), Show(expected));
}

TEST(StressOf, ProperNamesFollowThePlaceNameRule) {
  struct Case {
    std::u8string_view word;
    int syllable;
  };
  const Case cases[] = {{u8"Ankara", 0},   {u8"Antalya", 1}, {u8"Adana", 1},     {u8"İstanbul", 1},
                        {u8"Üsküdar", 0},  {u8"Bodrum", 0},  {u8"Hindistan", 2}, {u8"Kastamonu", 1},
                        {u8"Ankaralı", 0}, {u8"Mısır", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(StressOf(Cp(c.word), true).syllable, c.syllable) << Show(Cp(c.word));
  }
  // The same letters as a common noun: final (mısír 'maize' against Mísır 'Egypt').
  EXPECT_EQ(StressOf(Cp(u8"mısır"), false).syllable, 1);
}

// The syllable of the stress mark in each word of a stressed transcription (-1 for none). The
// vowel a soft g writes again (before "^") is not a syllable.
std::vector<int> MarkedSyllables(const std::string& transcription) {
  std::vector<int> result;
  int vowels = 0;
  int marked = -1;
  bool inWord = false;
  for (std::size_t i = 0; i <= transcription.size(); ++i) {
    const char c = i < transcription.size() ? transcription[i] : ' ';
    const bool letter = frontend::ClassifyChar(c) == frontend::CharClass::kLetter || c == '~' ||
                        c == '^' || c == '`';
    if (!letter) {
      if (inWord) result.push_back(marked);
      inWord = false;
      continue;
    }
    if (!inWord) vowels = 0, marked = -1, inWord = true;
    if (c == '`') marked = vowels - 1;
    const bool copy = i + 1 < transcription.size() && transcription[i + 1] == '^';
    if (frontend::VowelLookup(c) >= 0 && !copy) ++vowels;
  }
  return result;
}

struct MarkCase {
  std::string text;  // Windows-1254, with the name mark where the reading stage writes it
  std::vector<int> withMark;
  std::vector<int> withoutMark;  // the same text without the mark, as before
};

// The reading stage joins "Adana'ya" into "Adanaya" and writes the name mark before it: the word
// is a name with its suffixes (the gazetteer's, or the place-name rule on the part before them),
// wherever it stands.
TEST(StressTranscriber, AWordAfterTheNameMarkIsANameWithItsSuffixes) {
  const std::string mark(1, frontend::kNameMark);
  const MarkCase cases[] = {
      {mark + "Adanaya gittik.", {1, 1}, {3, 1}},           // first in a sentence
      {Cp(u8"Dün ") + mark + "Mustafaya", {0, 0}, {0, 2}},  // Mústafa, not Mustafáya
      {mark + Cp(u8"Mustafanın evi"), {0, 1}, {3, 1}},
      {Cp(u8"Dün ") + mark + Cp(u8"Erdoğandan"), {0, 0}, {0, 2}},  // Érdoğan, not Erdoğándan
      {mark + "ordudan", {0}, {2}},                                // Ordu, not ordu 'army'
      {mark + "natoya", {0}, {2}},                                 // an acronym read as a word
      {mark + Cp(u8"Kürdistana"), {2}, {3}},  // -stan: the last syllable of the name
      {Cp(u8"Dün ") + mark + "Ankaradakiler", {0, 0}, {0, 0}},
      {mark + Cp(u8"Ayşeyle"), {0}, {1}},  // not -(y)lA's syllable before it
  };
  for (const MarkCase& c : cases) {
    std::string marked = c.text, plain = c.text, withMark, withoutMark;
    plain.erase(std::remove(plain.begin(), plain.end(), frontend::kNameMark), plain.end());
    TextToPhoneticWithStress(marked, withMark);
    TextToPhoneticWithStress(plain, withoutMark);
    EXPECT_EQ(MarkedSyllables(withMark), c.withMark) << Show(c.text);
    EXPECT_EQ(MarkedSyllables(withoutMark), c.withoutMark) << Show(plain);
  }
}

// The mark is passed through as a symbol: the stressed transcription is the literal one plus
// the stress marks, and the planner plans the same segments as without it.
TEST(StressTranscriber, TheNameMarkPassesThroughAndThePlannerIgnoresIt) {
  const std::string mark(1, frontend::kNameMark);
  std::string text = "Biz " + mark + Cp(u8"Muğladan geldik, ") + mark + "Sivasa gidiyoruz.";
  std::string plainText = text;
  plainText.erase(std::remove(plainText.begin(), plainText.end(), frontend::kNameMark),
                  plainText.end());
  std::string literal, stressed, literalPlain;
  std::string copy = text;
  frontend::TextToPhonetic(copy, literal);
  TextToPhoneticWithStress(text, stressed);
  frontend::TextToPhonetic(plainText, literalPlain);
  ASSERT_NE(literal.find(frontend::kNameMark), std::string::npos);
  std::string unmarked = stressed;
  unmarked.erase(std::remove(unmarked.begin(), unmarked.end(), '`'), unmarked.end());
  EXPECT_EQ(Show(unmarked), Show(literal));
  auto plan = [](const std::string& phonetic) {
    std::vector<synth::Segment> segments;
    synth::SegmentList list;
    std::int32_t position = 0;
    while (synth::PlanStretch(phonetic, position, list) == 1)
      for (std::size_t i = 0; i < list.Size(); ++i) segments.push_back(list[i]);
    return segments;
  };
  EXPECT_EQ(plan(literal), plan(literalPlain));
  EXPECT_EQ(plan(stressed).size(), plan(literalPlain).size());
}

// The cue a word gets from its place: a capital word alone in its sentence is a name only for
// a gazetteer name that a common word also spells (Ordu. / Ordu çok güçlü), and the memo keeps
// the analyses of one word under different cues apart.
TEST(StressTranscriber, ACapitalWordAloneIsTheNameOfTheGazetteer) {
  struct Case {
    std::u8string_view text;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {u8"Ordu.", {0}},
      {u8"Ordu", {0}},
      {u8"Ordu çok güçlü.", {1, 0, 1}},
      {u8"ordu.", {1}},
      {u8"Mısır!", {0}},
      {u8"Kitap.", {1}},
      {u8"Bebek?", {0}},
      {u8"Bebek uyudu.", {1, 2}},
      {u8"Sivas çok güzel.", {0, 0, 1}},
  };
  StressCache memo;  // shared by every text, as the library's is
  for (const Case& c : cases) {
    std::string text = Cp(c.text), out;
    StressTranscriber t(true, &memo);
    frontend::ForEachRun(text, [&](const frontend::Run& run) { t.AppendRun(run, out); });
    EXPECT_EQ(MarkedSyllables(out), c.expected) << Show(Cp(c.text));
  }
}

TEST(NameSuffixChain, TakesTheSuffixesOfANameInTheirOrderAndHarmony) {
  struct Case {
    std::u8string_view stem, rest;
    bool chain;
  };
  const Case cases[] = {
      {u8"sivas", u8"ta", true},
      {u8"sivas", u8"da", false},  // d/t by the letter before
      {u8"muğla", u8"dan", true},
      {u8"muğla", u8"den", false},  // vowel harmony
      {u8"adana", u8"ya", true},
      {u8"adana", u8"a", false},  // y after a vowel
      {u8"izmir", u8"e", true},
      {u8"izmir", u8"ye", false},
      {u8"ankara", u8"lılar", true},
      {u8"ankara", u8"lardalı", false},  // the order of suffixes
      {u8"adana", u8"dakiler", true},
      {u8"adana", u8"yaki", false},  // -ki after the locative
      {u8"antalya", u8"lıyız", true},
      {u8"bodrum", u8"daydı", true},
      {u8"istanbul", u8"luymuşsunuz", true},
      {u8"aras", u8"ında", false},  // no possessive: arasında is not the river's
      {u8"ankara", u8"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(detail::IsNameSuffixChain(Cp(c.stem), Cp(c.rest), false), c.chain)
        << Show(Cp(c.stem)) << " + " << Show(Cp(c.rest));
  }
  // Lenient: a loan name's first suffix may break the harmony (Kemal'e).
  EXPECT_FALSE(detail::IsNameSuffixChain("kemal", "e", false));
  EXPECT_TRUE(detail::IsNameSuffixChain("kemal", "e", true));
  // The stem of a joined name: the shortest that leaves a chain.
  EXPECT_EQ(detail::JoinedNameStem(Cp(u8"adanaya")), 5u);
  EXPECT_EQ(detail::JoinedNameStem(Cp(u8"ankaradakiler")), 6u);
  EXPECT_EQ(detail::JoinedNameStem(Cp(u8"kemale")), 5u);
  EXPECT_EQ(detail::JoinedNameStem(Cp(u8"xyz")), 3u);  // no vowel: no split
}

// Every name of the gazetteer is read as the table says: alone with a capital inside a
// sentence, and (unless a common word is spelled the same) in lower case with a locative; a
// lexicon entry of the same letters must agree with it.
TEST(PlaceNames, EveryNameIsReadAsTheTableSays) {
  std::ifstream file(ORVANEL_PLACE_NAMES);
  std::string line;
  int names = 0;
  while (std::getline(file, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string utf8, flag;
    int syllable = 0;
    if (!(fields >> utf8 >> syllable)) continue;
    fields >> flag;
    std::string name;
    ASSERT_TRUE(frontend::testing::TryCp(utf8, name)) << line;
    ++names;
    const WordStress alone = StressOf(name, NameCue::kName);
    EXPECT_EQ(alone.syllable, syllable - 1) << line;
    if (flag.empty()) {
      std::string lower = detail::Lower(name);
      const char last = lower.back();
      const char vowel = lower[lower.find_last_of("ae\xFDio\xF6u\xFC")];
      const bool back = std::string_view("a\xFDou").find(vowel) != std::string_view::npos;
      const bool voiceless = std::string_view(
                                 "\xE7"
                                 "fhkps\xFEt")
                                 .find(last) != std::string_view::npos;
      lower += voiceless ? "t" : "d";
      lower += back ? "a" : "e";
      EXPECT_EQ(StressOf(lower, NameCue::kNone).syllable, syllable - 1) << Show(lower);
    }
  }
  EXPECT_GE(names, 450);
}

}  // namespace
}  // namespace orvanel::prosody
