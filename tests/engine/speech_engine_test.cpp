#include "engine/speech_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux_thread.h"
#include "synth/segment_planner.h"
#include "tests/support/fake_unit_store.h"
#include "tests/support/fake_wave_device.h"
#include "tests/support/recording_notify_target.h"

namespace orvanel::engine {
namespace {

using namespace std::chrono_literals;

// Generous bounds: they only catch a worker that hangs.
constexpr auto kPatience = 10s;

// Texts are Windows-1254 bytes. Three sentences, each one stretch.
const std::string kThreeSentences = "Ali geldi. Veli gitti. Kedi uyudu.";
const std::string kOneSentence = "Ali eve geldi ve kitap okudu.";

std::size_t CountStretches(std::string text) {
  std::string phonetic;
  TranscribeText(text, phonetic);
  std::int32_t position = 0;
  synth::SegmentList list;
  std::size_t n = 0;
  while (synth::PlanStretch(phonetic, position, list) != 0) ++n;
  return n;
}

class SpeechEngine : public testing::Test {
 protected:
  void TearDown() override { ShutdownSpeechEngine(); }

  EngineServices Services() {
    EngineServices services;
    services.units = &units_;
    services.makeDevice = audio_.Factory();
    services.threads = &threads_;
    services.onUtteranceStart = [this] { ++utterances_; };
    services.onSegmentRendered = [this](std::size_t i, std::size_t n) {
      if (onSegment_) onSegment_(i, n);
    };
    return services;
  }

  ThreadHandle Create() {
    std::string error;
    ThreadHandle handle = CreateSpeechEngine(error, Services());
    EXPECT_NE(handle, nullptr) << error;
    return handle;
  }

  // Speaks text and waits for its message.
  void SpeakAndWait(const std::string& text) {
    const auto before = window_.Count();
    SpeakText(text, &window_, kSpeechDoneMessage);
    ASSERT_TRUE(window_.WaitFor(before + 1, kPatience));
  }

