// Contours on their targets: where the peak of each sentence type falls, the size of the falls
// and rises, the baseline's declination, clamping, and the segment adjustment.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "prosody/prosody.h"
#include "synth/segment_planner.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::prosody {
namespace {

using frontend::testing::Cp;
using synth::VowelPitch;

struct Syllable {
  int word = 0;    // 0-based word of the stretch
  int phrase = 0;  // 0-based phrase: a phrase mark or comma after a vowel begins the next one
  VowelPitch pitch;
  float Mean() const { return (pitch.startSemitones + pitch.endSemitones) / 2; }
};

struct Planned {
  std::vector<Syllable> syllables;
  StretchIntonation info;
  bool ok = false;
};

Planned Plan(std::u8string_view utf8, const IntonationTargets& targets = {}) {
  std::string text = Cp(utf8), phonetic;
  TranscribeForProsody(text, phonetic);
  synth::SegmentList list;
  synth::StretchNotes notes;
  std::int32_t position = 0;
  Planned p;
  if (synth::PlanStretch(phonetic, position, list, {true}, &notes) != 1) return p;
  std::vector<VowelPitch> contour;
  p.ok = ContourForStretch(list, notes, contour, targets, &p.info);
  int word = 0, phrase = 0;
  bool sawVowel = false, phraseVowel = false;
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const synth::SegmentKind kind = list[i].Kind();
    if (kind == synth::SegmentKind::kPause && sawVowel) {
      ++word;
      sawVowel = false;
    }
    const frontend::PhraseBreak b = notes.segments[i].boundary;
    if (b != frontend::PhraseBreak::kNone && b != frontend::PhraseBreak::kSentenceEnd &&
        phraseVowel) {
      ++phrase;
      phraseVowel = false;
    }
    if (kind == synth::SegmentKind::kVowel) {
      p.syllables.push_back({word, phrase, contour[i]});
      sawVowel = phraseVowel = true;
    }
  }
  return p;
}

// The syllable at whose end the pitch is highest: a vowel moves to its target, which it
// reaches at its end.
std::size_t PeakIndex(const Planned& p) {
  std::size_t best = 0;
  for (std::size_t k = 1; k < p.syllables.size(); ++k)
    if (p.syllables[k].pitch.endSemitones > p.syllables[best].pitch.endSemitones) best = k;
  return best;
}

struct TuneCase {
  std::u8string_view text;
  SentenceType type;
  std::size_t peakSyllable;  // 0-based over the stretch
  float peakAtLeast;
  float lastEnd;  // end target of the last syllable
};

TEST(ContourForStretch, PutsThePeakWhereTheSentenceTypeWantsIt) {
  const TuneCase cases[] = {
      // statement: the nucleus is the word before the verb (eVE), the end falls to -4
      {u8"Eve geliyor.", SentenceType::kStatement, 1, 2.5f, -4.0f},
      // the nucleus (ÇOK) above the prenuclear accent of BUgün although the baseline declines
      {u8"Bugün hava çok güzel.", SentenceType::kStatement, 4, 1.75f, -4.0f},
      // yes/no question: high from the host's stressed syllable (geLİyor) up to mI, falling
      // after it to -2
      {u8"Eve geliyor musun?", SentenceType::kYesNoQuestion, 3, 6.0f, -2.0f},
      {u8"Hasta mısın?", SentenceType::kYesNoQuestion, 1, 6.0f, -2.0f},
      // wh-question: the question word (NEreye), a level end
      {u8"Nereye gidiyorsun?", SentenceType::kWhQuestion, 0, 5.0f, -3.0f},
      {u8"Kim geldi?", SentenceType::kWhQuestion, 0, 5.0f, -3.0f},
      // "?" with neither: the last syllable rises to the highest point
      {u8"Eve geliyor?", SentenceType::kOtherQuestion, 4, 5.0f, 5.0f},
      // exclamation: a larger nuclear accent, a deeper fall
      {u8"Eve geliyor!", SentenceType::kExclamation, 1, 3.5f, -5.0f},
  };
  for (const TuneCase& c : cases) {
    const Planned p = Plan(c.text);
    ASSERT_TRUE(p.ok) << frontend::testing::Show(Cp(c.text));
    EXPECT_EQ(p.info.type, c.type) << frontend::testing::Show(Cp(c.text));
    ASSERT_FALSE(p.syllables.empty());
    EXPECT_EQ(PeakIndex(p), c.peakSyllable) << frontend::testing::Show(Cp(c.text));
    EXPECT_GE(p.syllables[PeakIndex(p)].pitch.endSemitones, c.peakAtLeast)
        << frontend::testing::Show(Cp(c.text));
    if (c.type != SentenceType::kWhQuestion) {
      EXPECT_FLOAT_EQ(p.syllables.back().pitch.endSemitones, c.lastEnd)
          << frontend::testing::Show(Cp(c.text));
    } else {
      EXPECT_FLOAT_EQ(p.syllables.back().pitch.endSemitones,
                      p.syllables.back().pitch.startSemitones)
          << "level end";
    }
  }
}

