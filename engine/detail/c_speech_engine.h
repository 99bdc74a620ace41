// The engine object behind the control operations: its events, the hand-over of the request
// text, the synthesis state of the worker, and the run loop that speaks one utterance per start.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "engine/notify_target.h"
#include "engine/speech_engine.h"
#include "engine/worker_thread.h"
#include "library/synthesizer.h"
#include "synth/manual_reset_event.h"
#include "synth/unit_inventory.h"

namespace orvanel::engine::detail {

inline constexpr std::uint16_t kDefaultPitch = 50;
inline constexpr std::uint16_t kDefaultSpeed = 50;

class CSpeechEngine {
 public:
  // Runs on the creating thread: the three events start clear, pitch and speed at 50.
  explicit CSpeechEngine(const EngineServices& services);
  CSpeechEngine(const CSpeechEngine&) = delete;
  CSpeechEngine& operator=(const CSpeechEngine&) = delete;

  // Nothing to prepare before the run loop; true lets it run.
  bool InitInstance() { return true; }
  // The worker thread's whole life: one utterance per start, until quit or a failed wait.
  int Run();

  // Control side (user-interface thread).
  void StoreRequest(const std::string& text, NotifyTarget* window, std::uint32_t message);
  void RequestStop() { stopEvent_.Set(); }
  void RequestQuit();

  // Worker side: transcribes, then plays every stretch that the synthesizer renders.
  void SpeakUtterance(std::string& text);
  bool PlayStretch(const library::Stretch& stretch);

  std::uint32_t notifyMessage_ = 0;
  synth::ManualResetEvent stopEvent_;
  synth::ManualResetEvent quitEvent_;
  synth::ManualResetEvent startEvent_;
  std::string requestText_;
  NotifyTarget* notifyWindow_ = nullptr;
  // Pitch (read once per stretch), speed (once per vowel) and volume (once per stretch).
  library::VoiceSettings voice_;

  // Guards the request text and the notify window and message.
  std::mutex handOverLock_;
  synth::UnitInventory units_;
  library::Synthesizer synthesizer_{units_};
  EngineServices services_;
  std::unique_ptr<WorkerThread> thread_;
};

}  // namespace orvanel::engine::detail