  test::FakeUnitStore units_;
  test::FakeAudio audio_;
  platform::LinuxThreadFactory threads_;
  test::RecordingNotifyTarget window_;
  std::atomic<int> utterances_{0};
  // Set before the engine speaks; called on the worker.
  std::function<void(std::size_t, std::size_t)> onSegment_;
};

TEST(SpeechEngineAbsent, ReadsDefaultsAndLosesSettings) {
  ShutdownSpeechEngine();  // harmless without an engine
  EXPECT_EQ(GetPitch(), 50u);
  EXPECT_EQ(GetSpeed(), 50u);
  EXPECT_EQ(GetEngineThread(), nullptr);
  SetPitch(80);
  SetSpeed(20);
  EXPECT_EQ(GetPitch(), 50u);
  EXPECT_EQ(GetSpeed(), 50u);
  EXPECT_EQ(StopSpeaking(), 0);
}

TEST_F(SpeechEngine, SettingsBeforeCreationAreLost) {
  SetPitch(80);
  SetSpeed(20);
  Create();
  EXPECT_EQ(GetPitch(), 50u);
  EXPECT_EQ(GetSpeed(), 50u);
}

TEST_F(SpeechEngine, CreationGivesARunningWorkerWithAKernelId) {
  ThreadHandle handle = Create();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GetEngineThread(), handle);
  EXPECT_GT(handle->NativeId(), 0);
}

TEST_F(SpeechEngine, StoresTheLow16BitsOfPitchAndSpeed) {
  Create();
  SetPitch(0x10000 + 70);
  SetSpeed(0x30000 + 5);
  EXPECT_EQ(GetPitch(), 70u);
  EXPECT_EQ(GetSpeed(), 5u);
}

struct LoadFailureCase {
  const char* name;
  bool malformed;
};

class SpeechEngineLoadFailure : public SpeechEngine,
                                public testing::WithParamInterface<LoadFailureCase> {};

TEST_P(SpeechEngineLoadFailure, ReportsTheUnitAndLeavesTheWorkerSuspended) {
  const auto& c = GetParam();
  if (c.malformed) {
    units_.MakeMalformed(c.name);
  } else {
    units_.Remove(c.name);
  }
  std::string error;
  EXPECT_EQ(CreateSpeechEngine(error, Services()), nullptr);
  EXPECT_EQ(error, std::string("Cannot load resource ") + c.name);
  // The engine stays until the end, its worker never runs.
  ASSERT_NE(GetEngineThread(), nullptr);
  SpeakText("Ali geldi.", &window_, kSpeechDoneMessage);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(utterances_.load(), 0);
  EXPECT_EQ(window_.Count(), 0u);
  ShutdownSpeechEngine();
  EXPECT_EQ(GetEngineThread(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Units, SpeechEngineLoadFailure,
    testing::Values(LoadFailureCase{"A_1", false}, LoadFailureCase{"UE_1", true},
                    LoadFailureCase{"B_PRE", false}, LoadFailureCase{"Z_POST", true},
                    LoadFailureCase{"PIE_PRE", false}),
    [](const auto& info) {
      return std::string(info.param.name) + (info.param.malformed ? "Malformed" : "Missing");
    });

TEST_F(SpeechEngine, ReportsAThreadThatCannotBeCreated) {
  test::FailingThreadFactory failing;
  EngineServices services = Services();
  services.threads = &failing;
  std::string error;
  EXPECT_EQ(CreateSpeechEngine(error, services), nullptr);
  EXPECT_EQ(error.rfind(kCannotCreateEngineThread, 0), 0u) << error;
  EXPECT_EQ(GetEngineThread(), nullptr);
}

TEST_F(SpeechEngine, RefusesASecondEngine) {
  ThreadHandle first = Create();
  std::string error;
  EXPECT_EQ(CreateSpeechEngine(error, Services()), nullptr);
  EXPECT_EQ(error, kSpeechEngineExists);
  EXPECT_EQ(GetEngineThread(), first);
}

TEST_F(SpeechEngine, AnEmptyTextPostsOnceAndPlaysNothing) {
  Create();
  SpeakAndWait("");
  std::this_thread::sleep_for(50ms);
  ASSERT_EQ(window_.Count(), 1u);
  const auto posted = window_.Messages()[0];
  EXPECT_EQ(posted.message, kSpeechDoneMessage);
  EXPECT_EQ(posted.wParam, 0u);
  EXPECT_EQ(posted.lParam, 0);
  EXPECT_TRUE(audio_.OpenAttempts().empty());
}

TEST_F(SpeechEngine, PlaysEveryStretchThenPostsTheCallersMessage) {
  const auto stretches = CountStretches(kThreeSentences);
  ASSERT_EQ(stretches, 3u);
  Create();
  const auto handle = SpeakText(kThreeSentences, &window_, 4242);
  EXPECT_EQ(handle, GetEngineThread());
  ASSERT_TRUE(window_.WaitFor(1, kPatience));
  EXPECT_EQ(window_.Messages()[0].message, 4242u);
  const auto written = audio_.Written();
  ASSERT_EQ(written.size(), stretches);
  for (const auto& stretch : written) {
    EXPECT_EQ(stretch.rate, 22050u);
    EXPECT_FALSE(stretch.samples.empty());
  }
  EXPECT_FALSE(audio_.AnyOpen());
}

TEST_F(SpeechEngine, AStopWhileIdleDoesNotAffectTheNextUtterance) {
  Create();
  EXPECT_NE(StopSpeaking(), 0);
  SpeakAndWait(kThreeSentences);
  EXPECT_EQ(audio_.WriteCount(), 3u);
  EXPECT_EQ(audio_.Resets(), 0);
}

TEST_F(SpeechEngine, AStopDuringPlaybackEndsTheUtterance) {
  audio_.SetAutoFinish(false);
  Create();
  SpeakText(kThreeSentences, &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(1, kPatience));
  const auto stopped = std::chrono::steady_clock::now();
  StopSpeaking();
  ASSERT_TRUE(window_.WaitFor(1, kPatience));
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 2s);
  EXPECT_EQ(audio_.WriteCount(), 1u);  // no later stretch was planned
  EXPECT_EQ(audio_.Resets(), 1);
  EXPECT_FALSE(audio_.AnyOpen());
}

TEST_F(SpeechEngine, AStopDuringTheLastSegmentAbandonsTheStretch) {
  onSegment_ = [](std::size_t i, std::size_t n) {
    if (i + 1 == n) StopSpeaking();
  };
  Create();
  SpeakAndWait(kThreeSentences);
  EXPECT_TRUE(audio_.OpenAttempts().empty());
  EXPECT_EQ(window_.Count(), 1u);
}

TEST_F(SpeechEngine, AStopAfterTheFirstSegmentAbandonsTheStretch) {
  onSegment_ = [](std::size_t i, std::size_t) {
    if (i == 0) StopSpeaking();
  };
  Create();
  SpeakAndWait(kOneSentence);
  EXPECT_TRUE(audio_.OpenAttempts().empty());
}

TEST_F(SpeechEngine, SpeakTextDuringAnUtteranceStartsNoSecondOneAndCancelsAStop) {
  Create();
  SpeakAndWait(kThreeSentences);
  const auto alone = audio_.Written();
  ASSERT_EQ(alone.size(), 3u);

  std::atomic<bool> spoke{false};
  onSegment_ = [&](std::size_t, std::size_t) {
    if (!spoke.exchange(true)) {
      StopSpeaking();
      SpeakText("Bamba\xFEka bir metin.", &window_, kSpeechDoneMessage);
    }
  };
  SpeakAndWait(kThreeSentences);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(window_.Count(), 2u);
  EXPECT_EQ(utterances_.load(), 2);
  const auto all = audio_.Written();
  ASSERT_EQ(all.size(), 6u);  // the stop was cancelled; the running text was kept
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(all[3 + i].samples, alone[i].samples);
}

TEST_F(SpeechEngine, APitchChangeTakesEffectWithTheNextStretch) {
  audio_.SetAutoFinish(false);
  Create();
  SpeakText(kThreeSentences, &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(1, kPatience));
  SetPitch(100);
  audio_.Finish();
  ASSERT_TRUE(audio_.WaitForWrites(2, kPatience));
  SetPitch(0);
  audio_.Finish();
  ASSERT_TRUE(audio_.WaitForWrites(3, kPatience));
  audio_.Finish();
  ASSERT_TRUE(window_.WaitFor(1, kPatience));
  const auto written = audio_.Written();
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0].rate, 22050u);
  EXPECT_EQ(written[1].rate, 33075u);
  EXPECT_EQ(written[2].rate, 11025u);
}