TEST(ContourForStretch, TheYesNoPeakIsFarAboveTheStatementsSameSyllable) {
  const Planned q = Plan(u8"Eve geliyor musun?");
  const Planned s = Plan(u8"Eve geliyor.");
  ASSERT_GE(q.syllables.size(), 7u);
  ASSERT_EQ(s.syllables.size(), 5u);
  // "yor", the syllable before the particle
  EXPECT_GE(q.syllables[4].pitch.endSemitones - s.syllables[4].pitch.endSemitones, 3.0f);
  // The particle starts the fall: its first syllable falls 4 st or more below the peak.
  EXPECT_LE(q.syllables[5].pitch.endSemitones, q.syllables[4].pitch.endSemitones - 4.0f);
  // The statement's last syllable falls at least 3 st below its peak.
  EXPECT_LE(s.syllables.back().pitch.endSemitones,
            s.syllables[PeakIndex(s)].pitch.endSemitones - 3.0f);
  // The question's highest point is 3 st or more above the statement's highest point.
  EXPECT_GE(q.syllables[PeakIndex(q)].pitch.endSemitones,
            s.syllables[PeakIndex(s)].pitch.endSemitones + 3.0f);
}

TEST(ContourForStretch, ACommaEndsItsClauseWithAContinuationRise) {
  const Planned p = Plan(u8"Elma, armut, muz ve üzüm aldım.");
  ASSERT_TRUE(p.ok);
  // Last syllable of elma (1) and armut (3): rising by 2 st or more, to +3 or more.
  for (std::size_t k : {1u, 3u}) {
    const VowelPitch& v = p.syllables[k].pitch;
    EXPECT_GE(v.endSemitones - v.startSemitones, 2.0f - 1e-4f) << k;
    EXPECT_GE(v.endSemitones, 3.0f) << k;
  }
  EXPECT_FLOAT_EQ(p.syllables.back().pitch.endSemitones, -4.0f);
}

TEST(ContourForStretch, TheBaselineDeclinesOverThePhrase) {
  // The low start of every accented word before the nucleus lies lower the later the word.
  const Planned p = Plan(u8"Annemler bu akşam bizim eve yemeğe gelecekler.");
  ASSERT_TRUE(p.ok);
  ASSERT_GT(p.syllables.size(), 10u);
  EXPECT_FLOAT_EQ(p.syllables[0].pitch.startSemitones, 0.0f);
  std::vector<float> lows;  // annemler, akşam, bizim, eve
  for (std::size_t k = 0; k < p.syllables.size(); ++k)
    if (k == 0 || p.syllables[k].word != p.syllables[k - 1].word)
      if (p.syllables[k].word != 1 && p.syllables[k].word < 5)
        lows.push_back(p.syllables[k].pitch.endSemitones);
  ASSERT_EQ(lows.size(), 4u);
  for (std::size_t k = 1; k < lows.size(); ++k) EXPECT_LT(lows[k], lows[k - 1]) << k;
  EXPECT_LT(lows.back(), lows.front() - 0.5f);
}

