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

}  // namespace
}  // namespace orvanel::synth
