#include "platform/alsa_wave_device.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "embedded/embedded_units.h"
#include "engine/speech_engine.h"
#include "frontend/text_to_phonetic.h"
#include "platform/linux_thread.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/wave_output.h"
#include "tests/support/recording_notify_target.h"

extern char** environ;

namespace orvanel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Two tones, so that a recording can be matched against the samples.
std::vector<std::int16_t> Tones(std::uint32_t count, std::uint32_t rate = 22050) {
  std::vector<std::int16_t> samples(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    samples[i] = static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * 440 * t) +
                                           6000 * std::sin(2 * M_PI * 660 * t));
  }
  return samples;
}

void FillBuffer(synth::SampleBuffer& buffer, const std::vector<std::int16_t>& samples) {
  ASSERT_EQ(buffer.Begin(synth::kStretchCapacityBytes, 50), 1);
  if (!samples.empty()) {
    ASSERT_EQ(buffer.AppendSamples(samples.data(), samples.size()), 1);
  }
}

std::vector<std::int16_t> ReadRaw(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return samples;
}

class AlsaFilePcm : public testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("orvanel_alsa_" + std::to_string(getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw");
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string PcmName() const { return "file:'" + path_.string() + "',raw"; }

  std::filesystem::path path_;
};

TEST_F(AlsaFilePcm, WritesTheExactSamples) {
  const auto samples = Tones(22050 / 2 + 17);
  synth::SampleBuffer buffer;
  FillBuffer(buffer, samples);
  AlsaWaveDevice device(PcmName());
  std::string message = "untouched";
  synth::ManualResetEvent stop;
  EXPECT_EQ(synth::Play(buffer, device, message, stop), 1);
  EXPECT_EQ(message, "untouched");
  EXPECT_EQ(ReadRaw(path_), samples);
}

TEST_F(AlsaFilePcm, EachOpenStartsTheFileAfresh) {
  synth::ManualResetEvent stop;
  std::string message;
  AlsaWaveDevice device(PcmName());
  synth::SampleBuffer first;
  FillBuffer(first, Tones(5000));
  ASSERT_EQ(synth::Play(first, device, message, stop), 1);
  const auto second = std::vector<std::int16_t>(300, 1234);
  synth::SampleBuffer buffer;
  FillBuffer(buffer, second);
  ASSERT_EQ(synth::Play(buffer, device, message, stop), 1);
  EXPECT_EQ(ReadRaw(path_), second);
}

TEST_F(AlsaFilePcm, PlaysAnEmptyBuffer) {
  synth::SampleBuffer buffer;
  FillBuffer(buffer, {});
  AlsaWaveDevice device(PcmName());
  std::string message;
  synth::ManualResetEvent stop;
  EXPECT_EQ(synth::Play(buffer, device, message, stop), 1);
  EXPECT_TRUE(ReadRaw(path_).empty());
}

TEST_F(AlsaFilePcm, AStopAlreadySetLetsNothingThrough) {
  synth::SampleBuffer buffer;
  FillBuffer(buffer, Tones(22050 * 3));
  AlsaWaveDevice device(PcmName());
  std::string message = "untouched";
  synth::ManualResetEvent stop;
  stop.Set();
  EXPECT_EQ(synth::Play(buffer, device, message, stop), 0);
  EXPECT_EQ(message, "untouched");
  EXPECT_LE(ReadRaw(path_).size(), 22050u / 10);
}

TEST(AlsaWaveDevice, AnUnknownPcmCannotBeOpened) {
  synth::SampleBuffer buffer;
  FillBuffer(buffer, Tones(100));
  AlsaWaveDevice device("orvanel_no_such_pcm");
  EXPECT_EQ(device.Open(buffer.Format()), synth::OpenResult::Failed);
  std::string message;
  synth::ManualResetEvent stop;
  EXPECT_EQ(synth::Play(buffer, device, message, stop), 0);
  EXPECT_EQ(message, synth::kCannotOpenWaveDevice);
}

TEST(AlsaWaveDevice, RefusesAFormatItCannotPlay) {
  synth::OutputFormat format;
  format.bitsPerSample = 8;
  AlsaWaveDevice device("null");
  EXPECT_EQ(device.Open(format), synth::OpenResult::BadFormat);
}

TEST(AlsaWaveDevice, TheEnvironmentNamesThePcm) {
  const char* saved = std::getenv(kPcmEnvironmentVariable);
  const std::string restore = saved != nullptr ? saved : "";
  setenv(kPcmEnvironmentVariable, "null", 1);
  EXPECT_EQ(AlsaWaveDevice::PcmNameFromEnvironment(), "null");
  EXPECT_EQ(AlsaWaveDevice().PcmName(), "null");
  unsetenv(kPcmEnvironmentVariable);
  EXPECT_EQ(AlsaWaveDevice::PcmNameFromEnvironment(), "default");
  if (saved != nullptr) setenv(kPcmEnvironmentVariable, restore.c_str(), 1);
}

// --- Through the sound server: what reaches the sink's monitor -------------------------------

// Records the test sink's monitor at 22050 Hz mono into a WAV file while alive.
class MonitorRecorder {
 public:
  MonitorRecorder(const std::string& sink, std::filesystem::path path) : path_(std::move(path)) {
    const std::string device = "-d" + sink + ".monitor";
    const std::string file = path_.string();
    const char* argv[] = {"parecord",          "--latency-msec=20", device.c_str(),
                          "--rate=22050",      "--channels=1",      "--format=s16le",
                          "--file-format=wav", file.c_str(),        nullptr};
    if (posix_spawnp(&pid_, "parecord", nullptr, nullptr, const_cast<char* const*>(argv),
                     environ) != 0) {
      pid_ = 0;
    }
  }
  ~MonitorRecorder() { Stop(); }
  bool Running() const { return pid_ > 0; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGINT);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = 0;
  }
  // The recorded samples: everything after the WAV file's "data" chunk header.
  std::vector<std::int16_t> Samples() const {
    std::ifstream in(path_, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto data = bytes.find("data");
    if (data == std::string::npos || data > 512) return {};
    std::vector<std::int16_t> samples((bytes.size() - data - 8) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const auto lo = static_cast<unsigned char>(bytes[data + 8 + 2 * i]);
      const auto hi = static_cast<unsigned char>(bytes[data + 9 + 2 * i]);
      samples[i] = static_cast<std::int16_t>(lo | (hi << 8));
    }
    return samples;
  }

 private:
  std::filesystem::path path_;
  pid_t pid_ = 0;
};

struct LoudRegion {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t Length() const { return end - begin; }
};

LoudRegion FindLoud(const std::vector<std::int16_t>& samples, int threshold = 2000) {
  LoudRegion region;
  bool found = false;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(samples[i]) > threshold) {
      if (!found) region.begin = i;
      found = true;
      region.end = i + 1;
    }
  }
  return region;
}

