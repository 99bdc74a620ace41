#include "synth/sample_buffer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

namespace orvanel::synth {
namespace {

constexpr std::int16_t kJunk = 0x5A5A;

// Sample memory filled with junk, so that written zeros can be told from untouched memory.
std::int16_t* JunkAllocator(std::size_t count) {
  auto* block = new (std::nothrow) std::int16_t[count];
  if (block != nullptr) std::fill_n(block, count, kJunk);
  return block;
}

// Gives the first `grant` allocations, then fails every later one.
SampleAllocator FailAfter(int grant) {
  return [left = grant](std::size_t count) mutable -> std::int16_t* {
    if (left <= 0) return nullptr;
    --left;
    return JunkAllocator(count);
  };
}

// A 194-sample period whose every sample is different and some are negative.
std::vector<std::int16_t> Period(std::uint32_t n = 194) {
  std::vector<std::int16_t> samples(n);
  for (std::uint32_t i = 0; i < n; ++i) samples[i] = static_cast<std::int16_t>(i * 37 - 3000);
  return samples;
}

UnitHandle Handle(const std::vector<std::int16_t>& samples) {
  return reinterpret_cast<UnitHandle>(samples.data());
}

std::vector<std::int16_t> Contents(const SampleBuffer& buffer) {
  return std::vector<std::int16_t>(buffer.Samples(), buffer.Samples() + buffer.SampleCount());
}

std::vector<std::uint32_t> Starts(const SampleBuffer& buffer) {
  return std::vector<std::uint32_t>(buffer.UnitStarts().begin(), buffer.UnitStarts().end());
}

// --- Durations and formats --------------------------------------------------------------------

TEST(MsToSamples, TruncatesAtTheBaseRate) {
  const std::pair<std::uint64_t, std::uint64_t> cases[] = {
      {0, 0},
      {1, 22},
      {2, 44},
      {100, 2205},
      {127, 2800},
      {255, 5622},
      {700, 15435},
      // Past 32 bits: 25,000,000 ms is a vowel of 100000 letters at speed 99.
      {25'000'000, 551'250'000},
      {200'000'000, 4'410'000'000}};
  for (const auto& [ms, samples] : cases) EXPECT_EQ(MsToSamples(ms), samples) << ms;
}

TEST(RateForPitch, FollowsThePitchTable) {
  const std::pair<std::uint16_t, std::uint32_t> cases[] = {
      {0, 11025}, {1, 11246}, {25, 16538}, {49, 21830}, {50, 22050}, {75, 27562}, {100, 33075}};
  for (const auto& [pitch, rate] : cases) {
    EXPECT_EQ(RateForPitch(pitch), rate) << pitch;
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(64, pitch), 1);
    const OutputFormat& format = buffer.Format();
    EXPECT_EQ(format.samplesPerSec, rate);
    EXPECT_EQ(format.avgBytesPerSec, 2 * rate);
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.blockAlign, 2);
    EXPECT_EQ(format.bitsPerSample, 16);
  }
}

TEST(SampleBuffer, LowerRateForDeviceRoundsDownToMultiplesOf11025) {
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {
      {27562, 22050}, {16538, 11025}, {11246, 11025}, {11025, 11025},
      {33075, 33075}, {22050, 22050}, {11024, 8000},  {0, 8000}};
  for (const auto& [from, to] : cases) {
    SampleBuffer buffer;
    OutputFormat format;
    format.samplesPerSec = from;
    format.avgBytesPerSec = 2 * from;
    buffer.SetFormat(format);
    buffer.LowerRateForDevice();
    EXPECT_EQ(buffer.Format().samplesPerSec, to) << from;
    EXPECT_EQ(buffer.Format().avgBytesPerSec, 2 * to) << from;
  }
}

// --- Begin, Release, appends -----------------------------------------------------------------

TEST(SampleBuffer, NewBufferIsEmpty) {
  SampleBuffer buffer;
  EXPECT_FALSE(buffer.HasStorage());
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_EQ(buffer.CapacityBytes(), 0u);
  EXPECT_TRUE(buffer.UnitStarts().Empty());
  EXPECT_EQ(buffer.Format(), OutputFormat{});
}

TEST(SampleBuffer, ReleaseFreesAndKeepsTheCapacity) {
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(1000, 50), 1);
  ASSERT_EQ(buffer.AppendSilence(10), 1);
  EXPECT_EQ(buffer.Release(), 1);
  EXPECT_FALSE(buffer.HasStorage());
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_TRUE(buffer.UnitStarts().Empty());
  EXPECT_EQ(buffer.UnitStarts().Capacity(), 0u);
  EXPECT_EQ(buffer.CapacityBytes(), 1000u);
  EXPECT_EQ(buffer.AppendSamples(nullptr, 1), 0);
}

TEST(SampleBuffer, AppendSamplesStopsAtTheCapacity) {
  const std::vector<std::int16_t> unit = Period(10);
  SampleBuffer buffer(JunkAllocator);
  ASSERT_EQ(buffer.Begin(41, 50), 1);  // room for 20 samples; the odd byte is never used
  EXPECT_EQ(buffer.AppendSamples(unit.data(), 10), 1);
  EXPECT_EQ(buffer.AppendSamples(unit.data(), 11), 0);
  EXPECT_EQ(buffer.SampleCount(), 10u);
  EXPECT_EQ(buffer.AppendSamples(nullptr, 10), 1);  // equality with the capacity is allowed
  EXPECT_EQ(buffer.SampleCount(), 20u);
  EXPECT_EQ(buffer.AppendSamples(nullptr, 1), 0);
  EXPECT_EQ(buffer.AppendSamples(nullptr, 0), 1);
  EXPECT_EQ(buffer.AppendSamples(nullptr, ~std::uint64_t{0}), 0);
  std::vector<std::int16_t> expected = unit;
  expected.resize(20, 0);
  EXPECT_EQ(Contents(buffer), expected);
}

struct UnitCase {
  const char* name;
  std::uint64_t ms;
  std::uint32_t copies;     // whole copies of the 194-sample period
  std::uint32_t remainder;  // then the first samples of one more copy
};

const UnitCase kUnitCases[] = {
    {"127msIsFourteenWholeCopies", 127, 14, 0},  // 2800 wanted, the 84 left over are dropped
    {"2msIsTheFirst44Samples", 2, 0, 44},
    {"0msIsTheWholeUnitOnce", 0, 1, 0},
    {"8msIsTheFirst176Samples", 8, 0, 176},
    {"9msIsOneCopy", 9, 1, 0},  // 198 wanted
    {"255msIs28Copies", 255, 28, 0},
};

class AppendUnitDuration : public testing::TestWithParam<UnitCase> {};

TEST_P(AppendUnitDuration, RepeatsWholeCopiesOrCuts) {
  const UnitCase& c = GetParam();
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(JunkAllocator);
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, c.ms, 100, 0.0f, 1, ""), 1);
  std::vector<std::int16_t> expected;
  for (std::uint32_t k = 0; k < c.copies; ++k)
    expected.insert(expected.end(), unit.begin(), unit.end());
  expected.insert(expected.end(), unit.begin(), unit.begin() + c.remainder);
  EXPECT_EQ(Contents(buffer), expected);
  EXPECT_EQ(Starts(buffer), std::vector<std::uint32_t>{0});
}

