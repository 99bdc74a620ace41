#include "synth/segment_planner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel::synth {

void PrintTo(const Segment& s, std::ostream* os) {
  *os << "{kind " << s.kind << ", index " << s.index << ", count " << s.count << ", percent "
      << s.lengthPercent << ", steps " << s.glideSteps << ", shape " << s.glideShape << "}";
}

namespace {

Segment V(std::int32_t index, std::int32_t count = 1, std::uint32_t percent = 100,
          std::int32_t steps = 1, std::int32_t shape = 1) {
  return Segment{KindCode(SegmentKind::kVowel), index, count, percent, steps, shape};
}
Segment On(std::int32_t index, bool front = false) {
  return Segment{KindCode(SegmentKind::kOnset) | (front ? kFrontSetFlag : 0), index, 1, 0, 0, 0};
}
Segment Co(std::int32_t index, bool front = false) {
  return Segment{KindCode(SegmentKind::kCoda) | (front ? kFrontSetFlag : 0), index, 1, 0, 0, 0};
}
Segment P(std::int32_t ms) { return Segment{KindCode(SegmentKind::kPause), 0, ms, 0, 0, 0}; }
Segment End() { return Segment{KindCode(SegmentKind::kSentenceEnd), 0, 700, 0, 0, 0}; }

std::vector<Segment> Contents(const SegmentList& list) {
  return std::vector<Segment>(list.begin(), list.end());
}

struct OneStretchCase {
  const char* name;
  std::string_view text;  // Windows-1254 bytes
  std::vector<Segment> segments;
  std::int32_t positionAfter;
};

// One call from position 0: every stretch here is the whole text or ends at its sentence end.
const OneStretchCase kOneStretch[] = {
    {"BeeEndsAtItsSentenceEnd", "Bee.", {On(0), V(3, 2), End()}, 4},
    {"KirkHasTwoCodas", "K\xFDrk", {On(18), V(5), Co(31), Co(19)}, 4},
    {"TildeGivesFrontOnset", "~Gee", {On(10, true), V(3, 2)}, 4},
    {"DaBIlYuuWithStress",
     "Da`BIlYuu",
     {On(6), V(1, 1, 95), On(0), V(4), Co(21), On(44), V(13, 2)},
     9},
    {"LateGlide", "a^", {V(1, 1, 100, 1, 2)}, 2},
    {"EarlyGlideAddsAStep", "a|", {V(1, 1, 100, 2, 1)}, 2},
    {"LateThenEarly", "a^|", {V(1, 1, 100, 2, 1)}, 3},
    {"EarlyThenLateRestarts", "a|^", {V(1, 1, 100, 1, 2)}, 3},
    {"TwoLateGlides", "a^^", {V(1, 1, 100, 2, 2)}, 3},
    {"GlideOnMergedVowel", "aa^", {V(1, 2, 100, 1, 2)}, 3},
    {"StressKeepsVowelsApart", "a`a", {V(1, 1, 95), V(1)}, 3},
    {"TildeBetweenVowelsMerges", "a~a", {V(1, 2)}, 3},
    {"BlankKeepsVowelsApart", "a a", {V(1), P(1), V(1)}, 3},
    {"CaseDoesNotMatterForMerging", "aAa", {V(1, 3)}, 3},
    {"DotlessPairMerges", "I\xFD", {V(4, 2)}, 2},
    {"DottedAndDotlessStayApart", "I\xDD", {V(4), V(6)}, 2},
    {"DifferentVowelsStayApart", "ae", {V(1), V(3)}, 2},
    {"ConsonantKeepsVowelsApart", "aba", {V(1), Co(1), V(1)}, 3},
    {"LineFeedIsIgnoredButSeparates", "a\na", {V(1), V(1)}, 3},
    {"MarkWithoutVowelIsIgnored", "`a", {V(1)}, 2},
    {"GlideMarksWithoutVowelAreIgnored", "^|a", {V(1)}, 3},
    {"IgnoredMarkClearsFrontPending", "~`Ba", {On(0), V(1)}, 4},
    {"MarkOnVowelKeepsFrontPending", "a~`B", {V(1, 1, 95), On(0, true)}, 4},
    {"GlideMarkKeepsFrontPending", "a~^|b", {V(1, 1, 100, 2, 1), Co(1, true)}, 5},
    {"RepeatedTildeKeepsFrontPending", "~~B", {On(0, true)}, 3},
    {"TildeBeforeVowelIsForgotten", "~ab", {V(1), Co(1)}, 3},
    {"TildeBeforeBlankIsForgotten", "~ B", {P(1), On(0)}, 3},
    {"TildeBeforeIgnoredCharIsForgotten", "~1B", {On(0)}, 3},
    {"MarkReachesBackOverConsonantsAndPauses", "ak, `", {V(1, 1, 95), Co(19), P(100), P(1)}, 5},
    {"CarriageReturnIsAShortPause", "\r", {P(1)}, 1},
    {"LineFeedIsIgnored", "\n", {}, 1},
    {"TabIsIgnored", "\t", {}, 1},
    {"CommaPause", ",", {P(100)}, 1},
    {"ExclamationEnds", "a!b", {V(1), End()}, 2},
    {"QuestionEnds", "a?b", {V(1), End()}, 2},
    {"ColonEnds", "a:b", {V(1), End()}, 2},
    {"SemicolonEnds", "a;b", {V(1), End()}, 2},
    {"OnlyTildes", "~~~", {}, 3},
    {"QIsItsOwnSlot", "Qq", {On(28), Co(29)}, 2},
    {"SoftGIsSlotSix", "\xD0\xF0", {On(12), Co(13)}, 2},
    {"LettersOutsideTablesAreIgnored", "\xE2\xFB", {}, 2},
};

class PlanOneStretch : public testing::TestWithParam<OneStretchCase> {};

TEST_P(PlanOneStretch, GivesSegmentsAndPosition) {
  const OneStretchCase& c = GetParam();
  SegmentList list;
  std::int32_t position = 0;
  EXPECT_EQ(PlanStretch(c.text, position, list), 1);
  EXPECT_EQ(Contents(list), c.segments);
  EXPECT_EQ(position, c.positionAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlanOneStretch, testing::ValuesIn(kOneStretch),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlanStretch, EmptyTextReturnsZeroAndEmptyList) {
  SegmentList list;
  list.Append(V(1));
  std::int32_t position = 0;
  EXPECT_EQ(PlanStretch("", position, list), 0);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Capacity(), 0u);
  EXPECT_EQ(position, 0);
}

TEST(PlanStretch, PositionOnTheEndReturnsZero) {
  SegmentList list;
  std::int32_t position = 4;
  EXPECT_EQ(PlanStretch("Bee.", position, list), 0);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(position, 4);
}

TEST(PlanStretch, PositionOutsideTheTextReturnsZero) {
  SegmentList list;
  for (std::int32_t start : {-1, -1000, 5, 100}) {
    std::int32_t position = start;
    EXPECT_EQ(PlanStretch("Bee.", position, list), 0) << start;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(position, start);
  }
}

// Each call from the position the previous one left: {segments, position after}, then 0.
struct Stretch {
  std::vector<Segment> segments;
  std::int32_t positionAfter;
};

struct ManyStretchCase {
  const char* name;
  std::string_view text;
  std::vector<Stretch> stretches;
};

const ManyStretchCase kManyStretches[] = {
    {"BeeThenNothing", "Bee.", {{{On(0), V(3, 2), End()}, 4}}},
    {"XDotY", "x.y", {{{Co(43), End()}, 2}, {{Co(45)}, 3}}},
    {"ThreeDots", "...", {{{End()}, 1}, {{End()}, 2}, {{End()}, 3}}},
    {"OnlyTildes", "~~", {{{}, 2}}},
    {"MarkInNextStretchHasNoVowel", "a.`", {{{V(1), End()}, 2}, {{}, 3}}},
    {"MergingDoesNotCrossStretches", "a.a", {{{V(1), End()}, 2}, {{V(1)}, 3}}},
    {"ZeroByteEndsTheText", std::string_view("ab\0cd", 5), {{{V(1), Co(1)}, 2}}},
};

class PlanManyStretches : public testing::TestWithParam<ManyStretchCase> {};

TEST_P(PlanManyStretches, FollowsThePosition) {
  const ManyStretchCase& c = GetParam();
  SegmentList list;
  std::int32_t position = 0;
  for (std::size_t k = 0; k < c.stretches.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(PlanStretch(c.text, position, list), 1);
    EXPECT_EQ(Contents(list), c.stretches[k].segments);
    EXPECT_EQ(position, c.stretches[k].positionAfter);
  }
  const std::int32_t end = position;
  EXPECT_EQ(PlanStretch(c.text, position, list), 0);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(position, end);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlanManyStretches, testing::ValuesIn(kManyStretches),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlanStretch, EveryStressMarkTakesFivePercentOfWhatIsLeft) {
  const std::uint32_t expected[] = {100, 95, 90, 85, 80, 76, 72, 68, 64, 60};
  for (std::size_t marks = 0; marks < std::size(expected); ++marks) {
    const std::string text = std::string("a").append(marks, '`');
    SegmentList list;
    std::int32_t position = 0;
    ASSERT_EQ(PlanStretch(text, position, list), 1);
    ASSERT_EQ(list.Size(), 1u);
    EXPECT_EQ(list[0].lengthPercent, expected[marks]) << marks << " marks";
  }
}

TEST(PlanStretch, FortyFiveStressMarksBringTheVowelToZero) {
  SegmentList list;
  std::int32_t position = 0;
  const std::string text44 = std::string("a").append(44, '`');
  ASSERT_EQ(PlanStretch(text44, position, list), 1);
  EXPECT_GT(list[0].lengthPercent, 0u);
  position = 0;
  const std::string text45 = std::string("a").append(45, '`');
  ASSERT_EQ(PlanStretch(text45, position, list), 1);
  EXPECT_EQ(list[0].lengthPercent, 0u);
}

TEST(PlanStretch, LongRunOfOneVowelIsOneSegment) {
  const std::string text(100000, 'a');
  SegmentList list;
  std::int32_t position = 0;
  ASSERT_EQ(PlanStretch(text, position, list), 1);
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list[0].count, 100000);
  EXPECT_EQ(position, 100000);
}

