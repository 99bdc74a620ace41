#include "cli/speak.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>

#include "embedded/embedded_units.h"
#include "platform/alsa_wave_device.h"
#include "platform/linux_thread.h"
#include "synth/manual_reset_event.h"

namespace orvanel::cli {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int signal) { gInterrupted = signal; }

// The end of the utterance and how it ended, posted by the worker.
class DoneSignal final : public engine::NotifyTarget {
 public:
  void PostMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  void PostResult(std::uint32_t message, const engine::UtteranceResult& result) override {
    if (message != engine::kSpeechDoneMessage) return;
    {
      std::lock_guard lock(mutex_);
      result_ = result;
    }
    done.Set();
  }
  engine::UtteranceResult Result() {
    std::lock_guard lock(mutex_);
    return result_;
  }
  synth::ManualResetEvent done;

 private:
  std::mutex mutex_;
  engine::UtteranceResult result_;
};

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int Interrupted() { return gInterrupted; }

std::string AsLiteralText(const std::string& phonetic) {
  std::string out;
  bool open = false;
  for (char ch : phonetic) {
    if (ch == '}' || ch == '\r') {
      if (open) out += '}';
      open = false;
      out += ch;
      continue;
    }
    if (!open) out += '{';
    open = true;
    out += ch;
    if (ch == '\\') out += '\\';
  }
  if (open) out += '}';
  return out;
}

std::string DroppedWarning(const library::DroppedSpeech& dropped) {
  char text[200];
  std::snprintf(text, sizeof text,
                "orvanel-say: warning: line %zu, column %zu: %.2f s of speech from here on did "
                "not fit into one stretch (about 47.5 s with no sentence end) and were dropped\n",
                dropped.line, dropped.column,
                static_cast<double>(dropped.samples) / synth::kBaseSampleRate);
  return text;
}

int Speak(engine::SpeechRequest request, const SpokenVoice& voice, const TextInput* input) {
  CatchInterrupts();
  embedded::EmbeddedUnitStore units;
  platform::LinuxThreadFactory threads;
  // The voice data behind the rate and pitch-shift controls and prosody.
  synth::VoiceData voiceData;
  std::string error;
  if (synth::LoadVoiceData(units, voiceData, error) == 0) {
    std::cerr << "orvanel-say: " << error << '\n';
    return 1;
  }
  engine::EngineServices services;
  services.units = &units;
  services.threads = &threads;
  services.voice = &voiceData;
  services.makeDevice = [] { return std::make_unique<platform::AlsaWaveDevice>(); };

  if (engine::CreateSpeechEngine(error, services) == nullptr) {
    engine::ShutdownSpeechEngine();
    std::cerr << "orvanel-say: " << error << '\n';
    return 1;
  }
  engine::SetSpeed(voice.speed);
  engine::SetPitch(voice.pitch);
  engine::SetVolume(voice.volume);
  engine::SetRate(voice.ratePercent);
  engine::SetSemitones(voice.semitones);
  engine::SetReading(voice.reading);
  engine::SetPunctuation(voice.punctuation);
  engine::SetProsody(voice.prosody);
  DoneSignal signal;
  engine::SpeakRequest(std::move(request), &signal, engine::kSpeechDoneMessage);
  bool stopped = false;
  while (!signal.done.Wait(std::chrono::milliseconds(20))) {
    if (gInterrupted != 0 && !stopped) {
      engine::StopSpeaking();
      stopped = true;
    }
  }
  engine::ShutdownSpeechEngine();
  const engine::UtteranceResult result = signal.Result();
  for (const library::DroppedSpeech& dropped : result.dropped) std::cerr << DroppedWarning(dropped);
  if (stopped) return 128 + gInterrupted;
  if (result.ending == engine::UtteranceResult::Ending::kFailed) {
    const bool readError = input != nullptr && input->Failed();
    std::cerr << "orvanel-say: " << (readError ? input->Error() : result.failure) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace orvanel::cli