INSTANTIATE_TEST_SUITE_P(Cases, AppendUnitDuration, testing::ValuesIn(kUnitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SampleBuffer, AppendSilenceAddsOneUnitOfZeros) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(JunkAllocator);
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 0, 100, 0.0f, 1, ""), 1);
  ASSERT_EQ(buffer.AppendSilence(700), 1);
  EXPECT_EQ(buffer.SampleCount(), 194u + 15435u);
  EXPECT_EQ(Starts(buffer), (std::vector<std::uint32_t>{0, 194}));
  EXPECT_EQ(buffer.UnitLength(0), 194u);
  EXPECT_EQ(buffer.UnitLength(1), 15435u);
  EXPECT_EQ(buffer.UnitLength(2), 0u);
  for (std::uint32_t i = 194; i < buffer.SampleCount(); ++i) {
    ASSERT_EQ(buffer.Samples()[i], 0) << i;
  }
}

TEST(SampleBuffer, UnitsPastTheCapacityAreRecordedEmpty) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(JunkAllocator);
  ASSERT_EQ(buffer.Begin(2 * 1000, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 100, 0.0f, 1, ""), 1);  // 5 of 14 fit
  EXPECT_EQ(buffer.SampleCount(), 5u * 194u);
  EXPECT_EQ(buffer.AppendSilence(100), 0);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 0, 95, 0.2f, 2, "/----\\"), 1);
  EXPECT_EQ(buffer.SampleCount(), 5u * 194u);
  EXPECT_EQ(Starts(buffer), (std::vector<std::uint32_t>{0, 970, 970}));
  EXPECT_EQ(buffer.UnitLength(1), 0u);
  EXPECT_EQ(buffer.UnitLength(2), 0u);
  // Shaping the empty last unit changes nothing.
  const std::vector<std::int16_t> before = Contents(buffer);
  EXPECT_EQ(buffer.StretchLastUnit(50), 1);
  EXPECT_EQ(buffer.GlideLastUnit(0.4f, 1), 1);
  EXPECT_EQ(Contents(buffer), before);
}

