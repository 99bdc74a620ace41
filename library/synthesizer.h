// The synthesis library: text to PCM stretch by stretch, with no threads, no devices and no
// process-wide state. The engine's worker, orvanel-say, the C API and the speech-dispatcher
// module all speak through it.
//
//   library::Synthesizer synth(units);                  // units loaded once, read-only
//   library::VoiceSettings voice;                       // may be changed from another thread
//   synth.Speak(utf8, library::TextEncoding::kUtf8, voice,
//               [&](const library::Stretch& s) { write(s.samples, s.sampleCount); return true; },
//               [&](std::size_t, std::size_t) { return cancelled.load(); });
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reading/turkish_reading.h"
#include "synth/sample_buffer.h"
#include "synth/segment.h"
#include "synth/segment_planner.h"
#include "synth/unit_inventory.h"
#include "synth/voice_controls.h"

namespace orvanel::prosody {
class StressCache;
}

namespace orvanel::library {

enum class TextEncoding { kUtf8, kCp1254 };

inline constexpr unsigned kDefaultSpeed = 50;    // 0 (fastest) .. 99 (slowest)
inline constexpr unsigned kDefaultPitch = 50;    // 1 .. 100: the playback rate of the stretch
inline constexpr unsigned kDefaultVolume = 100;  // percent, 0 .. 200
inline constexpr unsigned kMaxVolume = 200;
inline constexpr unsigned kDefaultRate = 100;  // percent of the normal speaking rate, 25 .. 400

// The voice as synthesis reads it. Every field may be written from any thread while synthesis
// runs: pitch and volume are read once per stretch, speed once per vowel, the text settings
// once per call.
struct VoiceSettings {
  std::atomic<std::uint16_t> speed{kDefaultSpeed};
  std::atomic<std::uint16_t> pitch{kDefaultPitch};
  std::atomic<std::uint16_t> volume{kDefaultVolume};
  // The voice controls, read once per stretch: the speaking rate in percent (100: the timing
  // that the speed gives) and a pitch shift in semitones (-6 .. 6) that keeps the voice's
  // formants. At 100 and 0 the designed rendering runs, sample for sample. They need the voice
  // data (a synthesizer made without it ignores them).
  std::atomic<std::uint16_t> ratePercent{kDefaultRate};
  std::atomic<float> semitones{0.f};
  // The Turkish reading stage before the front end (UTF-8 input only). Off, the text is read
  // exactly as the window's Preprocess shows it.
  std::atomic<bool> reading{true};
  // How much punctuation the reading stage says aloud (none: prose punctuation is heard as
  // pauses only). Read once per call; the literal reading ignores it.
  std::atomic<reading::Punctuation> punctuation{reading::Punctuation::kNone};
  // Prosody mode: automatic Turkish word stress in the transcription and a sentence intonation
  // drawn as each stretch's pitch contour (it needs the voice data). Read once per call.
  std::atomic<bool> prosody{false};
};

// One rendered stretch as the sink receives it. The samples stay valid until the sink returns.
struct Stretch {
  std::size_t number = 0;  // 1-based, in order
  const std::int16_t* samples = nullptr;
  std::size_t sampleCount = 0;
  std::uint32_t sampleRate = synth::kBaseSampleRate;
  // The bytes of the input text that the stretch was read from, [textBegin, textEnd). Exact to
  // the run of the text in literal mode; to the line with the reading stage on.
  std::size_t textBegin = 0;
  std::size_t textEnd = 0;
  // Samples the stretch could not hold (a sentence longer than about 47.5 s is cut).
  std::uint64_t droppedSamples = 0;
  // The buffer behind the samples, for wave output (which may lower its rate); null for
  // callers that only read the samples.
  synth::SampleBuffer* buffer = nullptr;
};

// Receives every stretch, an empty one included; false stops synthesis.
using StretchSink = std::function<bool(const Stretch&)>;
// Looked at after every rendered segment (its index in the stretch and the stretch's segment
// count); true abandons the stretch unplayed and ends synthesis. May be empty.
using CancelCheck = std::function<bool(std::size_t segment, std::size_t count)>;
// Fills up to size bytes of the next part of a text and returns how many; 0 at its end, a
// negative value on a read error.
using TextReader = std::function<std::ptrdiff_t(char* data, std::size_t size)>;

enum class Outcome {
  kFinished,      // every stretch went to the sink
  kCancelled,     // the cancel check said stop
  kSinkStopped,   // the sink returned false
  kInvalidInput,  // the text is not UTF-8; error() gives the byte offset
  kReadFailed,    // the reader reported an error
};

class Synthesizer {
 public:
  // units (and voice, when given) must outlive the synthesizer. Without the voice data the rate
  // and semitone settings are not applied.
  explicit Synthesizer(const synth::UnitInventory& units, const synth::VoiceData* voice = nullptr);
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // Transcribes text (with the reading stage when voice.reading is set and the text is UTF-8)
  // and hands out its stretches. Memory stays bounded by the longest sentence, not the text.
  Outcome Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                const StretchSink& sink, const CancelCheck& cancel = {});
  // The same over a text read part by part (a file, standard input).
  Outcome SpeakFrom(const TextReader& reader, TextEncoding encoding, const VoiceSettings& voice,
                    const StretchSink& sink, const CancelCheck& cancel = {});
  // PhoneticText, planned and rendered as it stands (the engine's path after transcription).
  Outcome SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                        const StretchSink& sink, const CancelCheck& cancel = {});

  // The PhoneticText of a text, as synthesis would read it (Windows-1254 bytes). False with
  // error() set when a UTF-8 text is not valid.
  bool Transcribe(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                  std::string& phonetic);

  // The last failure: "input is not valid UTF-8 (byte offset N)", or a read error.
  const std::string& error() const noexcept { return error_; }

 private:
  class Feed;
  Outcome RenderStretches(std::string_view phonetic, bool atEnd, bool prosody, Feed& feed,
                          const VoiceSettings& voice, const StretchSink& sink,
                          const CancelCheck& cancel, std::size_t& consumed);

  const synth::UnitInventory& units_;
  // Made when the voice data is there; keeps the units it made for later stretches.
  std::unique_ptr<synth::ControlledRenderer> controlled_;
  synth::SegmentList segments_;
  std::vector<synth::VowelPitch> contour_;
  synth::StretchNotes notes_;
  synth::SampleBuffer buffer_;
  std::size_t stretchNumber_ = 0;
  std::string error_;
  // Prosody mode: the word analyses of every text so far (a screen reader's messages share
  // most of their words); made with the first stressed text.
  std::unique_ptr<prosody::StressCache> stressMemo_;
  prosody::StressCache& StressMemo();
};

// Scales samples by percent (100 leaves them untouched), rounding to nearest and saturating at
// full scale.
void ApplyVolume(std::int16_t* samples, std::size_t count, unsigned percent) noexcept;

}  // namespace orvanel::library