TEST(ContourForStretch, StaysInsideSixSemitones) {
  IntonationTargets wild;
  wild.yesNoPeak = 20.f;
  wild.nuclearAccent = 15.f;
  wild.statementEnd = -30.f;
  wild.questionRise = 40.f;
  for (std::u8string_view text : {u8"Eve geliyor musun?", u8"Eve geliyor.", u8"Eve geliyor?",
                                  u8"Ne güzel bir gün!", u8"Elma, armut, muz ve üzüm aldım."}) {
    const Planned p = Plan(text, wild);
    ASSERT_TRUE(p.ok);
    for (const Syllable& s : p.syllables) {
      EXPECT_LE(std::abs(s.pitch.startSemitones), synth::kMaxSemitones);
      EXPECT_LE(std::abs(s.pitch.endSemitones), synth::kMaxSemitones);
    }
  }
}

TEST(ContourForStretch, RefusesNotesOfAnotherStretch) {
  std::string phonetic = Cp(u8"~Ge~Li`Yor. Ka`Lem.");
  synth::SegmentList list, other;
  synth::StretchNotes notes, otherNotes;
  std::int32_t position = 0;
  ASSERT_EQ(synth::PlanStretch(phonetic, position, list, {true}, &notes), 1);
  ASSERT_EQ(synth::PlanStretch(phonetic, position, other, {true}, &otherNotes), 1);
  std::vector<VowelPitch> contour;
  EXPECT_FALSE(ContourForStretch(list, otherNotes, contour));
  ASSERT_EQ(contour.size(), list.Size());
  for (const VowelPitch& v : contour) EXPECT_EQ(v.startSemitones + v.endSemitones, 0.f);
}

TEST(PrepareSegmentsForProsody, PlaysEveryVowelAtFullLengthWithoutTheEarlyGlide) {
  const std::string phonetic = Cp(u8"~Ge~Li``Yor DaA^ Ka`Lem.");
  synth::SegmentList list;
  synth::StretchNotes notes;
  std::int32_t position = 0;
  ASSERT_EQ(synth::PlanStretch(phonetic, position, list, {true}, &notes), 1);
  PrepareSegmentsForProsody(list);
  std::vector<bool> stressedVowels;
  for (std::size_t i = 0; i < list.Size(); ++i) {
    if (list[i].Kind() != synth::SegmentKind::kVowel) continue;
    EXPECT_EQ(list[i].lengthPercent, 100u);
    EXPECT_EQ(list[i].glideSteps, 0);
    stressedVowels.push_back(notes.segments[i].stressMarks > 0);
  }
  // ge, li (marked twice), yor, daa, ka (marked), lem
  EXPECT_EQ(stressedVowels, (std::vector<bool>{false, true, false, false, true, false}));
}

TEST(ContourForStretch, ASoftGVowelRisesAtItsEnd) {
  const std::string phonetic = Cp(u8"DaA^ Ka`Lem Ge~Le`Cek.");
  synth::SegmentList list;
  synth::StretchNotes notes;
  std::int32_t position = 0;
  ASSERT_EQ(synth::PlanStretch(phonetic, position, list, {true}, &notes), 1);
  std::vector<VowelPitch> contour;
  ASSERT_TRUE(ContourForStretch(list, notes, contour));
  EXPECT_FLOAT_EQ(contour[1].endSemitones - contour[1].startSemitones, 1.0f);
}

// Sentences of every kind, with the reading stage's phrase marks written as it writes them
// (\x11 "(", \x12 ")", \x14 a dash, \x15 ":", \x16 ";").
constexpr std::u8string_view kTunes[] = {
    u8"Annem bugün eve geldi.",
    u8"Annem bugün eve geldi mi?",
    u8"Annem bugün nereye gitti?",
    u8"Pazardan elma, armut, üzüm ve portakal aldım.",
    u8"Komşumuz Ali \x11 bizim apartmanın yöneticisi\x12 dün akşam geldi.",
    u8"Bunu unutmayın\x15 yarın sabah erkenden yola çıkacağız.",
    u8"Hava güzeldi\x16 biz de denize gittik.",
    u8"Ne güzel bir gün!",
    u8"Eve geliyor?",
    u8"Dağa çıktık \x14 yorgunduk \x14 ama mutluyduk.",
};