TEST(PlanStretch, ListGrowsByItsStepRule) {
  // 64 consonants: capacities 4, 8, 12, 16, ... never one element at a time.
  const std::string text(64, 'B');
  SegmentList list;
  std::int32_t position = 0;
  ASSERT_EQ(PlanStretch(text, position, list), 1);
  EXPECT_EQ(list.Size(), 64u);
  EXPECT_GE(list.Capacity(), 64u);
  EXPECT_LE(list.Capacity(), 64u + 8u);
}

// The notes beside the list: words between silences, marks on their vowels, the boundaries.
TEST(PlanStretchNotes, WordsMarksAndBoundariesOfAStretch) {
  // "Ka`Lem, DaA^ ~Ge~Li``Yor?" in Windows-1254 (all ASCII here)
  const std::string_view text = "Ka`Lem, DaA^ ~Ge~Li``Yor? Sonra.";
  SegmentList list;
  StretchNotes notes;
  std::int32_t position = 0;
  ASSERT_EQ(PlanStretch(text, position, list, {}, &notes), 1);
  ASSERT_EQ(notes.segments.size(), list.Size());
  EXPECT_EQ(notes.sentenceEnd, '?');
  ASSERT_EQ(notes.words.size(), 3u);
  EXPECT_EQ(notes.words[0].letters, "kalem");
  EXPECT_EQ(notes.words[1].letters, "daa");  // the merged vowel keeps both letters
  EXPECT_EQ(notes.words[2].letters, "geliyor");
  // K a L e m , _ D aA _ G e L i Y o r ?
  EXPECT_EQ(notes.words[0].first, 0u);
  EXPECT_EQ(notes.words[0].end, 5u);
  EXPECT_EQ(notes.words[1].first, 7u);
  EXPECT_EQ(notes.words[1].vowels, (std::vector<std::size_t>{8}));
  EXPECT_EQ(notes.segments[1].stressMarks, 1);
  EXPECT_EQ(notes.segments[3].stressMarks, 0);
  EXPECT_TRUE(notes.segments[8].lateGlide);
  EXPECT_EQ(notes.segments[13].stressMarks, 2);  // "i" of "Li``"
  EXPECT_EQ(notes.segments[5].boundary, frontend::PhraseBreak::kComma);
  EXPECT_EQ(notes.segments[5].word, -1);
  EXPECT_EQ(notes.segments[6].boundary, frontend::PhraseBreak::kNone);
  EXPECT_EQ(notes.segments.back().boundary, frontend::PhraseBreak::kSentenceEnd);
  for (std::size_t i = 0; i < list.Size(); ++i)
    EXPECT_EQ(notes.segments[i].word < 0, list[i].IsSilence()) << i;
  // The next stretch starts its notes afresh.
  ASSERT_EQ(PlanStretch(text, position, list, {}, &notes), 1);
  ASSERT_EQ(notes.words.size(), 1u);
  EXPECT_EQ(notes.words[0].letters, "sonra");
  EXPECT_EQ(notes.sentenceEnd, '.');
}