// Best normalised correlation of the original against the recording near offset.
double BestCorrelation(const std::vector<std::int16_t>& recorded, std::size_t offset,
                       const std::vector<std::int16_t>& original) {
  double best = -1;
  const std::size_t from = offset > 200 ? offset - 200 : 0;
  for (std::size_t lag = from; lag < offset + 200; ++lag) {
    double xy = 0, xx = 0, yy = 0;
    const std::size_t n =
        std::min(original.size(), recorded.size() - std::min(lag, recorded.size()));
    for (std::size_t i = 0; i < n; ++i) {
      xy += static_cast<double>(original[i]) * recorded[lag + i];
      xx += static_cast<double>(original[i]) * original[i];
      yy += static_cast<double>(recorded[lag + i]) * recorded[lag + i];
    }
    if (xx > 0 && yy > 0) best = std::max(best, xy / std::sqrt(xx * yy));
  }
  return best;
}

class AlsaSoundServer : public testing::Test {
 protected:
  void SetUp() override {
    const char* sink = std::getenv("ORVANEL_TEST_SINK");
    if (sink == nullptr || *sink == '\0') GTEST_SKIP() << "ORVANEL_TEST_SINK is not set";
    sink_ = sink;
    path_ = std::filesystem::temp_directory_path() /
            ("orvanel_capture_" + std::to_string(getpid()) + ".wav");
  }
  void TearDown() override { std::filesystem::remove(path_); }

  // Starts recording the sink's monitor and gives the recorder time to attach.
  std::unique_ptr<MonitorRecorder> StartRecording() {
    auto recorder = std::make_unique<MonitorRecorder>(sink_, path_);
    if (recorder->Running()) std::this_thread::sleep_for(500ms);
    return recorder;
  }
  // Lets the server play out what it still holds, then stops and returns the recording.
  static std::vector<std::int16_t> FinishRecording(MonitorRecorder& recorder) {
    std::this_thread::sleep_for(300ms);
    recorder.Stop();
    return recorder.Samples();
  }

  std::string sink_;
  std::filesystem::path path_;
};

// A buffer of samples ready for the real device "default".
struct Playback {
  explicit Playback(const std::vector<std::int16_t>& samples) { FillBuffer(buffer, samples); }
  int Play() { return synth::Play(buffer, device, message, stop); }

