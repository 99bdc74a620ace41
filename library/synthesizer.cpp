#include "library/synthesizer.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/text_scanner.h"
#include "frontend/word_transcription.h"
#include "library/text_pieces.h"
#include "prosody/intonation.h"
#include "prosody/word_stress.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"

namespace orvanel::library {

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

bool IsSentenceEnd(char ch) {
  return ch == '.' || ch == '!' || ch == '?' || ch == ':' || ch == ';';
}

// The reading stage's options when the text goes through it (UTF-8 with reading on).
std::optional<reading::ReadingOptions> ReadingOf(TextEncoding encoding,
                                                 const VoiceSettings& voice) {
  if (encoding != TextEncoding::kUtf8 || !voice.reading.load()) return std::nullopt;
  return reading::ReadingOptions{voice.punctuation.load()};
}

// Where the runs of the pending PhoneticText came from in the input.
struct RunOrigin {
  std::uint64_t phoneticEnd;  // absolute offset just after the run's PhoneticText
  std::uint64_t inputBegin;
  std::uint64_t inputEnd;
};

}  // namespace

// The text on its way to the planner: PhoneticText transcribed piece by piece but not yet
// planned, with the input bytes each run came from.
class Synthesizer::Feed {
 public:
  std::string phonetic;  // pending, from absolute offset base
  std::uint64_t base = 0;
  std::vector<RunOrigin> origins;  // runs that end after base, in order
  bool phraseMarks = false;        // the text went through the reading stage
  // Prosody mode: the stressed transcription, which remembers sentence starts across pieces.
  std::unique_ptr<prosody::StressTranscriber> stress;

  // Appends the PhoneticText of one piece of Windows-1254 text. With an exact piece,
  // piece.origin[k] is the input offset of text byte k and origin[text.size()] the piece's end;
  // otherwise every run stands for the whole piece.
  void AppendRuns(Piece& piece) {
    std::string& text = piece.cp1254;
    const std::vector<std::uint64_t>& origin = piece.origin;
    const std::size_t typed = text.size();
    // The escape rewriting never grows the text: byte k of the rewritten text stands for the
    // typed bytes from source[k].
    std::vector<std::uint32_t> source;
    source.reserve(text.size() + 1);
    std::size_t read = 0;
    while (read < text.size() && text[read] != '\0') {
      if (text[read] == '\\') {
        if (read + 1 >= text.size() || text[read + 1] == '\0') break;
        source.push_back(static_cast<std::uint32_t>(read));
        read += 2;
      } else {
        source.push_back(static_cast<std::uint32_t>(read));
        read += 1;
      }
    }
    frontend::ApplyEscapes(text);
    const bool mapped = piece.exact && source.size() == text.size() && origin.size() == typed + 1;
    source.push_back(static_cast<std::uint32_t>(read));

    std::size_t position = 0;
    std::string run;
    std::string scratch;
    frontend::RunKind kind = frontend::RunKind::kSymbols;
    while (true) {
      const std::size_t start = position;
      if (!frontend::NextRun(text, position, run, kind)) break;
      if (stress) {
        stress->AppendRun(run, kind, std::string_view(text).substr(position), phonetic);
      } else {
        AppendDesigned(run, kind, scratch);
      }
      const std::uint64_t begin = mapped ? origin[source[start]] : piece.begin;
      const std::uint64_t end = mapped ? origin[source[position]] : piece.end;
      origins.push_back({base + phonetic.size(), begin, end});
    }
  }

  // The designed conversion of one run, as TextToPhonetic makes it.
  void AppendDesigned(const std::string& run, frontend::RunKind kind, std::string& scratch) {
    {
      switch (kind) {
        case frontend::RunKind::kSymbols:
          frontend::AppendSymbols(run, phonetic);
          break;
        case frontend::RunKind::kWord:
          frontend::AppendTranscribedWord(run, scratch, phonetic);
          break;
        case frontend::RunKind::kNumber:
          frontend::AppendNumber(run, phonetic);
          break;
        case frontend::RunKind::kSingleLetter:
          frontend::AppendSpelledLetter(run, phonetic);
          break;
        case frontend::RunKind::kLiteral:
          phonetic.append(run);
          break;
      }
    }
  }