TEST(SampleBuffer, AppendUnitStopsAtTheFirstCopyThatDoesNotFit) {
  // 2^40 ms wanted: billions of copies, of which only those that fit are tried.
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(JunkAllocator);
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, std::uint64_t{1} << 40, 100, 0.0f, 1, ""), 1);
  EXPECT_EQ(buffer.SampleCount(), (kStretchCapacityBytes / 2 / 194) * 194);
  // A duration whose sample count would wrap 64 bits saturates instead.
  ASSERT_EQ(buffer.Release(), 1);
  ASSERT_EQ(buffer.Begin(2 * 400, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, ~std::uint64_t{0}, 100, 0.0f, 1, ""), 1);
  EXPECT_EQ(buffer.SampleCount(), 388u);
}

TEST(SampleBuffer, UnitWithoutSamplesRecordsNothing) {
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(1000, 50), 1);
  EXPECT_EQ(buffer.AppendUnit(nullptr, 194, 127, 100, 0.2f, 1, "----\\"), 0);
  const std::vector<std::int16_t> unit = Period();
  const UnitHandle misaligned = Handle(unit) + 1;
  EXPECT_EQ(buffer.AppendUnit(misaligned, 10, 0, 100, 0.0f, 1, ""), 0);
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_TRUE(buffer.UnitStarts().Empty());
}

TEST(SampleBuffer, UnitOfLengthZeroAppendsNothing) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(1000, 50), 1);
  EXPECT_EQ(buffer.AppendUnit(Handle(unit), 0, 127, 100, 0.2f, 1, "----\\"), 1);
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_EQ(Starts(buffer), std::vector<std::uint32_t>{0});
}

TEST(SampleBuffer, BufferWhoseBeginFailedAppendsNothing) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(FailAfter(0));
  EXPECT_EQ(buffer.Begin(kStretchCapacityBytes, 75), 0);
  EXPECT_EQ(buffer.Format().samplesPerSec, 27562u);  // the format is set even so
  EXPECT_FALSE(buffer.HasStorage());
  EXPECT_EQ(buffer.AppendSamples(unit.data(), 10), 0);
  EXPECT_EQ(buffer.AppendSamples(nullptr, 10), 0);
  EXPECT_EQ(buffer.AppendSilence(700), 0);
  buffer.AppendUnit(Handle(unit), 194, 127, 95, 0.2f, 1, "/----\\");
  EXPECT_EQ(buffer.StretchLastUnit(95), 0);
  EXPECT_EQ(buffer.GlideLastUnit(0.2f, 1), 0);
  buffer.ApplyEnvelope(0, 100, "/----\\");
  EXPECT_EQ(buffer.SampleCount(), 0u);
  EXPECT_EQ(buffer.Samples(), nullptr);
  for (std::size_t k = 0; k < buffer.UnitStarts().Size(); ++k) EXPECT_EQ(buffer.UnitLength(k), 0u);
}