TEST(ContourForStretch, IsContinuousWithinEveryPhrase) {
  // A vowel starts where the vowel before it ended: voiced consonants between them carry the
  // pitch, and nothing steps; only a phrase boundary's pause may reset it.
  for (std::u8string_view text : kTunes) {
    const Planned p = Plan(text);
    ASSERT_TRUE(p.ok);
    for (std::size_t k = 1; k < p.syllables.size(); ++k) {
      if (p.syllables[k].phrase != p.syllables[k - 1].phrase) continue;
      EXPECT_FLOAT_EQ(p.syllables[k].pitch.startSemitones, p.syllables[k - 1].pitch.endSemitones)
          << frontend::testing::Show(Cp(text)) << " syllable " << k;
    }
  }
}

TEST(ContourForStretch, EveryPhraseStartsOnAResetBaselineAndEndsLengthened) {
  for (std::u8string_view text : kTunes) {
    const Planned p = Plan(text);
    ASSERT_TRUE(p.ok);
    const std::string shown = frontend::testing::Show(Cp(text));
    for (std::size_t k = 0; k < p.syllables.size(); ++k) {
      const Syllable& s = p.syllables[k];
      const bool first = k == 0 || p.syllables[k - 1].phrase != s.phrase;
      const bool last = k + 1 == p.syllables.size() || p.syllables[k + 1].phrase != s.phrase;
      if (first && s.phrase > 0) {
        // Back up from where the phrase before ended, to at most its start.
        EXPECT_GT(s.pitch.startSemitones, p.syllables[k - 1].pitch.endSemitones - 6.0f) << shown;
        EXPECT_LE(s.pitch.startSemitones, p.syllables[0].pitch.startSemitones) << shown;
        EXPECT_GE(s.pitch.startSemitones, -3.0f) << shown;
      }
      const unsigned want = !last ? 100u : k + 1 == p.syllables.size() ? 140u : 125u;
      EXPECT_EQ(s.pitch.lengthPercent, want) << shown << " syllable " << k;
    }
  }
}

struct BoundaryCase {
  std::u8string_view text;
  std::size_t syllable;  // the last vowel before the boundary
  bool rises;
  bool aside = false;  // the end of an aside rises less, in its lower register
};

TEST(ContourForStretch, APhraseBoundaryRisesOrFalls) {
  const BoundaryCase cases[] = {
      {u8"Elma, armut ve muz aldım.", 1, true},                // elMA,
      {u8"Ali \x11 bizim komşu\x12 geldi.", 1, true},          // aLİ (
      {u8"Ali \x11 bizim komşu\x12 geldi.", 5, true, true},    // komŞU )
      {u8"Dağa çıktık \x14 yorgunduk.", 3, true},              // çıkTIK -
      {u8"Bunu unutmayın\x15 yarın gelir.", 5, false},         // unutmaYIN:
      {u8"Hava güzeldi\x16 biz de denize gittik.", 4, false},  // güzelDİ;
      {u8"Kitabı okudum\x15 çok güzeldi.", 5, false},          // okuDUM:
  };
  for (const BoundaryCase& c : cases) {
    const Planned p = Plan(c.text);
    ASSERT_TRUE(p.ok);
    ASSERT_LT(c.syllable + 1, p.syllables.size());
    const std::string shown = frontend::testing::Show(Cp(c.text));
    const Syllable& s = p.syllables[c.syllable];
    EXPECT_NE(s.phrase, p.syllables[c.syllable + 1].phrase) << shown;
    EXPECT_EQ(s.pitch.lengthPercent, 125u) << shown;
    if (c.aside) {
      EXPECT_GE(s.pitch.endSemitones - s.pitch.startSemitones, 1.2f - 1e-4f) << shown;
      EXPECT_LT(s.pitch.endSemitones, 0.f) << shown;
    } else if (c.rises) {
      EXPECT_GE(s.pitch.endSemitones - s.pitch.startSemitones, 2.0f - 1e-4f) << shown;
      EXPECT_GE(s.pitch.endSemitones, 3.0f) << shown;
    } else {
      EXPECT_LT(s.pitch.endSemitones, s.pitch.startSemitones) << shown;
      EXPECT_LE(s.pitch.endSemitones, -2.5f + 1e-4f) << shown;
    }
  }
}