  // Input range of the PhoneticText [from, to) (absolute offsets).
  void Range(std::uint64_t from, std::uint64_t to, std::size_t& begin, std::size_t& end) const {
    auto first =
        std::upper_bound(origins.begin(), origins.end(), from,
                         [](std::uint64_t v, const RunOrigin& o) { return v < o.phoneticEnd; });
    if (first == origins.end()) {
      begin = end = origins.empty() ? 0 : static_cast<std::size_t>(origins.back().inputEnd);
      return;
    }
    auto last =
        std::lower_bound(origins.begin(), origins.end(), to,
                         [](const RunOrigin& o, std::uint64_t v) { return o.phoneticEnd < v; });
    if (last == origins.end()) last = origins.end() - 1;
    begin = static_cast<std::size_t>(first->inputBegin);
    end = static_cast<std::size_t>(std::max(last->inputEnd, first->inputBegin));
  }

  // Forgets the PhoneticText before absolute offset upTo.
  void Drop(std::uint64_t upTo) {
    const std::size_t n = static_cast<std::size_t>(upTo - base);
    phonetic.erase(0, n);
    base = upTo;
    auto keep =
        std::upper_bound(origins.begin(), origins.end(), upTo,
                         [](std::uint64_t v, const RunOrigin& o) { return v < o.phoneticEnd; });
    origins.erase(origins.begin(), keep);
  }
};

Synthesizer::Synthesizer(const synth::UnitInventory& units, const synth::VoiceData* voice)
    : units_(units),
      controlled_(voice != nullptr ? std::make_unique<synth::ControlledRenderer>(units, *voice)
                                   : nullptr) {}

Synthesizer::~Synthesizer() = default;

prosody::StressCache& Synthesizer::StressMemo() {
  if (!stressMemo_) stressMemo_ = std::make_unique<prosody::StressCache>();
  return *stressMemo_;
}

void ApplyVolume(std::int16_t* samples, std::size_t count, unsigned percent) noexcept {
  if (percent == 100 || samples == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t scaled = samples[i] * static_cast<std::int32_t>(percent);
    std::int32_t v = (scaled >= 0 ? scaled + 50 : scaled - 50) / 100;
    v = std::clamp<std::int32_t>(v, std::numeric_limits<std::int16_t>::min(),
                                 std::numeric_limits<std::int16_t>::max());
    samples[i] = static_cast<std::int16_t>(v);
  }
}

Outcome Synthesizer::RenderStretches(std::string_view phonetic, bool atEnd, bool prosody,
                                     Feed& feed, const VoiceSettings& voice,
                                     const StretchSink& sink, const CancelCheck& cancel,
                                     std::size_t& consumed) {
  // Without the end of the text, only stretches whose sentence end has arrived are planned: the
  // planner keeps nothing between stretches, so they come out as from the whole text.
  std::size_t limit = phonetic.size();
  if (!atEnd) {
    while (limit > 0 && !IsSentenceEnd(phonetic[limit - 1])) --limit;
  }
  const std::string_view plannable = phonetic.substr(0, limit);
  // The reading stage writes its phrase marks only outside the literal reading.
  const bool phraseMarks = feed.phraseMarks;
  std::int32_t position = static_cast<std::int32_t>(consumed);
  for (;;) {
    const std::int32_t start = position;
    if (synth::PlanStretch(plannable, position, segments_, {phraseMarks}, &notes_) == 0) break;
    buffer_.Begin(synth::kStretchCapacityBytes, voice.pitch.load(std::memory_order_relaxed));
    synth::VoiceControls controls;
    controls.ratePercent = std::clamp<unsigned>(voice.ratePercent.load(std::memory_order_relaxed),
                                                synth::kMinRatePercent, synth::kMaxRatePercent);
    controls.semitones = std::clamp(voice.semitones.load(std::memory_order_relaxed),
                                    -synth::kMaxSemitones, synth::kMaxSemitones);
    // The designed rendering unless a control is set or prosody draws the pitch (and the voice
    // data is there).
    const bool intonation = prosody && controlled_ != nullptr;
    if (intonation) {
      prosody::ContourForStretch(segments_, notes_, contour_);
      prosody::PrepareSegmentsForProsody(segments_);
    }
    const bool controlledPath = controlled_ != nullptr && (!controls.IsNeutral() || intonation);
    if (controlledPath) {
      controlled_->BeginStretch(segments_, controls,
                                intonation ? std::span<const synth::VowelPitch>(contour_)
                                           : std::span<const synth::VowelPitch>());
    }
    const std::size_t count = segments_.Size();
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint16_t speed = voice.speed.load(std::memory_order_relaxed);
      if (controlledPath) {
        controlled_->RenderSegment(i, speed, buffer_);
      } else {
        synth::RenderSegment(segments_[i], synth::BuildEnvelope(segments_, i), speed, units_,
                             buffer_);
      }
      if (cancel && cancel(i, count)) {
        buffer_.Release();
        segments_.Clear();
        return Outcome::kCancelled;
      }
    }
    ApplyVolume(buffer_.MutableSamples(), buffer_.SampleCount(),
                voice.volume.load(std::memory_order_relaxed));
    Stretch stretch;
    stretch.number = ++stretchNumber_;
    stretch.samples = buffer_.Samples();
    stretch.sampleCount = buffer_.SampleCount();
    stretch.sampleRate = buffer_.Format().samplesPerSec;
    stretch.droppedSamples = buffer_.DroppedSamples();
    stretch.buffer = &buffer_;
    feed.Range(feed.base + static_cast<std::uint64_t>(start),
               feed.base + static_cast<std::uint64_t>(position), stretch.textBegin,
               stretch.textEnd);
    const bool more = sink(stretch);
    buffer_.Release();
    consumed = static_cast<std::size_t>(position);
    if (!more) {
      segments_.Clear();
      return Outcome::kSinkStopped;
    }
  }
  segments_.Clear();
  return Outcome::kFinished;
}

