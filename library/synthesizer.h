// The synthesis library: text to PCM stretch by stretch, with no threads, no devices and no
// process-wide state. The engine's worker, orvanel-say, the C API and the speech-dispatcher
// module all speak through it.
//
//   library::Synthesizer synth(units, &voiceData);      // units loaded once, read-only
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
#include <span>
#include <string>
#include <string_view>

#include "library/voice_settings.h"
#include "prosody/intonation.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"
#include "synth/unit_inventory.h"
#include "synth/voice_data.h"

namespace orvanel::prosody {
class StressCache;
}

namespace orvanel::library {

class StretchRenderer;

// Speech that a stretch could not hold. Only the literal reading loses speech this way (a
// sentence longer than about 47.5 s at the base rate); every other reading ends a stretch that
// would not fit at a phrase or word boundary and goes on in the next one.
struct DroppedSpeech {
  std::uint64_t samples = 0;  // 0: nothing was lost
  // Where in the input the lost speech begins: 1-based line and column (in characters).
  std::size_t line = 0;
  std::size_t column = 0;
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
  DroppedSpeech dropped;
  // The buffer behind the samples, for wave output (which may lower its rate); null for
  // callers that only read the samples.
  synth::SampleBuffer* buffer = nullptr;
};

// A part of a stretch handed out as soon as it is rendered.
struct Block {
  std::size_t stretch = 0;  // the number of the stretch it belongs to
  const std::int16_t* samples = nullptr;
  std::size_t sampleCount = 0;
  std::uint32_t sampleRate = synth::kBaseSampleRate;
  bool stretchEnd = false;  // the stretch's last block (it may be empty)
};

// A stretch as planned, before it is rendered: its segments, the planner's notes and, with
// prosody, each vowel's pitch targets and the tune. Valid while the sink runs.
struct PlannedStretch {
  std::size_t number = 0;
  const synth::SegmentList* segments = nullptr;
  const synth::StretchNotes* notes = nullptr;
  std::span<const synth::VowelPitch> contour;  // empty without prosody
  prosody::SentenceType tune = prosody::SentenceType::kStatement;
  // The PhoneticText the stretch was planned from: [phoneticBegin, phoneticEnd) of the text's
  // whole transcription.
  std::uint64_t phoneticBegin = 0;
  std::uint64_t phoneticEnd = 0;
};
using PlanSink = std::function<bool(const PlannedStretch&)>;

// Receives every stretch, an empty one included; false stops synthesis.
using StretchSink = std::function<bool(const Stretch&)>;
// Receives blocks in order; false stops synthesis.
using BlockSink = std::function<bool(const Block&)>;
// Looked at after every rendered segment (its index in the stretch and the stretch's segment
// count); true abandons the stretch unplayed and ends synthesis. May be empty.
using CancelCheck = std::function<bool(std::size_t segment, std::size_t count)>;
// Fills up to size bytes of the next part of a text and returns how many; 0 at its end, a
// negative value on a read error.
using TextReader = std::function<std::ptrdiff_t(char* data, std::size_t size)>;

// Where the samples go.
struct Delivery {
  StretchSink stretch;  // every whole stretch, once it is rendered (may be empty)
  BlockSink block;      // the samples as they are rendered (may be empty)
  // A block is handed out once this many samples are ready (and at the end of each stretch).
  std::size_t blockSamples = 1024;
  // The silence after the last sound of the text (its final pauses) is not rendered.
  bool trimFinalSilence = false;
  // Every planned stretch, before it is rendered (may be empty); with render false nothing is
  // rendered at all (orvanel-say --segments).
  PlanSink plan;
  bool render = true;
};

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
  // and semitone settings and prosody are not applied.
  explicit Synthesizer(const synth::UnitInventory& units, const synth::VoiceData* voice = nullptr);
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // Transcribes text (with the reading stage when voice.reading is set and the text is UTF-8)
  // and hands out its stretches. Memory stays bounded by the longest sentence, not the text.
  Outcome Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                const Delivery& delivery, const CancelCheck& cancel = {});
  Outcome Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                const StretchSink& sink, const CancelCheck& cancel = {});
  // The same over a text read part by part (a file, standard input).
  Outcome SpeakFrom(const TextReader& reader, TextEncoding encoding, const VoiceSettings& voice,
                    const Delivery& delivery, const CancelCheck& cancel = {});
  Outcome SpeakFrom(const TextReader& reader, TextEncoding encoding, const VoiceSettings& voice,
                    const StretchSink& sink, const CancelCheck& cancel = {});
  // PhoneticText, planned and rendered as it stands.
  Outcome SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                        const Delivery& delivery, const CancelCheck& cancel = {});
  Outcome SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                        const StretchSink& sink, const CancelCheck& cancel = {});

  // The PhoneticText of a text, as synthesis would read it (Windows-1254 bytes). False with
  // error() set when a UTF-8 text is not valid.
  bool Transcribe(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                  std::string& phonetic);

  // The last failure: "input is not valid UTF-8 (byte offset N)", or a read error.
  const std::string& error() const noexcept { return error_; }

 private:
  // A text source: the next bytes, and whether they are its last.
  using Source = std::function<std::ptrdiff_t(char* data, std::size_t size, bool& atEnd)>;
  Outcome SpeakSource(const Source& source, TextEncoding encoding, const VoiceSettings& voice,
                      const Delivery& delivery, const CancelCheck& cancel);

  const synth::UnitInventory& units_;
  const synth::VoiceData* voice_;
  std::unique_ptr<StretchRenderer> renderer_;
  std::string error_;
  // Prosody mode: the word analyses of every text so far (a screen reader's messages share
  // most of their words); made with the first stressed text.
  std::unique_ptr<prosody::StressCache> stressMemo_;
  prosody::StressCache* StressMemo(const VoiceSettings& voice);
};

}  // namespace orvanel::library
