#include "library/stretch_renderer.h"

#include <algorithm>
#include <limits>
#include <span>

#include "frontend/letter_tables.h"
#include "prosody/intonation.h"
#include "synth/segment_renderer.h"

namespace orvanel::library {

namespace {

bool IsSentenceEnd(char ch) {
  return ch == '.' || ch == '!' || ch == '?' || ch == ':' || ch == ';';
}

// A phrase mark that ends its stretch counts as a sentence end for planning ahead.
bool EndsStretch(char ch, bool phraseMarks) {
  if (IsSentenceEnd(ch)) return true;
  const frontend::PhraseMark* mark = phraseMarks ? frontend::PhraseMarkOf(ch) : nullptr;
  return mark != nullptr && mark->endsStretch;
}

// True when some letter of the PhoneticText makes a sound.
bool HasSound(std::string_view phonetic) {
  return std::any_of(phonetic.begin(), phonetic.end(), [](char c) {
    return frontend::VowelLookup(c) >= 0 || frontend::ConsonantLookup(c) >= 0;
  });
}

}  // namespace

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

StretchRenderer::StretchRenderer(const synth::UnitInventory& units, const synth::VoiceData* voice)
    : units_(units),
      controlled_(voice != nullptr ? std::make_unique<synth::ControlledRenderer>(units, *voice)
                                   : nullptr) {}

void StretchRenderer::BeginText(const Mode& mode) {
  mode_ = mode;
  mode_.prosody = mode.prosody && controlled_ != nullptr;
  stretchNumber_ = 0;
  soundOver_ = false;
}

Outcome StretchRenderer::Render(const TextFeed& feed, bool atEnd, const VoiceSettings& voice,
                                const Delivery& delivery, const CancelCheck& cancel,
                                std::size_t& consumed) {
  const std::string_view phonetic = feed.Pending();
  // Without the end of the text, only stretches whose end has arrived are planned: the planner
  // keeps nothing between stretches, so they come out as from the whole text.
  std::size_t limit = phonetic.size();
  if (!atEnd) {
    while (limit > 0 && !EndsStretch(phonetic[limit - 1], mode_.phraseMarks)) --limit;
  }
  const std::string_view plannable = phonetic.substr(0, limit);
  const synth::PlanOptions options{mode_.phraseMarks};
  std::int32_t position = static_cast<std::int32_t>(consumed);
  for (;;) {
    const std::int32_t start = position;
    if (synth::PlanStretch(plannable, position, segments_, options, &notes_) == 0) break;
    if (delivery.trimFinalSilence && atEnd) {
      const bool soundAfter = HasSound(plannable.substr(static_cast<std::size_t>(position)));
      if (!soundAfter) {
        const bool sound = std::any_of(segments_.begin(), segments_.end(),
                                       [](const synth::Segment& s) { return !s.IsSilence(); });
        if (soundOver_ || !sound) {
          // Silence after the last sound: nothing to hand out.
          consumed = static_cast<std::size_t>(position);
          continue;
        }
        TrimTrailingSilence();
        soundOver_ = true;
      }
    }
    prosody::StretchIntonation tune;
    if (mode_.prosody) {
      prosody::ContourForStretch(segments_, notes_, contour_, {}, &tune);
      prosody::PrepareSegmentsForProsody(segments_);
    }
    if (delivery.plan) {
      PlannedStretch planned;
      planned.number = stretchNumber_ + 1;
      planned.segments = &segments_;
      planned.notes = &notes_;
      if (mode_.prosody) planned.contour = contour_;
      planned.tune = tune.type;
      planned.phoneticBegin = feed.Base() + static_cast<std::uint64_t>(start);
      planned.phoneticEnd = feed.Base() + static_cast<std::uint64_t>(position);
      if (!delivery.plan(planned)) {
        segments_.Clear();
        return Outcome::kSinkStopped;
      }
    }
    if (!delivery.render) {
      ++stretchNumber_;
      consumed = static_cast<std::size_t>(position);
      continue;
    }
    const Outcome o = RenderPlanned(feed, start, position, voice, delivery, cancel);
    segments_.Clear();
    if (o != Outcome::kFinished) return o;
    consumed = static_cast<std::size_t>(position);
  }
  segments_.Clear();
  return Outcome::kFinished;
}

Outcome StretchRenderer::RenderPlanned(const TextFeed& feed, std::int32_t start, std::int32_t end,
                                       const VoiceSettings& voice, const Delivery& delivery,
                                       const CancelCheck& cancel) {
  std::int32_t partStart = start;
  for (;;) {
    buffer_.Begin(synth::kStretchCapacityBytes, voice.pitch.load(std::memory_order_relaxed));
    synth::VoiceControls controls;
    controls.ratePercent = std::clamp<unsigned>(voice.ratePercent.load(std::memory_order_relaxed),
                                                synth::kMinRatePercent, synth::kMaxRatePercent);
    controls.semitones = std::clamp(voice.semitones.load(std::memory_order_relaxed),
                                    -synth::kMaxSemitones, synth::kMaxSemitones);
    // The literal rendering unless a control is set or prosody draws the pitch (and the voice
    // data is there).
    const bool controlledPath = controlled_ != nullptr && (!controls.IsNeutral() || mode_.prosody);
    if (controlledPath) {
      controlled_->BeginStretch(segments_, controls,
                                mode_.prosody ? std::span<const synth::VowelPitch>(contour_)
                                              : std::span<const synth::VowelPitch>());
    }
    const unsigned volume = voice.volume.load(std::memory_order_relaxed);
    const std::size_t number = ++stretchNumber_;
    const std::size_t count = segments_.Size();
    std::size_t cutAfter = count;  // this part is the segments [0, cutAfter)
    std::uint32_t cutSamples = 0;
    std::size_t emitted = 0;
    DroppedSpeech dropped;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t before = buffer_.SampleCount();
      const std::uint16_t speed = voice.speed.load(std::memory_order_relaxed);
      if (controlledPath) {
        controlled_->RenderSegment(i, speed, buffer_);
      } else {
        synth::RenderSegment(segments_[i], synth::BuildEnvelope(segments_, i), speed, units_,
                             buffer_);
      }
      if (cancel && cancel(i, count)) {
        buffer_.Release();
        return Outcome::kCancelled;
      }
      if (buffer_.DroppedSamples() > 0) {
        if (mode_.cutToFit && i > 0) {
          // The segment did not fit: it begins the next part.
          cutAfter = i;
          cutSamples = before;
          break;
        }
        if (dropped.line == 0) {
          const TextPlace place =
              feed.Locate(feed.Base() + static_cast<std::uint64_t>(notes_.segments[i].position));
          dropped.line = place.line;
          dropped.column = place.column;
        }
      }
      if (mode_.cutToFit && i + 1 < count && segments_[i].Kind() == synth::SegmentKind::kPause) {
        const std::uint32_t n = buffer_.SampleCount();
        const bool phrase = notes_.segments[i].boundary != frontend::PhraseBreak::kNone;
        if ((phrase && n >= kPhraseCutSamples) || n >= kWordCutSamples) {
          cutAfter = i + 1;
          cutSamples = n;
          break;
        }
      }
      if (delivery.block && buffer_.SampleCount() - emitted >= delivery.blockSamples &&
          !Emit(emitted, false, volume, delivery.block)) {
        buffer_.Release();
        return Outcome::kSinkStopped;
      }
    }
    if (cutAfter < count) buffer_.Truncate(cutSamples);
    dropped.samples = buffer_.DroppedSamples();
    if (dropped.samples == 0) dropped = {};
    if (delivery.block) {
      if (!Emit(emitted, true, volume, delivery.block)) {
        buffer_.Release();
        return Outcome::kSinkStopped;
      }
    } else {
      ApplyVolume(buffer_.MutableSamples(), buffer_.SampleCount(), volume);
    }
    const std::int32_t partEnd = cutAfter < count ? notes_.segments[cutAfter].position : end;
    bool more = true;
    if (delivery.stretch) {
      Stretch stretch;
      stretch.number = number;
      stretch.samples = buffer_.Samples();
      stretch.sampleCount = buffer_.SampleCount();
      stretch.sampleRate = buffer_.Format().samplesPerSec;
      stretch.dropped = dropped;
      stretch.buffer = &buffer_;
      feed.Range(feed.Base() + static_cast<std::uint64_t>(partStart),
                 feed.Base() + static_cast<std::uint64_t>(partEnd), stretch.textBegin,
                 stretch.textEnd);
      more = delivery.stretch(stretch);
    }
    buffer_.Release();
    if (!more) return Outcome::kSinkStopped;
    if (cutAfter == count) return Outcome::kFinished;
    DropSegments(cutAfter);
    partStart = partEnd;
  }
}