struct AccentCase {
  std::u8string_view text;
  std::size_t stressed;  // a stressed syllable of an accented word before the nucleus
};

TEST(ContourForStretch, AnAccentIsARiseIntoTheStressedVowelAndAFallAfterIt) {
  const AccentCase cases[] = {
      {u8"Annemler akşam eve geldi.", 2},   // annemLER
      {u8"Annemler akşam eve geldi.", 4},   // akŞAM
      {u8"Küçük kedi bahçede uyuyor.", 1},  // küÇÜK
      {u8"Küçük kedi bahçede uyuyor.", 3},  // keDİ
      {u8"Sonra eve geldi.", 0},            // SONra: a non-final stress falls within the word
      {u8"Bizim eve geldi.", 1},            // biZİM
      // a word stressed on its first vowel after one that ended on its accent: the word before
      // falls through its last vowel, so that the next accent rises
      {u8"Annem bugün eve geldi.", 2},         // BUgün
      {u8"Komşumuz Ali dün akşam geldi.", 3},  // Ali
  };
  for (const AccentCase& c : cases) {
    const Planned p = Plan(c.text);
    ASSERT_TRUE(p.ok);
    ASSERT_LT(c.stressed + 1, p.syllables.size());
    const std::string shown = frontend::testing::Show(Cp(c.text));
    const VowelPitch& s = p.syllables[c.stressed].pitch;
    const VowelPitch& after = p.syllables[c.stressed + 1].pitch;
    EXPECT_GE(s.endSemitones - s.startSemitones, 0.5f) << shown << " rises into the accent";
    EXPECT_LE(after.endSemitones - after.startSemitones, -1.0f) << shown << " falls after it";
    for (const Syllable& other : p.syllables) {
      if (other.word != p.syllables[c.stressed].word) continue;
      EXPECT_LE(other.pitch.endSemitones, s.endSemitones) << shown << " the word's peak";
    }
  }
}

TEST(ContourForStretch, AnAsideLiesUnderItsSentence) {
  const Planned p = Plan(u8"Komşumuz Ali \x11 bizim apartmanın yöneticisi\x12 dün akşam geldi.");
  ASSERT_TRUE(p.ok);
  float outside = -99.f, aside = -99.f;
  for (const Syllable& s : p.syllables)
    (s.phrase == 1 ? aside : outside) =
        std::max(s.phrase == 1 ? aside : outside, s.pitch.endSemitones);
  ASSERT_EQ(p.syllables.back().phrase, 2);
  EXPECT_LE(aside, outside - 1.0f);
}

struct QuestionPair {
  std::u8string_view statement, question;
};

TEST(ContourForStretch, AYesNoQuestionPeaksThreeSemitonesOverItsStatement) {
  const QuestionPair pairs[] = {
      {u8"Annem bugün eve geldi.", u8"Annem bugün eve geldi mi?"},
      {u8"Eve geliyor.", u8"Eve geliyor musun?"},
      {u8"Hasta.", u8"Hasta mısın?"},
      {u8"Ali okula gitti.", u8"Ali okula gitti mi?"},
      {u8"Bu kitabı çok beğendin.", u8"Bu kitabı çok beğendin mi?"},
  };
  for (const QuestionPair& c : pairs) {
    const Planned s = Plan(c.statement), q = Plan(c.question);
    ASSERT_TRUE(s.ok && q.ok);
    EXPECT_EQ(q.info.type, SentenceType::kYesNoQuestion);
    EXPECT_GE(q.syllables[PeakIndex(q)].pitch.endSemitones,
              s.syllables[PeakIndex(s)].pitch.endSemitones + 3.0f)
        << frontend::testing::Show(Cp(c.question));
  }
}

}  // namespace
}  // namespace orvanel::prosody
