#include "engine/speech_engine.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <utility>

#include "engine/detail/c_speech_engine.h"
#include "frontend/text_to_phonetic.h"
#include "synth/wave_output.h"

namespace orvanel::engine {

namespace detail {

CSpeechEngine::CSpeechEngine(const EngineServices& services)
    : synthesizer_(units_, services.voice), services_(services) {
  // The window's speech is the literal one until it asks for more.
  voice_.prosody.store(false, std::memory_order_relaxed);
}

void CSpeechEngine::StoreRequest(SpeechRequest request, NotifyTarget* window,
                                 std::uint32_t message) {
  std::lock_guard lock(handOverLock_);
  notifyWindow_ = window;
  notifyMessage_ = message;
  request_ = std::move(request);
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

    UtteranceResult result;
    try {
      SpeechRequest request;
      {
        std::lock_guard lock(handOverLock_);
        request = request_;
      }
      result = SpeakUtterance(request);
    } catch (const std::bad_alloc&) {
      result.ending = UtteranceResult::Ending::kFailed;
      result.failure = synth::kMemoryAllocationError;
    } catch (const std::exception& e) {
      result.ending = UtteranceResult::Ending::kFailed;
      result.failure = e.what();
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
    if (window != nullptr) window->PostResult(message, result);
    // A quit that came while speaking had its start cleared with the utterance's.
    if (quitEvent_.IsSet()) break;
  }
  return 0;
}

UtteranceResult CSpeechEngine::SpeakUtterance(const SpeechRequest& request) {
  if (services_.onUtteranceStart) services_.onUtteranceStart();
  UtteranceResult result;
  // A stretch is abandoned unplayed when the stop event is found set after any of its segments,
  // the last one included; the rest of the text is then not planned.
  library::Delivery delivery;
  delivery.stretch = [&](const library::Stretch& stretch) {
    if (stretch.dropped.samples > 0) result.dropped.push_back(stretch.dropped);
    return PlayStretch(stretch, result);
  };
  const library::CancelCheck stop = [this](std::size_t index, std::size_t count) {
    if (services_.onSegmentRendered) services_.onSegmentRendered(index, count);
    return stopEvent_.IsSet();
  };
  library::Outcome outcome;
  if (request.phonetic) {
    outcome = synthesizer_.SpeakPhonetic(request.text, voice_, delivery, stop);
  } else if (request.reader) {
    outcome = synthesizer_.SpeakFrom(request.reader, request.encoding, voice_, delivery, stop);
  } else {
    outcome = synthesizer_.Speak(request.text, request.encoding, voice_, delivery, stop);
  }
  switch (outcome) {
    case library::Outcome::kFinished:
      break;
    case library::Outcome::kCancelled:
      result.ending = UtteranceResult::Ending::kStopped;
      break;
    case library::Outcome::kSinkStopped:
      // PlayStretch said why: stopped, or a failure with its text.
      break;
    case library::Outcome::kInvalidInput:
    case library::Outcome::kReadFailed:
      result.ending = UtteranceResult::Ending::kFailed;
      result.failure = synthesizer_.error();
      break;
  }
  return result;
}

bool CSpeechEngine::PlayStretch(const library::Stretch& stretch, UtteranceResult& result) {
  std::unique_ptr<synth::WaveDevice> device =
      services_.makeDevice ? services_.makeDevice() : nullptr;
  std::string message;
  if (device == nullptr || stretch.buffer == nullptr) {
    message = synth::kCannotOpenWaveDevice;
  } else if (synth::Play(*stretch.buffer, *device, message, stopEvent_) != 0) {
    return true;
  }
  if (stopEvent_.IsSet() && message.empty()) {
    result.ending = UtteranceResult::Ending::kStopped;
  } else {
    result.ending = UtteranceResult::Ending::kFailed;
    result.failure = message.empty() ? kPlaybackFailed : message;
  }
  return false;
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
  // Every stretch is rendered into a buffer of synth::kStretchCapacityBytes (2 MiB).
  // The units are written here, before the worker runs, and only read afterwards.
  if (synth::LoadUnits(*services.units, raw->units_, error) == 0) return nullptr;
  raw->thread_->Resume();
  return raw->thread_.get();
}

ThreadHandle SpeakText(const std::string& text, NotifyTarget* window, std::uint32_t message) {
  SpeechRequest request;
  request.text = text;
  return SpeakRequest(std::move(request), window, message);
}

ThreadHandle SpeakRequest(SpeechRequest request, NotifyTarget* window, std::uint32_t message) {
  detail::CSpeechEngine* engine = gEngine.load();
  if (engine == nullptr) return nullptr;
  engine->StoreRequest(std::move(request), window, message);
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
    engine->voice_.pitch.store(static_cast<std::uint16_t>(value), std::memory_order_relaxed);
  }
}

void SetSpeed(unsigned value) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    engine->voice_.speed.store(static_cast<std::uint16_t>(value), std::memory_order_relaxed);
  }
}

void SetVolume(unsigned percent) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    const unsigned clamped = percent > library::kMaxVolume ? library::kMaxVolume : percent;
    engine->voice_.volume.store(static_cast<std::uint16_t>(clamped), std::memory_order_relaxed);
  }
}

void SetRate(unsigned percent) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    const unsigned clamped = std::clamp(percent, synth::kMinRatePercent, synth::kMaxRatePercent);
    engine->voice_.ratePercent.store(static_cast<std::uint16_t>(clamped),
                                     std::memory_order_relaxed);
  }
}

void SetSemitones(float semitones) {
  if (detail::CSpeechEngine* engine = gEngine.load()) {
    engine->voice_.semitones.store(
        std::clamp(semitones, -synth::kMaxSemitones, synth::kMaxSemitones),
        std::memory_order_relaxed);
  }
}

void SetProsody(bool on) {
  if (detail::CSpeechEngine* engine = gEngine.load()) engine->voice_.prosody.store(on);
}

void SetReading(bool on) {
  if (detail::CSpeechEngine* engine = gEngine.load()) engine->voice_.reading.store(on);
}

void SetPunctuation(reading::Punctuation level) {
  if (detail::CSpeechEngine* engine = gEngine.load()) engine->voice_.punctuation.store(level);
}

unsigned GetPitch() {
  const detail::CSpeechEngine* engine = gEngine.load();
  return engine != nullptr ? engine->voice_.pitch.load(std::memory_order_relaxed)
                           : detail::kDefaultPitch;
}

unsigned GetSpeed() {
  const detail::CSpeechEngine* engine = gEngine.load();
  return engine != nullptr ? engine->voice_.speed.load(std::memory_order_relaxed)
                           : detail::kDefaultSpeed;
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
