// The engine object behind the control operations: its events, the hand-over of the request,
// the synthesis state of the worker, and the run loop that speaks one utterance per start.
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

// A device that ended playback without the whole stretch, with no text of its own.
inline constexpr char kPlaybackFailed[] = "The sound device failed while playing!";

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
  void StoreRequest(SpeechRequest request, NotifyTarget* window, std::uint32_t message);
  void RequestStop() { stopEvent_.Set(); }
  void RequestQuit();

  // Worker side: speaks the request through the synthesis library, playing every stretch as it
  // is rendered, and says how the utterance ended.
  UtteranceResult SpeakUtterance(const SpeechRequest& request);
  bool PlayStretch(const library::Stretch& stretch, UtteranceResult& result);

  std::uint32_t notifyMessage_ = 0;
  synth::ManualResetEvent stopEvent_;
  synth::ManualResetEvent quitEvent_;
  synth::ManualResetEvent startEvent_;
  SpeechRequest request_;
  NotifyTarget* notifyWindow_ = nullptr;
  // Pitch (read once per stretch), speed (once per vowel), volume (once per stretch), the voice
  // controls and the readings; the literal ones at creation, but for the reading stage, which
  // only UTF-8 requests use.
  library::VoiceSettings voice_;

  // Guards the request and the notify window and message.
  std::mutex handOverLock_;
  synth::UnitInventory units_;
  library::Synthesizer synthesizer_;
  EngineServices services_;
  std::unique_ptr<WorkerThread> thread_;
};

}  // namespace orvanel::engine::detail