TEST(SampleBuffer, BufferNeverBegunAppendsNothing) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer;
  EXPECT_EQ(buffer.AppendSamples(unit.data(), 1), 0);
  EXPECT_EQ(buffer.AppendSilence(1), 0);
  EXPECT_EQ(buffer.StretchLastUnit(50), 0);
  EXPECT_EQ(buffer.GlideLastUnit(0.2f, 2), 0);
  EXPECT_EQ(buffer.SampleCount(), 0u);
}

// --- Stretch ---------------------------------------------------------------------------------

std::vector<std::int16_t> Repeated(const std::vector<std::int16_t>& unit, std::uint32_t copies) {
  std::vector<std::int16_t> out;
  for (std::uint32_t k = 0; k < copies; ++k) out.insert(out.end(), unit.begin(), unit.end());
  return out;
}

TEST(StretchLastUnit, ResamplesToThePercentage) {
  const std::vector<std::int16_t> unit = Period();
  const std::vector<std::int16_t> run = Repeated(unit, 14);  // 2716 samples
  for (std::uint32_t percent : {95u, 90u, 76u, 50u, 1u, 100u, 150u, 200u, 0u}) {
    SampleBuffer buffer(JunkAllocator);
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    ASSERT_EQ(buffer.AppendSilence(1), 1);  // 22 samples before the unit
    ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 100, 0.0f, 1, ""), 1);
    ASSERT_EQ(buffer.StretchLastUnit(percent), 1) << percent;
    const std::uint32_t newLen = 2716 * percent / 100;
    ASSERT_EQ(buffer.SampleCount(), 22 + newLen) << percent;
    for (std::uint32_t i = 0; i < newLen; ++i) {
      ASSERT_EQ(buffer.Samples()[22 + i], run[i * 100 / percent]) << percent << " at " << i;
    }
  }
}

TEST(StretchLastUnit, Ninety5PercentOf2716Is2580) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 95, 0.0f, 1, ""), 1);
  EXPECT_EQ(buffer.SampleCount(), 2580u);
  EXPECT_EQ(buffer.Samples()[2579], unit[(2579 * 100 / 95) % 194]);
}

TEST(StretchLastUnit, RefusedWhenOldAndNewUnitWouldPassTheCapacity) {
  const std::vector<std::int16_t> unit = Period();
  for (const auto& [capacitySamples, accepted] :
       {std::pair{2716u + 2579u, false}, std::pair{2716u + 2580u, true}}) {
    SampleBuffer buffer(JunkAllocator);
    ASSERT_EQ(buffer.Begin(2 * capacitySamples, 50), 1);
    ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 100, 0.0f, 1, ""), 1);
    const std::vector<std::int16_t> before = Contents(buffer);
    EXPECT_EQ(buffer.StretchLastUnit(95), accepted ? 1 : 0);
    if (accepted) {
      EXPECT_EQ(buffer.SampleCount(), 2580u);
    } else {
      EXPECT_EQ(Contents(buffer), before);
    }
  }
}

TEST(StretchLastUnit, WithoutScratchMemoryChangesNothing) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(FailAfter(1));  // the sample memory, then nothing
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 95, 0.2f, 1, ""), 1);
  EXPECT_EQ(Contents(buffer), Repeated(unit, 14));
  EXPECT_EQ(buffer.StretchLastUnit(95), 0);
  EXPECT_EQ(Contents(buffer), Repeated(unit, 14));
}

// --- Glide -----------------------------------------------------------------------------------

// The glide written out step by step, as the direct formula states it.
struct ReferenceGlide {
  std::vector<std::uint64_t> positions;
  std::vector<double> steps;
};

ReferenceGlide Reference(std::uint32_t n, float d, int shape) {
  ReferenceGlide out;
  double pos = 0.0;
  std::uint64_t i = 0;
  while (pos < n) {
    out.positions.push_back(static_cast<std::uint64_t>(pos));
    const double numerator = shape == 1
                                 ? 5.0 * static_cast<double>(i)
                                 : 5.0 * (static_cast<double>(n) - 1.0 - static_cast<double>(i));
    const float e = static_cast<float>(numerator / n);
    const double step = 1.0 + static_cast<double>(d) * std::exp(-static_cast<double>(e)) *
                                  (1.0 - std::pow(2.0, -static_cast<double>(e)));
    out.steps.push_back(step);
    pos += step;
    ++i;
  }
  return out;
}