bool StretchRenderer::Emit(std::size_t& emitted, bool stretchEnd, unsigned volume,
                           const BlockSink& sink) {
  const std::size_t n = buffer_.SampleCount() - emitted;
  std::int16_t* samples = buffer_.MutableSamples();
  if (samples != nullptr) ApplyVolume(samples + emitted, n, volume);
  Block block;
  block.stretch = stretchNumber_;
  block.samples = samples != nullptr ? samples + emitted : nullptr;
  block.sampleCount = n;
  block.sampleRate = buffer_.Format().samplesPerSec;
  block.stretchEnd = stretchEnd;
  emitted += n;
  return sink(block);
}

void StretchRenderer::DropSegments(std::size_t n) {
  const std::size_t count = segments_.Size();
  for (std::size_t i = n; i < count; ++i) segments_[i - n] = segments_[i];
  segments_.SetSize(count - n);
  notes_.segments.erase(notes_.segments.begin(),
                        notes_.segments.begin() + static_cast<std::ptrdiff_t>(n));
  if (contour_.size() >= n)
    contour_.erase(contour_.begin(), contour_.begin() + static_cast<std::ptrdiff_t>(n));
  // Words that ended in the part handed out go; one cut through keeps its rest.
  std::size_t gone = 0;
  while (gone < notes_.words.size() && notes_.words[gone].end <= n) ++gone;
  notes_.words.erase(notes_.words.begin(),
                     notes_.words.begin() + static_cast<std::ptrdiff_t>(gone));
  for (synth::PlannedWord& w : notes_.words) {
    w.first = w.first > n ? w.first - n : 0;
    w.end -= n;
    std::erase_if(w.vowels, [n](std::size_t v) { return v < n; });
    for (std::size_t& v : w.vowels) v -= n;
  }
  for (synth::SegmentNote& note : notes_.segments)
    if (note.word >= 0) note.word -= static_cast<std::int32_t>(gone);
}

void StretchRenderer::TrimTrailingSilence() {
  std::size_t keep = segments_.Size();
  while (keep > 0 && segments_[keep - 1].IsSilence()) --keep;
  segments_.SetSize(keep);
  notes_.segments.resize(keep);
}

}  // namespace orvanel::library
