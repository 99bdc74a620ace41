#include "cli/speak.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>

#include "embedded/embedded_units.h"
#include "engine/speech_engine.h"
#include "platform/alsa_wave_device.h"
#include "platform/linux_thread.h"
#include "synth/manual_reset_event.h"
#include "synth/wave_output.h"

namespace orvanel::cli {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

// The end of the utterance, posted by the worker.
class DoneSignal final : public engine::NotifyTarget {
 public:
  void PostMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
    if (message == engine::kSpeechDoneMessage) done.Set();
  }
  synth::ManualResetEvent done;
};

// What went wrong with the device while the engine spoke; the engine itself ends such an
// utterance silently.
struct DeviceReport {
  std::atomic<bool> noDevice{false};        // some stretch found no rate the device would open
  std::atomic<bool> playbackFailed{false};  // a write failed, or the device failed while playing
};

// The ALSA device, reporting its failures.
class ReportingDevice final : public synth::WaveDevice {
 public:
  explicit ReportingDevice(DeviceReport& report) : report_(report) {}
  ~ReportingDevice() override {
    if (attempted_ && !opened_) report_.noDevice = true;
  }
  synth::OpenResult Open(const synth::OutputFormat& format) override {
    const synth::OpenResult r = device_.Open(format);
    attempted_ = true;
    if (r == synth::OpenResult::Ok) opened_ = true;
    return r;
  }
  bool Write(const std::int16_t* samples, std::uint32_t count,
             const synth::ManualResetEvent& stop) override {
    const bool ok = device_.Write(samples, count, stop);
    if (!ok) report_.playbackFailed = true;
    return ok;
  }
  bool WaitDone(std::chrono::milliseconds timeout) override { return device_.WaitDone(timeout); }
  bool PlaybackFailed() const override {
    const bool failed = device_.PlaybackFailed();
    if (failed) report_.playbackFailed = true;
    return failed;
  }
  void Reset() override { device_.Reset(); }
  void Close() override { device_.Close(); }

 private:
  platform::AlsaWaveDevice device_;
  DeviceReport& report_;
  bool attempted_ = false;
  bool opened_ = false;
};

}  // namespace

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

int Speak(const std::string& text, const SpokenVoice& voice) {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  embedded::EmbeddedUnitStore units;
  platform::LinuxThreadFactory threads;
  // The voice data behind the rate and pitch-shift controls.
  synth::VoiceData voiceData;
  std::string error;
  if (synth::LoadVoiceData(units, voiceData, error) == 0) {
    std::cerr << "orvanel-say: " << error << '\n';
    return 1;
  }
  DeviceReport report;
  engine::EngineServices services;
  services.units = &units;
  services.threads = &threads;
  services.voice = &voiceData;
  services.makeDevice = [&report] { return std::make_unique<ReportingDevice>(report); };

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
  engine::SetProsody(voice.prosody);
  DoneSignal signal;
  engine::SpeakText(text, &signal, engine::kSpeechDoneMessage);
  bool stopped = false;
  while (!signal.done.Wait(std::chrono::milliseconds(20))) {
    if (gInterrupted && !stopped) {
      engine::StopSpeaking();
      stopped = true;
    }
  }
  engine::ShutdownSpeechEngine();
  if (stopped) return 130;
  if (report.noDevice) {
    std::cerr << "orvanel-say: " << synth::kCannotOpenWaveDevice << '\n';
    return 1;
  }
  if (report.playbackFailed) {
    std::cerr << "orvanel-say: the sound device failed while playing\n";
    return 1;
  }
  return 0;
}

}  // namespace orvanel::cli
