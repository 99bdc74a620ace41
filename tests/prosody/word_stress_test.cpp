// The pieces of the stressed transcription: where the mark goes in a word's transcription,
// numbers, names at the start of a sentence, and runs that are left exactly as designed.
#include <gtest/gtest.h>

#include <string>

#include "frontend/text_to_phonetic.h"
#include "prosody/prosody.h"
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

}  // namespace
}  // namespace orvanel::prosody
