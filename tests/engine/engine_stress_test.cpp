#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "engine/speech_engine.h"
#include "platform/linux_thread.h"
#include "tests/support/fake_unit_store.h"
#include "tests/support/fake_wave_device.h"
#include "tests/support/recording_notify_target.h"

namespace orvanel::engine {
namespace {

using namespace std::chrono_literals;

// Control operations at random moments against a worker that plays on a fake device with a
// short playing time: every utterance posts exactly once, nothing hangs, nothing leaks.
TEST(SpeechEngineStress, RandomControlCallsPostOncePerUtterance) {
  test::FakeUnitStore units;
  test::FakeAudio audio;
  audio.SetPlayDuration(300us);
  platform::LinuxThreadFactory threads;
  test::RecordingNotifyTarget window;
  std::atomic<int> utterances{0};

  EngineServices services;
  services.units = &units;
  services.makeDevice = audio.Factory();
  services.threads = &threads;
  services.onUtteranceStart = [&] { ++utterances; };
  std::string error;
  ASSERT_NE(CreateSpeechEngine(error, services), nullptr) << error;

  const std::string texts[] = {"",        "Ali.",  "Ali geldi. Veli gitti.", "12 kedi, 3 k\xF6pek!",
                               "{KiTap}", "a b c."};
  std::mt19937 random(20240611);
  int speaks = 0;
  for (int call = 0; call < 10000; ++call) {
    switch (random() % 6) {
      case 0:
      case 1:
        SpeakText(texts[random() % std::size(texts)], &window, kSpeechDoneMessage);
        ++speaks;
        break;
      case 2:
        StopSpeaking();
        break;
      case 3:
        SetPitch(random() % 101);
        break;
      case 4:
        SetSpeed(random() % 101);
        break;
      case 5: {
        std::string text = texts[random() % std::size(texts)];
        std::string phonetic;
        TranscribeText(text, phonetic);
        break;
      }
    }
    if (random() % 4 == 0) std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
  }

  // Let the last utterance end, then end the engine; every started utterance has posted.
  StopSpeaking();
  for (int i = 0; i < 200 && window.Count() < static_cast<std::size_t>(utterances.load()); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  ShutdownSpeechEngine();
  EXPECT_EQ(window.Count(), static_cast<std::size_t>(utterances.load()));
  EXPECT_GE(utterances.load(), 1);
  EXPECT_LE(utterances.load(), speaks);
  for (const auto& posted : window.Messages()) EXPECT_EQ(posted.message, kSpeechDoneMessage);
  EXPECT_FALSE(audio.AnyOpen());
}

}  // namespace
}  // namespace orvanel::engine