  synth::SampleBuffer buffer;
  AlsaWaveDevice device{"default"};
  std::string message;
  synth::ManualResetEvent stop;
};

TEST_F(AlsaSoundServer, TheRecordingHoldsTheSamples) {
  const auto samples = Tones(22050);
  const auto recorder = StartRecording();
  ASSERT_TRUE(recorder->Running());
  Playback playback(samples);
  const auto start = Clock::now();
  ASSERT_EQ(playback.Play(), 1) << playback.message;
  const auto played = Clock::now() - start;
  const auto recorded = FinishRecording(*recorder);
  const auto loud = FindLoud(recorded);
  const auto reference = FindLoud(samples);
  RecordProperty("play_ms", static_cast<int>(played / 1ms));
  RecordProperty("captured_samples", static_cast<int>(loud.Length()));
  EXPECT_GE(played, 900ms);
  EXPECT_NEAR(static_cast<double>(loud.Length()), static_cast<double>(reference.Length()), 2205);
  EXPECT_GT(BestCorrelation(recorded, loud.begin, samples), 0.9);
}

// The samples of one stretch of typed text, rendered as the engine renders it at speed and
// pitch 50.
std::vector<std::int16_t> RenderedStretch(const synth::UnitInventory& units, std::string text) {
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);
  synth::SegmentList list;
  std::int32_t position = 0;
  synth::PlanStretch(phonetic, position, list);
  synth::SampleBuffer buffer;
  buffer.Begin(synth::kStretchCapacityBytes, 50);
  for (std::size_t i = 0; i < list.Size(); ++i)
    synth::RenderSegment(list[i], synth::BuildEnvelope(list, i), 50, units, buffer);
  return {buffer.Samples(), buffer.Samples() + buffer.SampleCount()};
}

TEST_F(AlsaSoundServer, ASpokenSentenceReachesTheServerAsRendered) {
  const std::string sentence = "Merhaba d\xFCnya, bu bir denemedir.";
  embedded::EmbeddedUnitStore store;
  synth::UnitInventory units;
  std::string error;
  ASSERT_EQ(synth::LoadUnits(store, units, error), 1) << error;
  const auto rendered = RenderedStretch(units, sentence);

  const auto recorder = StartRecording();
  ASSERT_TRUE(recorder->Running());
  LinuxThreadFactory threads;
  engine::EngineServices services;
  services.units = &store;
  services.threads = &threads;
  services.makeDevice = [] { return std::make_unique<AlsaWaveDevice>("default"); };
  ASSERT_NE(engine::CreateSpeechEngine(error, services), nullptr) << error;
  test::RecordingNotifyTarget window;
  engine::SpeakText(sentence, &window, engine::kSpeechDoneMessage);
  const bool done = window.WaitFor(1, 10s);
  engine::ShutdownSpeechEngine();
  ASSERT_TRUE(done);
  const auto recorded = FinishRecording(*recorder);
  const auto loud = FindLoud(recorded);
  const auto reference = FindLoud(rendered);
  RecordProperty("captured_samples", static_cast<int>(loud.Length()));
  RecordProperty("rendered_samples", static_cast<int>(reference.Length()));
  EXPECT_NEAR(static_cast<double>(loud.Length()), static_cast<double>(reference.Length()), 441);
  const std::vector<std::int16_t> speech(rendered.begin() + reference.begin,
                                         rendered.begin() + reference.end);
  EXPECT_GT(BestCorrelation(recorded, loud.begin, speech), 0.9);
}

TEST_F(AlsaSoundServer, AStopCutsTheRecordingShort) {
  const auto recorder = StartRecording();
  ASSERT_TRUE(recorder->Running());
  Playback playback(Tones(22050 * 3));
  Clock::time_point stopped;
  std::thread stopper([&] {
    std::this_thread::sleep_for(400ms);
    stopped = Clock::now();
    playback.stop.Set();
  });
  EXPECT_EQ(playback.Play(), 0);
  const auto returned = Clock::now();
  stopper.join();
  const auto loud = FindLoud(FinishRecording(*recorder));
  RecordProperty("stop_to_return_ms", static_cast<int>((returned - stopped) / 1ms));
  RecordProperty("captured_ms", static_cast<int>(loud.Length() * 1000 / 22050));
  EXPECT_LT(returned - stopped, 500ms);
  // 400 ms were meant to be heard; far less than the three seconds of the buffer.
  EXPECT_GT(loud.Length(), 22050u / 10);
  EXPECT_LT(loud.Length(), 22050u);
}

}  // namespace
}  // namespace orvanel::platform
