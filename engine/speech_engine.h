// The speech engine: one object per process, with the worker thread that transcribes, plans,
// renders and plays. Reached only through the control operations below, all called on the
// user-interface thread.
//
//   std::string error;
//   if (!CreateSpeechEngine(error, services)) { show(error); exit(1); }
//   SpeakText(text, &window, kSpeechDoneMessage);   // window later receives 1026, 0, 0
//   SpeakRequest({utf8, TextEncoding::kUtf8}, &window, kSpeechDoneMessage);
//   StopSpeaking();                                  // cuts the utterance short (~100 ms)
//   ShutdownSpeechEngine();                          // at program end
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/notify_target.h"
#include "engine/worker_thread.h"
#include "library/synthesizer.h"
#include "synth/unit_store.h"
#include "synth/voice_data.h"
#include "synth/wave_device.h"

namespace orvanel::engine {

using ThreadHandle = WorkerThread*;

// What the engine is built from. The program passes the embedded units, the ALSA device and the
// Linux thread layer; tests pass fakes. The pointers must outlive the engine.
struct EngineServices {
  const synth::UnitStore* units = nullptr;
  // Opens a fresh device object for each stretch's playback.
  std::function<std::unique_ptr<synth::WaveDevice>()> makeDevice;
  ThreadFactory* threads = nullptr;
  // The voice data behind SetRate, SetSemitones and SetProsody; without it they do nothing.
  const synth::VoiceData* voice = nullptr;
  // Seams for tests, called on the worker when set: at the start of every utterance, and after
  // each segment is rendered (index in the stretch, number of segments), before the stop test.
  std::function<void()> onUtteranceStart;
  std::function<void(std::size_t index, std::size_t count)> onSegmentRendered;
};

// CreateSpeechEngine's error texts besides the unit loader's "Cannot load resource NAME".
inline constexpr char kCannotCreateEngineThread[] = "Cannot create the speech engine thread!";
inline constexpr char kSpeechEngineExists[] = "The speech engine exists already!";
inline constexpr char kIncompleteEngineServices[] = "The speech engine has no units or threads!";

// Creates the engine and its suspended worker, loads the 56 units, then resumes the worker.
// Returns the worker's handle, or nullptr with error = "Cannot load resource NAME" (the worker
// then stays suspended until ShutdownSpeechEngine) or one of the texts above (no engine is left).
ThreadHandle CreateSpeechEngine(std::string& error, const EngineServices& services);
// Speaks typed Windows-1254 text (the window's), read literally.
ThreadHandle SpeakText(const std::string& text, NotifyTarget* window, std::uint32_t message);

// What the worker speaks: a text in either encoding (UTF-8 goes through the Turkish reading
// stage when SetReading is on), a text read part by part, or PhoneticText as it stands.
struct SpeechRequest {
  std::string text;
  library::TextEncoding encoding = library::TextEncoding::kCp1254;
  // When set, the text is read from it instead (on the worker, as it is spoken); it must stay
  // valid until the utterance's notification.
  library::TextReader reader;
  bool phonetic = false;  // text is PhoneticText
};
// Like SpeakText, for any request.
ThreadHandle SpeakRequest(SpeechRequest request, NotifyTarget* window, std::uint32_t message);
int StopSpeaking();
// Runs the front end on the calling thread: appends the PhoneticText of text (whose escapes are
// rewritten in place) to phonetic.
void TranscribeText(std::string& text, std::string& phonetic);
void SetPitch(unsigned value);
void SetSpeed(unsigned value);
// The loudness of every later stretch in percent (0..200, larger values are taken as 200); 100,
// the start value, leaves the samples as rendered. The window never changes it.
void SetVolume(unsigned percent);
// The speaking rate in percent (25..400) and a pitch shift in semitones (-6..6) of every later
// stretch, when the engine was given the voice data. The window never changes them.
void SetRate(unsigned percent);
void SetSemitones(float semitones);
// Prosody mode (word stress and sentence intonation) for later utterances, with the voice data
// (off at creation).
void SetProsody(bool on);
// The Turkish reading stage for later UTF-8 requests (on at creation; SpeakText's Windows-1254
// text is always read literally).
void SetReading(bool on);
// How much punctuation the Turkish reading says aloud in later requests (none at creation).
void SetPunctuation(reading::Punctuation level);
unsigned GetPitch();
unsigned GetSpeed();
ThreadHandle GetEngineThread();
// Orderly end: sets quit, stop and start, joins the worker (within about 100 ms even while a
// stretch plays), destroys the engine and clears the engine pointer. Safe without an engine. An
// utterance cut short by it still posts its message, so the notify target must outlive this call.
void ShutdownSpeechEngine();

}  // namespace orvanel::engine