struct GlideKey {
  std::uint32_t n;
  float depth;
  int shape;
};

std::vector<GlideKey> GlideKeys() {
  std::vector<GlideKey> keys;
  for (std::uint32_t n : {1u, 2u, 5u, 44u, 194u, 2580u, 2716u, 5432u, 70000u}) {
    for (float depth : {0.2f, 0.4f, static_cast<float>(9 * 0.2), 3.0f, 0.0f}) {
      for (int shape : {1, 2}) keys.push_back({n, depth, shape});
    }
  }
  return keys;
}

TEST(GlideLastUnit, StepsAndPositionsEqualTheDirectFormulaBitForBit) {
  for (const GlideKey& key : GlideKeys()) {
    const ReferenceGlide reference = Reference(key.n, key.depth, key.shape);
    for (std::size_t i = 0; i < reference.steps.size(); ++i) {
      const double step =
          detail::GlideStep(static_cast<std::int64_t>(i), key.n, key.depth, key.shape);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(step),
                std::bit_cast<std::uint64_t>(reference.steps[i]))
          << key.n << " " << key.depth << " " << key.shape << " at " << i;
    }
    detail::GlideCache cache;
    std::uint32_t count = 0;
    const std::uint32_t* positions = cache.Positions(key.n, key.depth, key.shape, count);
    if (key.n > detail::GlideCache::kMaxCachedLength) {
      EXPECT_EQ(positions, nullptr);
      continue;
    }
    ASSERT_NE(positions, nullptr);
    ASSERT_EQ(count, reference.positions.size());
    for (std::uint32_t i = 0; i < count; ++i) {
      ASSERT_EQ(positions[i], reference.positions[i]) << key.n << " at " << i;
    }
  }
}

TEST(GlideLastUnit, CachedAndDirectPathsGiveTheReferenceSamples) {
  // Every key twice, so the second round is served by the cache (more keys than its entries,
  // so entries are also replaced).
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  std::vector<std::int16_t> unit(70000);
  for (std::size_t i = 0; i < unit.size(); ++i) unit[i] = static_cast<std::int16_t>(i * 7 + 1);
  const std::vector<GlideKey> keys = GlideKeys();
  for (int round = 0; round < 2; ++round) {
    for (const GlideKey& key : keys) {
      ASSERT_EQ(buffer.Release(), 1);
      ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
      ASSERT_EQ(buffer.AppendSilence(1), 1);
      ASSERT_EQ(buffer.AppendSilence(0), 1);  // the unit to glide starts at 22
      ASSERT_EQ(buffer.AppendSamples(unit.data(), key.n), 1);
      ASSERT_EQ(buffer.GlideLastUnit(key.depth, key.shape), 1);
      const ReferenceGlide reference = Reference(key.n, key.depth, key.shape);
      ASSERT_EQ(buffer.SampleCount(), 22 + reference.positions.size())
          << key.n << " " << key.depth << " " << key.shape;
      for (std::size_t i = 0; i < reference.positions.size(); ++i) {
        ASSERT_EQ(buffer.Samples()[22 + i], unit[reference.positions[i]]) << key.n << " at " << i;
      }
    }
  }
}

TEST(GlideLastUnit, OneStepShortensA2716SampleVowelByAbout43) {
  for (int shape : {1, 2}) {
    const std::vector<std::int16_t> unit = Period();
    SampleBuffer buffer;
    ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
    ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 100, 0.2f, shape, ""), 1);
    EXPECT_GE(buffer.SampleCount(), 2716u - 46u);
    EXPECT_LE(buffer.SampleCount(), 2716u - 40u);
  }
}

TEST(GlideLastUnit, WithoutScratchMemoryChangesNothing) {
  const std::vector<std::int16_t> unit = Period();
  SampleBuffer buffer(FailAfter(1));
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 127, 100, 0.2f, 1, ""), 1);
  EXPECT_EQ(Contents(buffer), Repeated(unit, 14));
  EXPECT_EQ(buffer.GlideLastUnit(0.2f, 1), 0);
  EXPECT_EQ(Contents(buffer), Repeated(unit, 14));
}