// Phrase marks are pauses only when asked for; the designed planner ignores them, and the notes
// never change the segments.
TEST(PlanStretchNotes, PhraseMarksArePausesOnlyWhenAsked) {
  struct Case {
    char mark;
    frontend::PhraseBreak boundary;
    std::int32_t ms;
    bool endsStretch;
  };
  const Case cases[] = {
      {'\x11', frontend::PhraseBreak::kParenthesisOpen, 120, false},
      {'\x15', frontend::PhraseBreak::kColon, 300, false},
      {'\x18', frontend::PhraseBreak::kLineBreak, 450, true},
      {'\x19', frontend::PhraseBreak::kParagraph, 550, true},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("Bee") + c.mark + "Bee.";
    SegmentList designed, noted, marked;
    StretchNotes notes;
    std::int32_t a = 0, b = 0, m = 0;
    ASSERT_EQ(PlanStretch(text, a, designed), 1);
    ASSERT_EQ(PlanStretch(text, b, noted, {false}, &notes), 1);
    EXPECT_EQ(Contents(noted), Contents(designed));
    EXPECT_EQ(b, a);
    EXPECT_EQ(Contents(designed), (std::vector<Segment>{On(0), V(3, 2), On(0), V(3, 2), End()}));
    ASSERT_EQ(PlanStretch(text, m, marked, {true}, &notes), 1);
    const Segment pause{KindCode(c.endsStretch ? SegmentKind::kSentenceEnd : SegmentKind::kPause),
                        0,
                        c.ms,
                        0,
                        0,
                        0};
    if (c.endsStretch) {
      EXPECT_EQ(Contents(marked), (std::vector<Segment>{On(0), V(3, 2), pause})) << int(c.mark);
      EXPECT_EQ(m, 4);
      EXPECT_EQ(notes.sentenceEnd, c.mark);
    } else {
      EXPECT_EQ(Contents(marked),
                (std::vector<Segment>{On(0), V(3, 2), pause, On(0), V(3, 2), End()}))
          << int(c.mark);
    }
    EXPECT_EQ(notes.segments[2].boundary, c.boundary);
  }
}

}  // namespace
}  // namespace orvanel::synth