Outcome Synthesizer::SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                                   const StretchSink& sink, const CancelCheck& cancel) {
  stretchNumber_ = 0;
  error_.clear();
  Feed feed;
  // The PhoneticText is its own input: one run from its first byte to its last.
  feed.origins.push_back({phonetic.size(), 0, phonetic.size()});
  // The planner stops at a zero byte, as the engine's does.
  const std::string_view text = phonetic.substr(0, std::min(phonetic.find('\0'), phonetic.size()));
  std::size_t consumed = 0;
  return RenderStretches(text, true, voice.prosody.load(), feed, voice, sink, cancel, consumed);
}

Outcome Synthesizer::Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                           const StretchSink& sink, const CancelCheck& cancel) {
  std::size_t offset = 0;
  const TextReader reader = [&](char* data, std::size_t size) -> std::ptrdiff_t {
    const std::size_t n = std::min(size, text.size() - offset);
    std::copy_n(text.data() + offset, n, data);
    offset += n;
    return static_cast<std::ptrdiff_t>(n);
  };
  return SpeakFrom(reader, encoding, voice, sink, cancel);
}

Outcome Synthesizer::SpeakFrom(const TextReader& reader, TextEncoding encoding,
                               const VoiceSettings& voice, const StretchSink& sink,
                               const CancelCheck& cancel) {
  stretchNumber_ = 0;
  error_.clear();
  const std::optional<reading::ReadingOptions> reading = ReadingOf(encoding, voice);
  const bool prosody = voice.prosody.load() && controlled_ != nullptr;
  TextPieces pieces(encoding, reading);
  Feed feed;
  feed.phraseMarks = reading.has_value();
  if (prosody) feed.stress = std::make_unique<prosody::StressTranscriber>(true, &StressMemo());
  std::size_t consumed = 0;
  std::vector<char> block(kReadBlock);
  bool atEnd = false;
  while (!atEnd) {
    const std::ptrdiff_t n = reader(block.data(), block.size());
    if (n < 0) {
      error_ = "cannot read the text";
      return Outcome::kReadFailed;
    }
    atEnd = n == 0;
    pieces.Add(std::string_view(block.data(), static_cast<std::size_t>(n)), atEnd);
    Piece piece;
    while (pieces.Next(piece)) {
      if (!piece.valid) {
        error_ = "input is not valid UTF-8 (byte offset " + std::to_string(piece.errorOffset) + ")";
        return Outcome::kInvalidInput;
      }
      feed.AppendRuns(piece);
      const Outcome o =
          RenderStretches(feed.phonetic, false, prosody, feed, voice, sink, cancel, consumed);
      if (o != Outcome::kFinished) return o;
      feed.Drop(feed.base + consumed);
      consumed = 0;
      if (piece.last) break;
    }
  }
  return RenderStretches(feed.phonetic, true, prosody, feed, voice, sink, cancel, consumed);
}

bool Synthesizer::Transcribe(std::string_view text, TextEncoding encoding,
                             const VoiceSettings& voice, std::string& phonetic) {
  error_.clear();
  TextPieces pieces(encoding, ReadingOf(encoding, voice));
  pieces.Add(text, true);
  Feed feed;
  if (voice.prosody.load())
    feed.stress = std::make_unique<prosody::StressTranscriber>(true, &StressMemo());
  Piece piece;
  while (pieces.Next(piece)) {
    if (!piece.valid) {
      error_ = "input is not valid UTF-8 (byte offset " + std::to_string(piece.errorOffset) + ")";
      return false;
    }
    feed.AppendRuns(piece);
  }
  phonetic.append(feed.phonetic);
  return true;
}

}  // namespace orvanel::library