TEST_F(SpeechEngine, ASpeedChangeTakesEffectWithTheNextVowel) {
  Create();
  SpeakAndWait(kOneSentence);
  SetSpeed(100);
  SpeakAndWait(kOneSentence);
  SetSpeed(50);
  onSegment_ = [](std::size_t i, std::size_t) {
    if (i == 2) SetSpeed(100);
  };
  SpeakAndWait(kOneSentence);
  const auto written = audio_.Written();
  ASSERT_EQ(written.size(), 3u);
  const auto slow = written[0].samples.size();
  const auto fast = written[1].samples.size();
  const auto mixed = written[2].samples.size();
  EXPECT_LT(slow, fast);
  EXPECT_LT(slow, mixed);
  EXPECT_LT(mixed, fast);
}

TEST_F(SpeechEngine, TranscriptionWhileSpeakingEqualsTheIdleResult) {
  std::string idleText =
      "T\xFCrk\xE7"
      "e 1923 y\xFDl\xFDnda. {KiTap}";
  std::string idle;
  TranscribeText(idleText, idle);
  ASSERT_FALSE(idle.empty());

  audio_.SetAutoFinish(false);
  Create();
  SpeakText(kThreeSentences, &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(1, kPatience));
  for (int i = 0; i < 20; ++i) {
    std::string text =
        "T\xFCrk\xE7"
        "e 1923 y\xFDl\xFDnda. {KiTap}";
    std::string phonetic = "prefix";
    TranscribeText(text, phonetic);
    EXPECT_EQ(phonetic, "prefix" + idle);
    EXPECT_EQ(text, idleText);
  }
  StopSpeaking();
  ASSERT_TRUE(window_.WaitFor(1, kPatience));
}

TEST_F(SpeechEngine, APlaybackFailureEndsTheUtterance) {
  audio_.SetOpenFails(true);
  Create();
  SpeakAndWait(kThreeSentences);
  EXPECT_EQ(audio_.OpenAttempts().size(), 1u);
  EXPECT_EQ(window_.Count(), 1u);
}

