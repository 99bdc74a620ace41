#include "synth/wave_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/fake_wave_device.h"

namespace orvanel::synth {
namespace {

using namespace std::chrono_literals;
using test::FakeAudio;

constexpr char kUntouched[] = "untouched";

// A buffer begun at pitch with count samples 0, 1, 2, ...
void Fill(SampleBuffer& buffer, std::uint16_t pitch, std::uint32_t count) {
  ASSERT_EQ(buffer.Begin(kStretchCapacityBytes, pitch), 1);
  std::vector<std::int16_t> samples(count);
  for (std::uint32_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(i % 30000);
  if (count > 0) {
    ASSERT_EQ(buffer.AppendSamples(samples.data(), count), 1);
  }
}

struct FormatCase {
  std::uint16_t pitch;
  std::uint32_t rate;
  std::uint32_t bytesPerSecond;
};

class WaveOutputFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(WaveOutputFormat, OpensTheDeviceAtTheRateOfThePitch) {
  const auto& c = GetParam();
  FakeAudio audio;
  SampleBuffer buffer;
  Fill(buffer, c.pitch, 10);
  EXPECT_EQ(buffer.Format().avgBytesPerSec, c.bytesPerSecond);
  auto device = audio.MakeDevice();
  std::string message = kUntouched;
  ManualResetEvent stop;
  EXPECT_EQ(Play(buffer, *device, message, stop), 1);
  EXPECT_EQ(audio.OpenAttempts(), std::vector<std::uint32_t>{c.rate});
  ASSERT_EQ(audio.WriteCount(), 1u);
  EXPECT_EQ(audio.Written()[0].rate, c.rate);
}

INSTANTIATE_TEST_SUITE_P(Pitches, WaveOutputFormat,
                         testing::Values(FormatCase{50, 22050, 44100}, FormatCase{1, 11246, 22492},
                                         FormatCase{100, 33075, 66150},
                                         FormatCase{0, 11025, 22050}));

struct RejectCase {
  const char* name;
  std::uint16_t pitch;
  std::vector<std::uint32_t> rejected;
  std::vector<std::uint32_t> attempts;
  int result;
  std::string message;
};

class WaveOutputRateLowering : public testing::TestWithParam<RejectCase> {};

TEST_P(WaveOutputRateLowering, LowersTheRateUntilTheDeviceTakesItOrItStopsChanging) {
  const auto& c = GetParam();
  FakeAudio audio;
  for (auto rate : c.rejected) audio.RejectRate(rate);
  SampleBuffer buffer;
  Fill(buffer, c.pitch, 100);
  auto device = audio.MakeDevice();
  std::string message = kUntouched;
  ManualResetEvent stop;
  EXPECT_EQ(Play(buffer, *device, message, stop), c.result);
  EXPECT_EQ(audio.OpenAttempts(), c.attempts);
  EXPECT_EQ(message, c.message);
  EXPECT_FALSE(audio.AnyOpen());
  if (c.result == 1) {
    ASSERT_EQ(audio.WriteCount(), 1u);
    EXPECT_EQ(audio.Written()[0].rate, c.attempts.back());
    // The lowered rate stays in the buffer's format for the rest of the stretch.
    EXPECT_EQ(buffer.Format().samplesPerSec, c.attempts.back());
    EXPECT_EQ(buffer.Format().avgBytesPerSec, 2 * c.attempts.back());
  } else {
    EXPECT_EQ(audio.WriteCount(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, WaveOutputRateLowering,
    testing::Values(
        RejectCase{"Rejects27562", 75, {27562}, {27562, 22050}, 1, kUntouched},
        RejectCase{"Rejects16538", 25, {16538}, {16538, 11025}, 1, kUntouched},
        RejectCase{"Rejects11246", 1, {11246}, {11246, 11025}, 1, kUntouched},
        RejectCase{"Rejects33075", 100, {33075}, {33075}, 0, kCannotOpenWaveDevice},
        RejectCase{"Rejects22050", 50, {22050}, {22050}, 0, kCannotOpenWaveDevice},
        RejectCase{"Rejects11025", 0, {11025}, {11025}, 0, kCannotOpenWaveDevice},
        RejectCase{"RejectsTheLoweredRateToo",
                   75,
                   {27562, 22050},
                   {27562, 22050},
                   0,
                   kCannotOpenWaveDevice},
        RejectCase{
            "Rejects16538And11025", 25, {16538, 11025}, {16538, 11025}, 0, kCannotOpenWaveDevice}),
    [](const testing::TestParamInfo<RejectCase>& info) { return info.param.name; });

class WaveOutput : public testing::Test {
 protected:
  int PlayBuffer() {
    auto device = audio_.MakeDevice();
    return Play(buffer_, *device, message_, stop_);
  }

  FakeAudio audio_;
  SampleBuffer buffer_;
  std::string message_ = kUntouched;
  ManualResetEvent stop_;
};

TEST_F(WaveOutput, PlaysTheWholeBufferAndLeavesTheMessage) {
  Fill(buffer_, 50, 4410);
  EXPECT_EQ(PlayBuffer(), 1);
  EXPECT_EQ(message_, kUntouched);
  ASSERT_EQ(audio_.WriteCount(), 1u);
  const auto written = audio_.Written()[0].samples;
  ASSERT_EQ(written.size(), 4410u);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), buffer_.Samples()));
  EXPECT_EQ(audio_.Resets(), 0);
  EXPECT_EQ(audio_.Opens(), 1);
  EXPECT_EQ(audio_.Closes(), 1);
}

TEST_F(WaveOutput, WritesAnEmptyBufferAsAnEmptyStretch) {
  Fill(buffer_, 50, 0);
  EXPECT_EQ(PlayBuffer(), 1);
  ASSERT_EQ(audio_.WriteCount(), 1u);
  EXPECT_TRUE(audio_.Written()[0].samples.empty());
  EXPECT_FALSE(audio_.AnyOpen());
}

TEST_F(WaveOutput, ReportsCannotOpenWhenTheDeviceFails) {
  Fill(buffer_, 50, 100);
  audio_.SetOpenFails(true);
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_EQ(message_, kCannotOpenWaveDevice);
  EXPECT_EQ(audio_.OpenAttempts().size(), 1u);
  EXPECT_EQ(audio_.WriteCount(), 0u);
}

TEST_F(WaveOutput, ReportsMemoryLockErrorForABufferWithoutMemory) {
  SampleBuffer noMemory([](std::size_t) -> std::int16_t* { return nullptr; });
  EXPECT_EQ(noMemory.Begin(kStretchCapacityBytes, 50), 0);
  auto device = audio_.MakeDevice();
  EXPECT_EQ(Play(noMemory, *device, message_, stop_), 0);
  EXPECT_EQ(message_, kMemoryLockError);
  EXPECT_EQ(audio_.WriteCount(), 0u);
  EXPECT_EQ(audio_.Opens(), 1);
  EXPECT_EQ(audio_.Closes(), 1);
}

TEST_F(WaveOutput, AFailedWriteClosesTheDeviceAndLeavesTheMessage) {
  Fill(buffer_, 50, 100);
  audio_.SetWriteFails(true);
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_EQ(message_, kUntouched);
  EXPECT_EQ(audio_.Opens(), 1);
  EXPECT_EQ(audio_.Closes(), 1);
}

TEST_F(WaveOutput, ADeviceThatFailsWhilePlayingIsNotReportedAsPlayed) {
  Fill(buffer_, 50, 100);
  audio_.SetFailWhilePlaying(true);
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_EQ(message_, kUntouched);
  EXPECT_EQ(audio_.Resets(), 0);
  EXPECT_EQ(audio_.Closes(), 1);
}

TEST_F(WaveOutput, AStopAlreadySetResetsTheDeviceAndReturnsZero) {
  Fill(buffer_, 50, 22050);
  audio_.SetAutoFinish(false);
  stop_.Set();
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_EQ(message_, kUntouched);
  EXPECT_EQ(audio_.Resets(), 1);
  EXPECT_FALSE(audio_.AnyOpen());
  // Playback only reads the stop event.
  EXPECT_TRUE(stop_.IsSet());
}

TEST_F(WaveOutput, DoneIsLookedAtBeforeStop) {
  Fill(buffer_, 50, 100);
  stop_.Set();  // the device finishes as soon as it is written
  EXPECT_EQ(PlayBuffer(), 1);
  EXPECT_EQ(audio_.Resets(), 0);
}

TEST_F(WaveOutput, AStopDuringPlaybackResetsTheDevice) {
  Fill(buffer_, 50, 22050);
  audio_.SetAutoFinish(false);
  audio_.SetOnWrite([this](std::size_t) { stop_.Set(); });
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_EQ(audio_.Resets(), 1);
  EXPECT_EQ(audio_.Closes(), 1);
}

TEST_F(WaveOutput, GivesUpOnADeviceThatNeverReportsDoneAfterAReset) {
  Fill(buffer_, 50, 100);
  audio_.SetAutoFinish(false);
  audio_.SetResetSignalsDone(false);
  stop_.Set();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(PlayBuffer(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_EQ(audio_.Resets(), 1);
  EXPECT_FALSE(audio_.AnyOpen());
}

TEST_F(WaveOutput, PlaysToTheEndWhenDoneArrivesWhileWaitingForStop) {
  Fill(buffer_, 50, 100);
  // Longer than one 100 ms done wait, so done arrives while the loop waits for stop.
  audio_.SetPlayDuration(150ms);
  EXPECT_EQ(PlayBuffer(), 1);
  EXPECT_EQ(audio_.Resets(), 0);
}

TEST_F(WaveOutput, FinishesWhenTheDeviceIsDoneLater) {
  Fill(buffer_, 50, 100);
  audio_.SetAutoFinish(false);
  audio_.SetOnWrite([this](std::size_t) { audio_.Finish(); });
  EXPECT_EQ(PlayBuffer(), 1);
  EXPECT_EQ(audio_.Resets(), 0);
}

}  // namespace
}  // namespace orvanel::synth