TEST(GlideLastUnit, NegativeDepthLengthensButStopsAtTheCapacity) {
  const std::vector<std::int16_t> unit = Period();
  // A moderate negative depth slows the reading: the unit grows, every sample from the unit.
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, 50), 1);
  ASSERT_EQ(buffer.AppendUnit(Handle(unit), 194, 0, 100, -2.0f, 1, ""), 1);
  const ReferenceGlide reference = Reference(194, -2.0f, 1);
  ASSERT_EQ(buffer.SampleCount(), reference.positions.size());
  EXPECT_GT(buffer.SampleCount(), 194u);
  for (std::size_t i = 0; i < reference.positions.size(); ++i) {
    ASSERT_EQ(buffer.Samples()[i], unit[reference.positions[i]]);
  }
  // A depth so negative that the reading stalls or runs backwards ends without leaving the
  // buffer or the unit.
  for (float depth : {-6.0f, -1000.0f, -1e30f}) {
    for (int shape : {1, 2}) {
      SampleBuffer small;
      ASSERT_EQ(small.Begin(2 * 1000, 50), 1);
      ASSERT_EQ(small.AppendUnit(Handle(unit), 194, 0, 100, depth, shape, ""), 1);
      EXPECT_LE(small.SampleCount(), 1000u) << depth;
    }
  }
}

// --- Envelope --------------------------------------------------------------------------------

std::vector<std::int16_t> Signal(std::uint32_t n) {
  std::vector<std::int16_t> samples(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    samples[i] = static_cast<std::int16_t>((i * 7919) % 65536 - 32768);
  }
  return samples;
}

// Buffer holding `lead` zeros then the signal of n samples.
void Fill(SampleBuffer& buffer, std::uint32_t lead, const std::vector<std::int16_t>& signal) {
  ASSERT_EQ(buffer.Begin(2 * (lead + static_cast<std::uint32_t>(signal.size())), 50), 1);
  ASSERT_EQ(buffer.AppendSamples(nullptr, lead), 1);
  ASSERT_EQ(buffer.AppendSamples(signal.data(), signal.size()), 1);
}

TEST(ApplyEnvelope, FadeInOverTheFirstFifth) {
  const std::vector<std::int16_t> signal = Signal(1000);
  SampleBuffer buffer;
  Fill(buffer, 10, signal);
  buffer.ApplyEnvelope(10, 1000, "/----");
  for (std::int64_t j = 0; j < 1000; ++j) {
    const std::int64_t expected = j < 200 ? j * signal[j] / 200 : signal[j];
    ASSERT_EQ(buffer.Samples()[10 + j], expected) << j;
  }
  EXPECT_EQ(buffer.Samples()[10], 0);
}

TEST(ApplyEnvelope, FadeOutOverTheLastFifth) {
  const std::vector<std::int16_t> signal = Signal(1000);
  SampleBuffer buffer;
  Fill(buffer, 0, signal);
  buffer.ApplyEnvelope(0, 1000, "----\\");
  for (std::int64_t j = 0; j < 1000; ++j) {
    const std::int64_t expected = j >= 800 ? (1000 - j) * signal[j] / 200 : signal[j];
    ASSERT_EQ(buffer.Samples()[j], expected) << j;
  }
  EXPECT_EQ(buffer.Samples()[800], signal[800]);  // 200 / 200
}

TEST(ApplyEnvelope, TruncatesTowardZero) {
  const std::vector<std::int16_t> signal(10, -7);
  SampleBuffer buffer;
  Fill(buffer, 0, signal);
  buffer.ApplyEnvelope(0, 10, "/");
  const std::vector<std::int16_t> expected = {0, 0, -1, -2, -2, -3, -4, -4, -5, -6};
  EXPECT_EQ(Contents(buffer), expected);
}

TEST(ApplyEnvelope, EmptySharesAreSkipped) {
  const std::vector<std::int16_t> four = {1000, -1000, 2000, -2000};
  SampleBuffer buffer;
  Fill(buffer, 0, four);
  buffer.ApplyEnvelope(0, 4, "/----\\");  // the "/" share is empty, the "\" share is 1 sample
  EXPECT_EQ(Contents(buffer), four);

  const std::vector<std::int16_t> seven = {1000, 1000, 1000, 1000, 1000, 1000, 1000};
  Fill(buffer, 0, seven);
  buffer.ApplyEnvelope(0, 7, "/----\\");
  const std::vector<std::int16_t> expected = {0, 1000, 1000, 1000, 1000, 1000, 500};
  EXPECT_EQ(Contents(buffer), expected);
}