// Every way an utterance ends is told with its notification: done, stopped, failed with the
// failure's text (no device, a device failing while it plays, text that is not UTF-8).
TEST_F(SpeechEngine, TheNotificationSaysHowTheUtteranceEnded) {
  using Ending = UtteranceResult::Ending;
  struct Case {
    const char* name;
    std::function<void(test::FakeAudio&)> setUp;
    SpeechRequest request;
    Ending ending;
    std::string failure;
  };
  SpeechRequest utf8{"Ali geldi.", library::TextEncoding::kUtf8, {}, false};
  SpeechRequest invalid{"Ali\xFF geldi.", library::TextEncoding::kUtf8, {}, false};
  SpeechRequest cp1254{kThreeSentences, library::TextEncoding::kCp1254, {}, false};
  const std::vector<Case> cases = {
      {"done", [](test::FakeAudio&) {}, cp1254, Ending::kDone, ""},
      {"utf8 done", [](test::FakeAudio&) {}, utf8, Ending::kDone, ""},
      {"no device", [](test::FakeAudio& a) { a.SetOpenFails(true); }, cp1254, Ending::kFailed,
       "Cannot open wave device!"},
      {"write fails", [](test::FakeAudio& a) { a.SetWriteFails(true); }, cp1254, Ending::kFailed,
       "The sound device failed while playing!"},
      {"fails while playing", [](test::FakeAudio& a) { a.SetFailWhilePlaying(true); }, cp1254,
       Ending::kFailed, "The sound device failed while playing!"},
      {"not utf8", [](test::FakeAudio&) {}, invalid, Ending::kFailed,
       "input is not valid UTF-8 (byte offset 3)"},
  };
  Create();
  for (const Case& c : cases) {
    audio_.SetOpenFails(false);
    audio_.SetWriteFails(false);
    audio_.SetFailWhilePlaying(false);
    c.setUp(audio_);
    const auto before = window_.Count();
    SpeakRequest(c.request, &window_, kSpeechDoneMessage);
    ASSERT_TRUE(window_.WaitFor(before + 1, kPatience)) << c.name;
    const UtteranceResult result = window_.Results().back();
    EXPECT_EQ(result.ending, c.ending) << c.name;
    EXPECT_EQ(result.failure, c.failure) << c.name;
    EXPECT_EQ(window_.Messages().back().wParam, 0u) << c.name;
  }
  // A stop while it plays.
  audio_.SetFailWhilePlaying(false);
  audio_.SetAutoFinish(false);
  SpeakText(kThreeSentences, &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(audio_.WriteCount() + 1, kPatience));
  const auto before = window_.Count();
  StopSpeaking();
  ASSERT_TRUE(window_.WaitFor(before + 1, kPatience));
  EXPECT_EQ(window_.Results().back().ending, Ending::kStopped);
}

// A long text is read as it is spoken: when the first stretches play, only a little of the text
// has been read, so memory does not grow with the text.
TEST_F(SpeechEngine, ALongTextIsReadAsItIsSpoken) {
  const std::string sentence = "Bu uzun bir metnin bir c\xC3\xBCmlesidir.\n";
  const std::size_t total = 5u << 20;  // 5 MiB of text, made as it is read
  std::atomic<std::size_t> read{0};
  SpeechRequest request;
  request.encoding = library::TextEncoding::kUtf8;
  request.reader = [&](char* data, std::size_t size) -> std::ptrdiff_t {
    const std::size_t offset = read.load();
    const std::size_t n = std::min(size, total - offset);
    for (std::size_t k = 0; k < n; ++k) data[k] = sentence[(offset + k) % sentence.size()];
    read += n;
    return static_cast<std::ptrdiff_t>(n);
  };
  std::atomic<std::size_t> readAtTwentieth{0};
  audio_.SetOnWrite([&](std::size_t n) {
    if (n == 19) readAtTwentieth = read.load();
  });
  Create();
  SpeakRequest(std::move(request), &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(20, kPatience));
  StopSpeaking();
  ASSERT_TRUE(window_.WaitFor(1, kPatience));
  EXPECT_GT(readAtTwentieth.load(), 0u);
  EXPECT_LE(readAtTwentieth.load(), 128u * 1024) << "read ahead of the speech";
}

TEST_F(SpeechEngine, ADeviceThatRefusesTheRateIsOpenedLower) {
  audio_.RejectRate(22050 + 11025 * 25 / 50);
  Create();
  SetPitch(75);
  SpeakAndWait(kOneSentence);
  const auto written = audio_.Written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].rate, 22050u);
}

TEST_F(SpeechEngine, ShutdownEndsAPlayingUtteranceAndItsMessageFollows) {
  audio_.SetAutoFinish(false);
  Create();
  SpeakText(kThreeSentences, &window_, kSpeechDoneMessage);
  ASSERT_TRUE(audio_.WaitForWrites(1, kPatience));
  const auto start = std::chrono::steady_clock::now();
  ShutdownSpeechEngine();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(GetEngineThread(), nullptr);
  EXPECT_EQ(window_.Count(), 1u);
  EXPECT_EQ(audio_.WriteCount(), 1u);
  EXPECT_FALSE(audio_.AnyOpen());
}

TEST_F(SpeechEngine, AnEngineCanBeMadeAgainAfterShutdown) {
  Create();
  SpeakAndWait(kOneSentence);
  ShutdownSpeechEngine();
  SetPitch(90);
  EXPECT_EQ(GetPitch(), 50u);
  Create();
  SpeakAndWait(kOneSentence);
  EXPECT_EQ(audio_.WriteCount(), 2u);
}

}  // namespace
}  // namespace orvanel::engine
