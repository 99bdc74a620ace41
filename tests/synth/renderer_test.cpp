#include "synth/segment_renderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "synth/segment_planner.h"
#include "tests/support/fake_units.h"

namespace orvanel::synth {
namespace {

using test::FakeUnits;

std::vector<std::int16_t> Contents(const SampleBuffer& buffer, std::uint32_t from = 0) {
  return std::vector<std::int16_t>(buffer.Samples() + from,
                                   buffer.Samples() + buffer.SampleCount());
}

std::vector<std::uint32_t> Starts(const SampleBuffer& buffer) {
  return std::vector<std::uint32_t>(buffer.UnitStarts().begin(), buffer.UnitStarts().end());
}

std::vector<std::int16_t> VowelRun(int unit, std::uint32_t copies) {
  std::vector<std::int16_t> out;
  for (std::uint32_t k = 0; k < copies; ++k) {
    for (std::uint32_t i = 0; i < FakeUnits::kVowelLength; ++i) {
      out.push_back(FakeUnits::VowelSample(unit, i));
    }
  }
  return out;
}

// The first stretch of text.
void Plan(std::string_view text, SegmentList& list) {
  std::int32_t position = 0;
  PlanStretch(text, position, list);
}

// Renders a stretch as the engine does: envelope, then the segment, for every position.
void RenderAll(const SegmentList& list, std::uint16_t speed, const UnitInventory& units,
               SampleBuffer& buffer) {
  for (std::size_t i = 0; i < list.Size(); ++i) {
    RenderSegment(list[i], BuildEnvelope(list, i), speed, units, buffer);
  }
}

// --- Durations and depths --------------------------------------------------------------------

TEST(VowelDurationMs, FollowsSpeedAndLetterCount) {
  struct Case {
    std::uint16_t speed;
    std::int32_t count;
    std::uint64_t ms;
  };
  const Case cases[] = {
      {0, 1, 2},
      {50, 1, 127},
      {99, 1, 250},
      {50, 2, 255},
      {0, 2, 5},
      {99, 3, 750},
      {65535, 1, 163840},
      // Past 32 bits, without wrapping: a run of 100000 letters at speed 99.
      {99, 100000, 25'000'000},
      {65535, 2147483647, 65536ull * 2147483647ull * 5 / 2},
      // No letters, no duration of its own.
      {50, 0, 0},
      {50, -3, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VowelDurationMs(c.speed, c.count), c.ms) << c.speed << " x " << c.count;
  }
}

TEST(GlideDepth, IsTheDoubleProductRoundedToSingle) {
  EXPECT_EQ(GlideDepth(0), 0.0f);
  EXPECT_EQ(GlideDepth(1), 0.2f);
  EXPECT_EQ(GlideDepth(2), 0.4f);
  for (std::int32_t steps : {3, 5, 9, 13, 18, 25, 100, -1}) {
    EXPECT_EQ(GlideDepth(steps), static_cast<float>(steps * 0.2)) << steps;
  }
  // The single-precision product would differ at these step counts.
  for (std::int32_t steps : {9, 13, 18}) {
    EXPECT_NE(GlideDepth(steps), static_cast<float>(steps) * 0.2f) << steps;
  }
}

// --- Envelopes -------------------------------------------------------------------------------

struct EnvelopeCase {
  const char* name;
  std::string_view text;
  std::vector<std::string> envelopes;  // one per segment
};

const EnvelopeCase kEnvelopes[] = {
    {"BeeFadesOutBeforeTheSentenceEnd", "Bee.", {"", "----\\", ""}},
    {"KalHasNoFade", "Kal", {"", "----", ""}},
    {"LaFadesInAfterACodaAndOutAtTheEnd", "la", {"", "/----\\"}},
    {"VowelBeforeABlankFadesOut", "a b", {"----\\", "", ""}},
    {"VowelBeforeACommaFadesOut", "a,", {"----\\", ""}},
    {"VowelBeforeAConsonantDoesNot", "aB", {"----", ""}},
    {"FirstVowelNeverFadesIn", "a", {"----\\"}},
    {"OnsetBeforeVowelGivesNoFadeIn", "Ba", {"", "----\\"}},
    {"FrontCodaCountsAsCoda", "~la", {"", "/----\\"}},
    {"PauseBeforeVowelGivesNoFadeIn", "l a", {"", "", "----\\"}},
};

class Envelope : public testing::TestWithParam<EnvelopeCase> {};

TEST_P(Envelope, FromTheNeighbours) {
  const EnvelopeCase& c = GetParam();
  SegmentList list;
  Plan(c.text, list);
  ASSERT_EQ(list.Size(), c.envelopes.size());
  for (std::size_t i = 0; i < list.Size(); ++i)
    EXPECT_EQ(BuildEnvelope(list, i), c.envelopes[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, Envelope, testing::ValuesIn(kEnvelopes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Envelope, PositionPastTheListIsEmpty) {
  SegmentList list;
  Plan("a", list);
  EXPECT_EQ(BuildEnvelope(list, 1), "");
  EXPECT_EQ(BuildEnvelope(SegmentList{}, 0), "");
}

// --- Dispatch --------------------------------------------------------------------------------

struct ConsonantCase {
  std::int32_t kind;
  std::int32_t index;
  bool front;
  int entry;
};

TEST(RenderSegment, ConsonantsPlayTheirEntryWhole) {
  const ConsonantCase cases[] = {
      {20, 10, true, 10},  // onset with FrontSet
      {4, 10, false, 10},  // onset, back set
      {8, 19, false, 19},  // coda, back set
      {24, 19, true, 19},  // coda with FrontSet
      {4, 11, false, 10},  // an odd onset still plays the onset entry
      {8, 10, false, 11},  // an even coda still plays the coda entry
      {4, 0, false, 0},   {8, 47, false, 47}, {20, 46, true, 46},
  };
  FakeUnits units;
  for (const ConsonantCase& c : cases) {
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    RenderSegment(Segment{c.kind, c.index, 1, 0, 0, 0}, "/----\\", 50, units.Inventory(), buffer);
    const std::uint32_t length =
        c.front ? FakeUnits::FrontLength(c.entry) : FakeUnits::BackLength(c.entry);
    const std::int16_t marker =
        c.front ? FakeUnits::FrontMarker(c.entry) : FakeUnits::BackMarker(c.entry);
    // The segment's envelope is not used: every sample is the marker.
    EXPECT_EQ(Contents(buffer), std::vector<std::int16_t>(length, marker))
        << c.kind << "/" << c.index;
    EXPECT_EQ(Starts(buffer), std::vector<std::uint32_t>{0});
  }
}

TEST(RenderSegment, ConsonantCountRepeatsTheUnit) {
  FakeUnits units;
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderSegment(Segment{KindCode(SegmentKind::kOnset), 2, 3, 0, 0, 0}, "", 50, units.Inventory(),
                buffer);
  const std::uint32_t length = FakeUnits::BackLength(2);
  EXPECT_EQ(Contents(buffer), std::vector<std::int16_t>(3 * length, FakeUnits::BackMarker(2)));
  EXPECT_EQ(Starts(buffer), (std::vector<std::uint32_t>{0, length, 2 * length}));
  RenderSegment(Segment{KindCode(SegmentKind::kOnset), 2, 0, 0, 0, 0}, "", 50, units.Inventory(),
                buffer);
  RenderSegment(Segment{KindCode(SegmentKind::kOnset), 2, -5, 0, 0, 0}, "", 50, units.Inventory(),
                buffer);
  EXPECT_EQ(buffer.SampleCount(), 3 * length);
}

TEST(RenderSegment, HugeConsonantCountStopsWhenTheBufferIsFull) {
  FakeUnits units;
  const std::uint32_t length = FakeUnits::BackLength(0);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(2 * (3 * length + 1), 50), 1);
  RenderSegment(Segment{KindCode(SegmentKind::kOnset), 0, 2147483647, 0, 0, 0}, "", 50,
                units.Inventory(), buffer);
  EXPECT_EQ(buffer.SampleCount(), 3 * length);
  EXPECT_LE(buffer.UnitStarts().Size(), 4u);
}

TEST(RenderSegment, PausesAreSilence) {
  FakeUnits units;
  for (const auto& [segment, samples] :
       {std::pair{Segment{KindCode(SegmentKind::kPause), 0, 1, 0, 0, 0}, 22u},
        std::pair{Segment{KindCode(SegmentKind::kPause), 0, 100, 0, 0, 0}, 2205u},
        std::pair{Segment{KindCode(SegmentKind::kSentenceEnd), 0, 700, 0, 0, 0}, 15435u},
        std::pair{Segment{KindCode(SegmentKind::kPause), 0, -1, 0, 0, 0}, 0u}}) {
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    RenderSegment(segment, "", 50, units.Inventory(), buffer);
    EXPECT_EQ(Contents(buffer), std::vector<std::int16_t>(samples, 0)) << segment.count;
    EXPECT_EQ(Starts(buffer), std::vector<std::uint32_t>{0});
  }
}

TEST(RenderSegment, OtherKindsRenderNothing) {
  FakeUnits units;
  for (std::int32_t kind : {0, 5, 6, 7, 9, 10, 12, 15, 16, 32, 48, -16}) {
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    RenderSegment(Segment{kind, 1, 1, 100, 1, 1}, "----", 50, units.Inventory(), buffer);
    EXPECT_EQ(buffer.SampleCount(), 0u) << kind;
    EXPECT_TRUE(buffer.UnitStarts().Empty()) << kind;
  }
}

TEST(RenderSegment, VowelIndexOutsideTheTableRendersNothing) {
  FakeUnits units;
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  for (std::int32_t index : {-1, -2, 16, 17, 1000}) {
    RenderSegment(Segment{KindCode(SegmentKind::kVowel), index, 1, 100, 1, 1}, "----", 50,
                  units.Inventory(), buffer);
  }
  for (std::int32_t index : {-1, 48, 49}) {
    RenderSegment(Segment{KindCode(SegmentKind::kOnset), index, 1, 0, 0, 0}, "", 50,
                  units.Inventory(), buffer);
  }
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_TRUE(buffer.UnitStarts().Empty());
}

// --- Vowels ----------------------------------------------------------------------------------

TEST(RenderStretch, BeeAtSpeed50) {
  FakeUnits units;
  SegmentList list;
  Plan("Bee.", list);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderAll(list, 50, units.Inventory(), buffer);

  // The same by hand: B whole, 28 periods of e (5432 samples), glided one step, faded out.
  SampleBuffer expected;
  ASSERT_EQ(expected.Begin(kStretchCapacityBytes, 50), 1);
  const std::vector<std::int16_t> b(FakeUnits::BackLength(0), FakeUnits::BackMarker(0));
  ASSERT_EQ(expected.AppendSamples(b.data(), b.size()), 1);
  const std::vector<std::int16_t> run = VowelRun(1, 28);
  ASSERT_EQ(run.size(), 5432u);
  ASSERT_EQ(expected.AppendSilence(0), 1);
  ASSERT_EQ(expected.AppendSamples(run.data(), run.size()), 1);
  ASSERT_EQ(expected.GlideLastUnit(0.2f, 1), 1);
  const std::uint32_t vowelLength = expected.SampleCount() - static_cast<std::uint32_t>(b.size());
  expected.ApplyEnvelope(static_cast<std::uint32_t>(b.size()), vowelLength, "----\\");
  ASSERT_EQ(expected.AppendSilence(700), 1);

  EXPECT_EQ(Contents(buffer), Contents(expected));
  const std::uint32_t bLength = FakeUnits::BackLength(0);
  EXPECT_EQ(Starts(buffer), (std::vector<std::uint32_t>{0, bLength, bLength + vowelLength}));
  EXPECT_LT(vowelLength, 5432u);
  EXPECT_GT(vowelLength, 5300u);
  EXPECT_EQ(buffer.UnitLength(2), 15435u);
  EXPECT_EQ(buffer.Samples()[bLength], FakeUnits::VowelSample(1, 0));  // not faded in
}

TEST(RenderVowel, Speed0Gives44SamplesOfThePeriod) {
  FakeUnits units;
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  // Without glide: exactly the first 44 samples.
  RenderSegment(Segment{KindCode(SegmentKind::kVowel), 0, 1, 100, 0, 1}, "----", 0,
                units.Inventory(), buffer);
  std::vector<std::int16_t> first44 = VowelRun(0, 1);
  first44.resize(44);
  EXPECT_EQ(Contents(buffer), first44);
  // With the default glide of one step the 44 samples are read a little faster.
  ASSERT_EQ(buffer.Release(), 1);
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderSegment(Segment{KindCode(SegmentKind::kVowel), 0, 1, 100, 1, 1}, "----", 0,
                units.Inventory(), buffer);
  SampleBuffer expected;
  ASSERT_EQ(expected.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(expected.AppendSilence(0), 1);
  ASSERT_EQ(expected.AppendSamples(first44.data(), 44), 1);
  ASSERT_EQ(expected.GlideLastUnit(0.2f, 1), 1);
  EXPECT_EQ(Contents(buffer), Contents(expected));
  EXPECT_LE(buffer.SampleCount(), 44u);
}

TEST(RenderVowel, VowelIndexPicksTheUnitByHalfIndex) {
  FakeUnits units;
  for (std::int32_t index = 0; index < 16; ++index) {
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    RenderSegment(Segment{KindCode(SegmentKind::kVowel), index, 1, 100, 0, 1}, "----", 0,
                  units.Inventory(), buffer);
    ASSERT_EQ(buffer.SampleCount(), 44u);
    EXPECT_EQ(buffer.Samples()[0], FakeUnits::VowelSample(index / 2, 0)) << index;
  }
}

TEST(RenderVowel, StressAndLateGlideAreApplied) {
  FakeUnits units;
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderSegment(Segment{KindCode(SegmentKind::kVowel), 9, 1, 90, 2, 2}, "/----", 50,
                units.Inventory(), buffer);

  SampleBuffer expected;
  ASSERT_EQ(expected.Begin(kStretchCapacityBytes, 50), 1);
  const std::vector<std::int16_t> run = VowelRun(4, 14);
  ASSERT_EQ(expected.AppendSilence(0), 1);
  ASSERT_EQ(expected.AppendSamples(run.data(), run.size()), 1);
  ASSERT_EQ(expected.StretchLastUnit(90), 1);
  ASSERT_EQ(expected.GlideLastUnit(0.4f, 2), 1);
  expected.ApplyEnvelope(0, expected.SampleCount(), "/----");
  EXPECT_EQ(Contents(buffer), Contents(expected));
  EXPECT_EQ(buffer.Samples()[0], 0);  // faded in from 0
}

TEST(RenderVowel, FortyFiveStressMarksRenderNoSamples) {
  FakeUnits units;
  SegmentList list;
  Plan("a" + std::string(45, '`'), list);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderAll(list, 50, units.Inventory(), buffer);
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_EQ(Starts(buffer), std::vector<std::uint32_t>{0});
}

TEST(RenderStretch, SpeedChangesTakeEffectFromTheNextVowel) {
  FakeUnits units;
  SegmentList list;
  Plan("aBa", list);
  ASSERT_EQ(list.Size(), 3u);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  const std::uint16_t speeds[] = {50, 50, 0};  // the slider moves after the first vowel
  for (std::size_t i = 0; i < list.Size(); ++i) {
    RenderSegment(list[i], BuildEnvelope(list, i), speeds[i], units.Inventory(), buffer);
  }
  ASSERT_EQ(buffer.UnitStarts().Size(), 3u);
  EXPECT_GT(buffer.UnitLength(0), 2600u);  // 2716 glided
  EXPECT_EQ(buffer.UnitLength(1), FakeUnits::BackLength(0));
  EXPECT_LE(buffer.UnitLength(2), 44u);  // 44 glided
  EXPECT_GT(buffer.UnitLength(2), 40u);
}

TEST(RenderVowel, LongRunOfOneVowelFillsTheBuffer) {
  // 100000 merged letters at speed 99: 25,000,000 ms. The vowel is as long as the buffer holds.
  FakeUnits units;
  const std::string text(100000, 'a');
  SegmentList list;
  Plan(text, list);
  ASSERT_EQ(list.Size(), 1u);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderSegment(Segment{KindCode(SegmentKind::kVowel), 1, list[0].count, 100, 0, 1}, "", 99,
                units.Inventory(), buffer);
  const std::uint32_t wholeCopies = kStretchCapacityBytes / 2 / FakeUnits::kVowelLength;
  EXPECT_EQ(buffer.SampleCount(), wholeCopies * FakeUnits::kVowelLength);

  // With its glide and fade: the same as gliding and fading the full buffer by hand.
  ASSERT_EQ(buffer.Release(), 1);
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  RenderAll(list, 99, units.Inventory(), buffer);
  SampleBuffer expected;
  ASSERT_EQ(expected.Begin(kStretchCapacityBytes, 50), 1);
  const std::vector<std::int16_t> run = VowelRun(0, wholeCopies);
  ASSERT_EQ(expected.AppendSilence(0), 1);
  ASSERT_EQ(expected.AppendSamples(run.data(), run.size()), 1);
  ASSERT_EQ(expected.GlideLastUnit(0.2f, 1), 1);
  expected.ApplyEnvelope(0, expected.SampleCount(), "----\\");
  EXPECT_EQ(Contents(buffer), Contents(expected));
  EXPECT_GT(buffer.SampleCount(), wholeCopies * FakeUnits::kVowelLength * 98 / 100);
}

}  // namespace
}  // namespace orvanel::synth