TEST(ApplyEnvelope, EmptyOrSteadyEnvelopeChangesNothing) {
  const std::vector<std::int16_t> signal = Signal(500);
  for (std::string_view envelope : {"", "----", "-", "xyz"}) {
    SampleBuffer buffer;
    Fill(buffer, 0, signal);
    buffer.ApplyEnvelope(0, 500, envelope);
    EXPECT_EQ(Contents(buffer), signal) << envelope;
  }
}

TEST(ApplyEnvelope, LongUnitGetsExactFactors) {
  // 1,000,000 samples: the fade products reach 200,000 x 32767, past 32 bits.
  const std::vector<std::int16_t> signal(1'000'000, 32767);
  SampleBuffer buffer;
  Fill(buffer, 0, signal);
  buffer.ApplyEnvelope(0, 1'000'000, "/----\\");
  const std::int64_t share = 1'000'000 / 6;  // 166,666
  for (std::int64_t j = 0; j < 1'000'000; j += 997) {
    std::int64_t expected = 32767;
    const std::int64_t lastFrom = 1'000'000 * 5 / 6;
    if (j < share) expected = j * 32767 / share;
    if (j >= lastFrom) expected = (1'000'000 - j) * 32767 / (1'000'000 - lastFrom);
    ASSERT_EQ(buffer.Samples()[j], expected) << j;
  }
  EXPECT_EQ(buffer.Samples()[share - 1], (share - 1) * 32767 / share);
  EXPECT_EQ(buffer.Samples()[999'999], 32767 / (1'000'000 - 1'000'000 * 5 / 6));
  for (std::int64_t j = share; j < 1'000'000 * 5 / 6; j += 1001)
    ASSERT_EQ(buffer.Samples()[j], 32767);
}

TEST(ApplyEnvelope, RangeOutsideTheWrittenSamplesIsLeftAlone) {
  const std::vector<std::int16_t> signal = Signal(100);
  SampleBuffer buffer;
  ASSERT_EQ(buffer.Begin(100000, 50), 1);
  ASSERT_EQ(buffer.AppendSamples(signal.data(), 100), 1);
  buffer.ApplyEnvelope(50, 51, "/");
  buffer.ApplyEnvelope(0xFFFFFFF0u, 0x20, "\\");
  EXPECT_EQ(Contents(buffer), signal);
}

// --- The whole of AppendUnit -----------------------------------------------------------------

TEST(AppendUnit, StretchesThenGlidesThenEnvelopesTheUnit) {
  const std::vector<std::int16_t> unit = Period();
  for (std::string_view envelope : {"----", "/----", "----\\", "/----\\"}) {
    SampleBuffer whole;
    ASSERT_EQ(whole.Begin(kStretchCapacityBytes, 50), 1);
    ASSERT_EQ(whole.AppendSilence(3), 1);
    ASSERT_EQ(whole.AppendUnit(Handle(unit), 194, 255, 90, 0.4f, 2, envelope), 1);

    SampleBuffer steps;
    ASSERT_EQ(steps.Begin(kStretchCapacityBytes, 50), 1);
    ASSERT_EQ(steps.AppendSilence(3), 1);
    ASSERT_EQ(steps.AppendSilence(0), 1);
    for (int k = 0; k < 28; ++k) ASSERT_EQ(steps.AppendSamples(unit.data(), 194), 1);
    ASSERT_EQ(steps.StretchLastUnit(90), 1);
    ASSERT_EQ(steps.GlideLastUnit(0.4f, 2), 1);
    steps.ApplyEnvelope(66, steps.SampleCount() - 66, envelope);

    EXPECT_EQ(Contents(whole), Contents(steps)) << envelope;
    EXPECT_EQ(Starts(whole), Starts(steps));
  }
}

}  // namespace
}  // namespace orvanel::synth
