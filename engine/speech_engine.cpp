#include "engine/speech_engine.h"

#include <atomic>
#include <utility>

#include "engine/detail/c_speech_engine.h"
#include "frontend/text_to_phonetic.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/wave_output.h"

namespace orvanel::engine {

namespace detail {

CSpeechEngine::CSpeechEngine(const EngineServices& services) : services_(services) {}

void CSpeechEngine::StoreRequest(const std::string& text, NotifyTarget* window,
                                 std::uint32_t message) {
  std::lock_guard lock(handOverLock_);
  notifyWindow_ = window;
  notifyMessage_ = message;
  requestText_ = text;
}

void CSpeechEngine::RequestQuit() {
  quitEvent_.Set();
  stopEvent_.Set();
  startEvent_.Set();
}

int CSpeechEngine::Run() {
  for (;;) {
    startEvent_.Wait();
    if (quitEvent_.IsSet()) break;

    try {
      std::string text;
      {
        std::lock_guard lock(handOverLock_);
        text = requestText_;
      }
      SpeakUtterance(text);
    } catch (...) {
      // Out of memory while transcribing or planning ends the utterance like a failed playback.
    }

    startEvent_.Reset();
    stopEvent_.Reset();
    NotifyTarget* window = nullptr;
    std::uint32_t message = 0;
    {
      std::lock_guard lock(handOverLock_);
      window = notifyWindow_;
      message = notifyMessage_;
    }
    if (window != nullptr) window->PostMessage(message, 0, 0);
    // A quit that came while speaking had its start cleared with the utterance's.
    if (quitEvent_.IsSet()) break;
  }
  return 0;
}

void CSpeechEngine::SpeakUtterance(std::string& text) {
  if (services_.onUtteranceStart) services_.onUtteranceStart();
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);
  std::int32_t position = 0;
  while (synth::PlanStretch(phonetic, position, segmentList_) != 0) {
    if (RenderAndPlayStretch() == 0) break;
  }
  segmentList_.Clear();
}

int CSpeechEngine::RenderAndPlayStretch() {
  sampleBuffer_.Begin(sampleCapacity_, pitch_.load(std::memory_order_relaxed));
  const std::size_t count = segmentList_.Size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string envelope = synth::BuildEnvelope(segmentList_, i);
    synth::RenderSegment(segmentList_[i], envelope, speed_.load(std::memory_order_relaxed), units_,
                         sampleBuffer_);
    if (services_.onSegmentRendered) services_.onSegmentRendered(i, count);
    if (stopEvent_.IsSet()) {
      sampleBuffer_.Release();
      return 0;
    }
  }
  int result = 0;
  std::unique_ptr<synth::WaveDevice> device =
      services_.makeDevice ? services_.makeDevice() : nullptr;
  if (device != nullptr) {
    std::string message;
    result = synth::Play(sampleBuffer_, *device, message, stopEvent_);
  }
  sampleBuffer_.Release();
  return result;
}

}  // namespace detail

namespace {

// The one engine of the process. Control operations run on the user-interface thread.
std::atomic<detail::CSpeechEngine*> gEngine{nullptr};

}  // namespace

ThreadHandle CreateSpeechEngine(std::string& error, const EngineServices& services) {
  if (gEngine.load() != nullptr) {
    error = kSpeechEngineExists;
    return nullptr;
  }
  if (services.units == nullptr || services.threads == nullptr) {
    error = kIncompleteEngineServices;
    return nullptr;
  }
  auto engine = std::make_unique<detail::CSpeechEngine>(services);
  std::string threadError;
  engine->thread_ = services.threads->CreateSuspended(
      [raw = engine.get()] { return raw->InitInstance() ? raw->Run() : 0; }, threadError);
  if (engine->thread_ == nullptr) {
    error = kCannotCreateEngineThread;
    if (!threadError.empty()) error += " (" + threadError + ")";
    return nullptr;
  }
  detail::CSpeechEngine* raw = engine.release();
  gEngine.store(raw);
  raw->sampleCapacity_ = synth::kStretchCapacityBytes;
  // The units are written here, before the worker runs, and only read afterwards.
  if (synth::LoadUnits(*services.units, raw->units_, error) == 0) return nullptr;
  raw->thread_->Resume();
  return raw->thread_.get();
}

ThreadHandle SpeakText(const std::string& text, NotifyTarget* window, std::uint32_t message) {
  detail::CSpeechEngine* engine = gEngine.load();
  if (engine == nullptr) return nullptr;
  engine->StoreRequest(text, window, message);
  engine->stopEvent_.Reset();
  engine->startEvent_.Set();
  return engine->thread_.get();
}

int StopSpeaking() {
  detail::CSpeechEngine* engine = gEngine.load();
  if (engine == nullptr) return 0;
  engine->RequestStop();
  return 1;
}

void TranscribeText(std::string& text, std::string& phonetic) {
  frontend::TextToPhonetic(text, phonetic);
}

void SetPitch(unsigned value) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    engine->pitch_.store(static_cast<std::uint16_t>(value), std::memory_order_relaxed);
  }
}

void SetSpeed(unsigned value) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    engine->speed_.store(static_cast<std::uint16_t>(value), std::memory_order_relaxed);
  }
}

unsigned GetPitch() {
  const detail::CSpeechEngine* engine = gEngine.load();
  return engine != nullptr ? engine->pitch_.load(std::memory_order_relaxed) : detail::kDefaultPitch;
}

unsigned GetSpeed() {
  const detail::CSpeechEngine* engine = gEngine.load();
  return engine != nullptr ? engine->speed_.load(std::memory_order_relaxed) : detail::kDefaultSpeed;
}

ThreadHandle GetEngineThread() {
  const detail::CSpeechEngine* engine = gEngine.load();
  return engine != nullptr ? engine->thread_.get() : nullptr;
}

void ShutdownSpeechEngine() {
  std::unique_ptr<detail::CSpeechEngine> engine(gEngine.load());
  if (engine == nullptr) return;
  engine->RequestQuit();
  // A worker that was never resumed ends without running the run loop.
  engine->thread_->Join();
  gEngine.store(nullptr);
}

}  // namespace orvanel::engine
