// What a full buffer could not take is counted, so a cut stretch can be reported.
#include <gtest/gtest.h>

#include <vector>

#include "synth/sample_buffer.h"

namespace orvanel::synth {
namespace {

UnitHandle Handle(const std::vector<std::int16_t>& samples) {
  return reinterpret_cast<UnitHandle>(samples.data());
}

TEST(DroppedSamples, CountsEveryRefusedAppendUntilTheNextBegin) {
  const std::vector<std::int16_t> period(194, 100);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(2 * 1000, 50), 1);
  EXPECT_EQ(buffer.DroppedSamples(), 0u);
  // 127 ms asks for 2800 samples, 14 periods; 5 fit (970 samples) and 9 are left out.
  buffer.AppendUnit(Handle(period), 194, 127, 100, 0.0f, 1, "");
  EXPECT_EQ(buffer.SampleCount(), 970u);
  EXPECT_EQ(buffer.DroppedSamples(), 9u * 194u);
  // A 100 ms pause (2205 samples) no longer fits at all.
  buffer.AppendSilence(100);
  EXPECT_EQ(buffer.DroppedSamples(), 9u * 194u + 2205u);
  // 30 samples still fit and drop nothing.
  buffer.AppendSamples(nullptr, 30);
  EXPECT_EQ(buffer.DroppedSamples(), 9u * 194u + 2205u);
  buffer.Release();
  EXPECT_EQ(buffer.DroppedSamples(), 0u);
  ASSERT_EQ(buffer.Begin(2 * 1000, 50), 1);
  EXPECT_EQ(buffer.DroppedSamples(), 0u);
}

TEST(DroppedSamples, AHugeVowelCountsWithoutOverflow) {
  const std::vector<std::int16_t> period(194, 100);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  const std::uint64_t ms = 1'000'000'000'000ull;
  buffer.AppendUnit(Handle(period), 194, ms, 100, 0.0f, 1, "");
  const std::uint64_t copies = MsToSamples(ms) / 194;
  EXPECT_EQ(buffer.SampleCount(), 5405u * 194u);
  EXPECT_EQ(buffer.DroppedSamples(), (copies - 5405) * 194);
}

TEST(DroppedSamples, ABufferWithoutMemoryDropsEverything) {
  SampleBuffer buffer([](std::size_t) -> std::int16_t* { return nullptr; });
  EXPECT_EQ(buffer.Begin(1000, 50), 0);
  buffer.AppendSilence(700);
  EXPECT_EQ(buffer.DroppedSamples(), 15435u);
}

}  // namespace
}  // namespace orvanel::synth
