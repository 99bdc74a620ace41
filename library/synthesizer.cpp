#include "library/synthesizer.h"

#include <algorithm>
#include <vector>

#include "library/stretch_renderer.h"
#include "library/text_feed.h"
#include "library/text_pieces.h"
#include "prosody/stress_cache.h"

namespace orvanel::library {

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

Delivery StretchesTo(const StretchSink& sink) {
  Delivery delivery;
  delivery.stretch = sink;
  return delivery;
}

}  // namespace

Synthesizer::Synthesizer(const synth::UnitInventory& units, const synth::VoiceData* voice)
    : units_(units), voice_(voice), renderer_(std::make_unique<StretchRenderer>(units, voice)) {}

Synthesizer::~Synthesizer() = default;

prosody::StressCache* Synthesizer::StressMemo(const VoiceSettings& voice) {
  if (!voice.prosody.load()) return nullptr;
  if (!stressMemo_) stressMemo_ = std::make_unique<prosody::StressCache>();
  return stressMemo_.get();
}

Outcome Synthesizer::SpeakSource(const Source& source, TextEncoding encoding,
                                 const VoiceSettings& voice, const Delivery& delivery,
                                 const CancelCheck& cancel) {
  error_.clear();
  const std::optional<reading::ReadingOptions> readingOptions = ReadingOf(encoding, voice);
  const bool reading = readingOptions.has_value();
  const bool prosody = voice_ != nullptr && voice.prosody.load();
  TextPieces pieces(encoding, readingOptions);
  TextFeed feed(reading, prosody ? StressMemo(voice) : nullptr);
  // The literal reading keeps the literal cut of a stretch too long for its buffer; every other
  // reading cuts it where a reader may pause.
  renderer_->BeginText({reading, prosody, reading || prosody});
  std::size_t consumed = 0;
  std::vector<char> block(kReadBlock);
  bool atEnd = false;
  for (;;) {
    const std::ptrdiff_t n = source(block.data(), block.size(), atEnd);
    if (n < 0) {
      error_ = "cannot read the text";
      return Outcome::kReadFailed;
    }
    if (n == 0) atEnd = true;
    pieces.Add(std::string_view(block.data(), static_cast<std::size_t>(n)), atEnd);
    // Every piece that is complete is transcribed before planning, so that the stretch with
    // the text's last sound is known to be the last when the text is at hand whole.
    Piece piece;
    bool last = false;
    bool invalid = false;
    while (!last && !invalid && pieces.Next(piece)) {
      if (!piece.valid) {
        invalid = true;
        error_ = InvalidInputText(piece.errorOffset);
        break;
      }
      feed.Append(piece);
      last = piece.last;
    }
    // The speech before a bad byte is still handed out.
    const Outcome o = renderer_->Render(feed, last, voice, delivery, cancel, consumed);
    if (o != Outcome::kFinished) return o;
    if (invalid) return Outcome::kInvalidInput;
    if (last) return Outcome::kFinished;
    feed.Drop(feed.Base() + consumed);
    consumed = 0;
  }
}

Outcome Synthesizer::Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                           const Delivery& delivery, const CancelCheck& cancel) {
  std::size_t offset = 0;
  const Source source = [&](char* data, std::size_t size, bool& atEnd) -> std::ptrdiff_t {
    const std::size_t n = std::min(size, text.size() - offset);
    std::copy_n(text.data() + offset, n, data);
    offset += n;
    atEnd = offset == text.size();
    return static_cast<std::ptrdiff_t>(n);
  };
  return SpeakSource(source, encoding, voice, delivery, cancel);
}

Outcome Synthesizer::Speak(std::string_view text, TextEncoding encoding, const VoiceSettings& voice,
                           const StretchSink& sink, const CancelCheck& cancel) {
  return Speak(text, encoding, voice, StretchesTo(sink), cancel);
}

Outcome Synthesizer::SpeakFrom(const TextReader& reader, TextEncoding encoding,
                               const VoiceSettings& voice, const Delivery& delivery,
                               const CancelCheck& cancel) {
  const Source source = [&](char* data, std::size_t size, bool&) { return reader(data, size); };
  return SpeakSource(source, encoding, voice, delivery, cancel);
}

Outcome Synthesizer::SpeakFrom(const TextReader& reader, TextEncoding encoding,
                               const VoiceSettings& voice, const StretchSink& sink,
                               const CancelCheck& cancel) {
  return SpeakFrom(reader, encoding, voice, StretchesTo(sink), cancel);
}

Outcome Synthesizer::SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                                   const Delivery& delivery, const CancelCheck& cancel) {
  error_.clear();
  const bool prosody = voice_ != nullptr && voice.prosody.load();
  TextFeed feed(false, nullptr);
  // The planner stops at a zero byte, as the engine's does.
  feed.AppendPhonetic(phonetic.substr(0, std::min(phonetic.find('\0'), phonetic.size())));
  renderer_->BeginText({false, prosody, false});
  std::size_t consumed = 0;
  return renderer_->Render(feed, true, voice, delivery, cancel, consumed);
}

Outcome Synthesizer::SpeakPhonetic(std::string_view phonetic, const VoiceSettings& voice,
                                   const StretchSink& sink, const CancelCheck& cancel) {
  return SpeakPhonetic(phonetic, voice, StretchesTo(sink), cancel);
}

bool Synthesizer::Transcribe(std::string_view text, TextEncoding encoding,
                             const VoiceSettings& voice, std::string& phonetic) {
  error_.clear();
  return TranscribeText(text, encoding, ReadingOf(encoding, voice), StressMemo(voice), phonetic,
                        error_);
}

}  // namespace orvanel::library
