// Stand-ins for the window tests: a speech control that records every call, a priority control
// that records every change, and a worker thread that does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/speech_control.h"
#include "engine/thread_priority.h"
#include "engine/worker_thread.h"

namespace orvanel::app::testing {

class IdleWorkerThread final : public engine::WorkerThread {
 public:
  bool Resume() override { return true; }
  void Join() override {}
  int NativeId() const override { return 4242; }
};

struct SpeakRequest {
  std::string text;  // Windows-1254, or UTF-8 with reading
  bool reading = false;
  engine::NotifyTarget* window = nullptr;
  std::uint32_t message = 0;
};

class RecordingSpeechControl final : public SpeechControl {
 public:
  bool Create(std::string& error) override {
    ++creates;
    if (!createSucceeds) error = createError;
    return createSucceeds;
  }
  void SpeakText(const std::string& text, engine::NotifyTarget* window,
                 std::uint32_t message) override {
    spoken.push_back({text, false, window, message});
  }
  void SpeakReading(const std::string& utf8, engine::NotifyTarget* window,
                    std::uint32_t message) override {
    spoken.push_back({utf8, true, window, message});
  }
  void StopSpeaking() override { ++stops; }
  // Appends "<" + text + ">" so tests see what went in and where it came out.
  void TranscribeText(std::string& text, std::string& phonetic) override {
    transcribed.push_back(text);
    phonetic += "<" + text + ">";
  }
  // Records the UTF-8 text and answers "[" + text + "]".
  void TranscribeReading(const std::string& utf8, std::string& phonetic) override {
    transcribedReading.push_back(utf8);
    phonetic += "[" + utf8 + "]";
  }
  void SetIntonation(bool on) override { intonationSets.push_back(on); }
  void SetPitch(unsigned value) override {
    pitch = value & 0xFFFFu;
    pitchSets.push_back(value);
  }
  void SetSpeed(unsigned value) override {
    speed = value & 0xFFFFu;
    speedSets.push_back(value);
  }
  unsigned GetPitch() override { return pitch; }
  unsigned GetSpeed() override { return speed; }
  engine::ThreadHandle GetEngineThread() override { return &thread; }
  void Shutdown() override { ++shutdowns; }

  bool createSucceeds = true;
  std::string createError;
  int creates = 0;
  int shutdowns = 0;
  std::vector<SpeakRequest> spoken;
  int stops = 0;
  std::vector<std::string> transcribed;
  std::vector<std::string> transcribedReading;
  std::vector<bool> intonationSets;
  unsigned pitch = 50;
  unsigned speed = 50;
  std::vector<unsigned> pitchSets;
  std::vector<unsigned> speedSets;
  IdleWorkerThread thread;
};

class RecordingPriorityControl final : public engine::PriorityControl {
 public:
  int GetThreadPriority(const engine::WorkerThread& /*thread*/) override { return current; }
  bool SetThreadPriority(const engine::WorkerThread& /*thread*/, int priority) override {
    threadSets.push_back(priority);
    if (refuse) return false;
    current = priority;
    return true;
  }
  bool SetProcessPriorityClass(bool high) override {
    classSets.push_back(high);
    return !refuse;
  }

  int current = 0;
  bool refuse = false;
  std::vector<int> threadSets;
  std::vector<bool> classSets;
};

}  // namespace orvanel::app::testing
