#include "synth/controlled_renderer.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "frontend/letter_tables.h"
#include "synth/detail/glide.h"
#include "synth/segment_renderer.h"
#include "synth/voice_signal.h"

namespace orvanel::synth {

namespace {

constexpr std::uint64_t kGiveBackStep = 64;  // vowel lengths given back at a fast rate

// Pitch targets in steps of 1/8 semitone (at most 0.36 % off): units of the same pitch are made
// once and reused.
float Quantised(float semitones, float steps = 8.f) {
  return std::nearbyint(semitones * steps) / steps;
}

// With a contour the pitch moves through nearly every vowel and consonant: vowels take their
// ends in steps of 1/4 semitone and consonants (whose voiced parts are re-timed at one pitch) in
// steps of 1/2, so that the units repeat and are reused. A consonant is then at most 1/4
// semitone off the vowel edge it joins, a vowel's end and the next one's start stay equal.
constexpr float kContourVowelSteps = 4.f;
constexpr float kContourConsonantSteps = 2.f;

constexpr int kAffricateSlot = 2;  // ç

}  // namespace

const std::vector<std::int16_t>* ControlledRenderer::UnitCache::Find(const Key& key) const {
  for (const Entry& e : entries_) {
    if (e.used && e.key == key) return &e.samples;
  }
  return nullptr;
}

const std::vector<std::int16_t>& ControlledRenderer::UnitCache::Store(
    const Key& key, const std::vector<std::int16_t>& samples) {
  Entry& e = entries_[next_];
  next_ = (next_ + 1) % kEntries;
  e.key = key;
  e.used = true;
  e.samples = samples;
  return e.samples;
}

ControlledRenderer::ControlledRenderer(const UnitInventory& units, const VoiceData& data)
    : units_(units), data_(data) {}

void ControlledRenderer::BeginStretch(const SegmentList& list, const VoiceControls& controls,
                                      std::span<const VowelPitch> contour) {
  list_ = &list;
  controls_ = controls;
  controls_.ratePercent = std::clamp(controls.ratePercent, kMinRatePercent, kMaxRatePercent);
  if (!std::isfinite(controls_.semitones)) controls_.semitones = 0.f;
  controls_.semitones = std::clamp(controls_.semitones, -kMaxSemitones, kMaxSemitones);
  contour_ = contour.size() == list.Size() ? contour : std::span<const VowelPitch>();
  nominalSamples_ = 0.0;
  renderedSamples_ = 0.0;
}

float ControlledRenderer::VowelSemitones(std::size_t i, bool atEnd) const {
  const Segment& s = (*list_)[i];
  float st = controls_.semitones;
  if (!contour_.empty()) st += atEnd ? contour_[i].endSemitones : contour_[i].startSemitones;
  if (s.lengthPercent != 100 && s.lengthPercent != 0) {
    // Stress shortens the vowel and, as resampling did, raises its pitch by the same factor.
    st += static_cast<float>(12.0 * std::log2(100.0 / s.lengthPercent));
  }
  if (!std::isfinite(st)) return 0.f;
  return contour_.empty() ? Quantised(st) : Quantised(st, kContourVowelSteps);
}

float ControlledRenderer::ConsonantSemitones(std::size_t i, bool onset) const {
  const SegmentList& list = *list_;
  auto search = [&](bool forward, float& st) {
    for (std::size_t k = i;;) {
      if (forward) {
        if (++k >= list.Size()) return false;
      } else {
        if (k == 0) return false;
        --k;
      }
      const SegmentKind kind = list[k].Kind();
      if (kind == SegmentKind::kPause || kind == SegmentKind::kSentenceEnd) return false;
      if (kind == SegmentKind::kVowel) {
        st = VowelSemitones(k, !forward);
        return true;
      }
    }
  };
  float st = controls_.semitones;
  if (!search(onset, st)) search(!onset, st);
  st = std::clamp(st, -kMaxSemitones, kMaxSemitones);
  return contour_.empty() ? Quantised(st) : Quantised(st, kContourConsonantSteps);
}

void ControlledRenderer::RenderSegment(std::size_t i, std::uint16_t speed, SampleBuffer& buffer) {
  if (list_ == nullptr || i >= list_->Size()) return;
  const Segment& segment = (*list_)[i];
  if (Literal()) {
    synth::RenderSegment(segment, BuildEnvelope(*list_, i), speed, units_, buffer);
    return;
  }
  const std::uint32_t before = buffer.SampleCount();
  switch (segment.Kind()) {
    case SegmentKind::kPause:
    case SegmentKind::kSentenceEnd: {
      const std::uint64_t ms = segment.count > 0 ? static_cast<std::uint64_t>(segment.count) : 0;
      std::uint64_t scaled = ms * 100 / controls_.ratePercent;
      const std::uint64_t floor = std::min(
          ms, segment.Kind() == SegmentKind::kSentenceEnd ? kMinSentenceEndMs : kMinPauseMs);
      RenderPause(std::max(scaled, floor), buffer);
      nominalSamples_ += static_cast<double>(MsToSamples(ms));
      break;
    }
    case SegmentKind::kVowel:
      RenderVowel(i, speed, buffer);
      break;
    case SegmentKind::kOnset:
      RenderConsonant(i, 0, buffer);
      break;
    case SegmentKind::kCoda:
      RenderConsonant(i, 1, buffer);
      break;
    default:
      break;
  }
  renderedSamples_ += buffer.SampleCount() - before;
}

void ControlledRenderer::RenderVowel(std::size_t i, std::uint16_t speed, SampleBuffer& buffer) {
  const Segment& s = (*list_)[i];
  if (s.index < 0 || s.index >= frontend::kVowelCount) return;
  const std::size_t v = static_cast<std::size_t>(s.index / 2);
  const UnitEntry& unit = units_.vowels[v];
  const std::int16_t* period = LockUnit(unit.handle);
  if (period == nullptr || unit.LengthSamples() != kBasePeriod) return;
  if (s.lengthPercent == 0) {  // stretched to nothing, as the literal rendering does
    buffer.AppendSilence(0);
    return;
  }
  // Far beyond any buffer the length saturates, so the products below cannot wrap.
  const std::uint64_t ms = std::min<std::uint64_t>(VowelDurationMs(speed, s.count), 1u << 30);
  std::uint64_t wanted =
      ms != 0 ? ms * kBaseSampleRate * 100 / (1000 * std::uint64_t{controls_.ratePercent})
              : kBasePeriod;
  if (s.lengthPercent != 100) wanted = wanted * std::min(s.lengthPercent, 1000u) / 100;
  // The contour's lengthening (before a phrase boundary) is part of the timing the rate keeps.
  if (!contour_.empty() && contour_[i].lengthPercent != 100)
    wanted = wanted * std::clamp<std::uint64_t>(contour_[i].lengthPercent, 50, 300) / 100;
  nominalSamples_ +=
      static_cast<double>(wanted) * controls_.ratePercent / 100.0;  // before any give-back
  const double behind = renderedSamples_ - nominalSamples_ * 100.0 / controls_.ratePercent +
                        static_cast<double>(wanted);
  const float start = VowelSemitones(i, false);
  const float end = VowelSemitones(i, true);
  if (behind > 0) {
    std::uint64_t keep = wanted / 2;
    std::uint64_t floor = 0;
    if (Fast()) {
      // Fast speech keeps a few whole periods of every vowel (at its start pitch; a sample more
      // for the rounding of the period lengths): a vowel of one period is heard as a click between
      // the consonants around it rather than as a vowel.
      floor = std::min(
          wanted, static_cast<std::uint64_t>(std::ceil(kFastVowelPeriods * PeriodFor(start))) + 1);
      keep = std::max(keep, floor);
    }
    wanted -= std::min<std::uint64_t>(wanted - keep, static_cast<std::uint64_t>(behind));
    // Only whole periods are made: steps of 64 samples lose nothing audible and let
    // the vowels of the same length be reused.
    if (wanted > kBasePeriod) wanted -= wanted % kGiveBackStep;
    wanted = std::max(wanted, floor);
  }
  // Never more than the buffer could take: the append below then drops it like any other.
  wanted = std::clamp<std::uint64_t>(wanted, 1, kStretchCapacityBytes);
  const auto samples = static_cast<std::uint32_t>(wanted);
  const float depth = GlideDepth(s.glideSteps);
  const std::int32_t shape = s.glideShape;
  const UnitCache::Key key = {1, v | std::uint64_t{samples} << 8,
                              std::uint64_t{std::bit_cast<std::uint32_t>(start)} |
                                  std::uint64_t{std::bit_cast<std::uint32_t>(end)} << 32,
                              std::uint64_t{std::bit_cast<std::uint32_t>(depth)} |
                                  std::uint64_t{static_cast<std::uint32_t>(shape)} << 32};
  const std::vector<std::int16_t>* made = cache_.Find(key);
  if (made == nullptr) {
    OverlapAddVowel(
        data_.vowels[v], period, samples,
        [&](std::uint32_t t) {
          const double x = std::min(1.0, static_cast<double>(t) / samples);
          double st = start + (end - start) * x;
          // The notation's glide, as a pitch bend: its resampling step is the pitch ratio.
          if (depth != 0.f) {
            const double step = detail::GlideStep(std::min(t, samples - 1), samples, depth, shape);
            if (step > 0) st += 12.0 * std::log2(step);
          }
          return static_cast<float>(st);
        },
        scratch_);
    made = &cache_.Store(key, scratch_);
  }
  if (made->empty()) return;
  buffer.AppendUnit(reinterpret_cast<UnitHandle>(made->data()),
                    static_cast<std::uint32_t>(made->size()), 0, 100, 0.0f, 0,
                    BuildEnvelope(*list_, i));
}

const std::vector<std::int16_t>* ControlledRenderer::MakeConsonant(std::size_t i, int part) {
  const Segment& s = (*list_)[i];
  const bool front = s.FrontSet();
  const std::size_t entry = static_cast<std::size_t>(2 * (s.index / 2) + part);
  const UnitEntry& unit = front ? units_.front[entry] : units_.back[entry];
  const ConsonantVoice& map = front ? data_.front[entry] : data_.back[entry];
  const std::int16_t* samples = LockUnit(unit.handle);
  if (samples == nullptr) return nullptr;
  const float st = ConsonantSemitones(i, part == 0);
  const double timeScale = 100.0 / controls_.ratePercent;
  const bool onsetEnd =
      part == 0 && i + 1 < list_->Size() && (*list_)[i + 1].Kind() == SegmentKind::kVowel;
  const double newPeriod = PeriodFor(st);
  PartFloors floors;
  // Fast speech shortens the aspiration of p, t and k further than frication: its head (the
  // burst's place frication) and its end into the voicing stay. Not the frication of the
  // affricate ç, which is what tells it from t.
  if (Fast()) {
    floors.noise = kFastNoiseSamples;
    if (s.index / 2 != kAffricateSlot) floors.aspiration = kFastAspirationSamples;
    floors.silenceScale = timeScale;
  }
  const std::uint64_t first = (front ? 1u : 0u) | entry << 1 | (onsetEnd ? 1u : 0u) << 8 |
                              std::uint64_t{floors.aspiration} << 16 |
                              std::uint64_t{floors.noise} << 32 |
                              std::uint64_t{Fast() ? 1u : 0u} << 48;
  const UnitCache::Key key = {2, first, std::bit_cast<std::uint64_t>(timeScale),
                              std::bit_cast<std::uint64_t>(newPeriod)};
  const std::vector<std::int16_t>* made = cache_.Find(key);
  if (made == nullptr) {
    RetimeConsonant(samples, unit.LengthSamples(), map, timeScale, newPeriod, onsetEnd, scratch_,
                    floors);
    made = &cache_.Store(key, scratch_);
  }
  return made;
}

void ControlledRenderer::RenderConsonant(std::size_t i, int part, SampleBuffer& buffer) {
  const Segment& s = (*list_)[i];
  if (s.index < 0 || s.index >= frontend::kConsonantCount) return;
  const bool front = s.FrontSet();
  const std::size_t entry = static_cast<std::size_t>(2 * (s.index / 2) + part);
  const UnitEntry& unit = front ? units_.front[entry] : units_.back[entry];
  const float st = ConsonantSemitones(i, part == 0);
  nominalSamples_ += static_cast<double>(unit.LengthSamples()) * std::max(0, s.count);
  if (st == 0.f && controls_.ratePercent == 100) {
    synth::RenderConsonant(s.index, s.count, part, front, units_, buffer);
    return;
  }
  const std::vector<std::int16_t>* made = MakeConsonant(i, part);
  if (made == nullptr || made->empty()) return;
  for (std::int32_t k = 0; k < s.count; ++k) {
    const std::uint32_t before = buffer.SampleCount();
    buffer.AppendUnit(reinterpret_cast<UnitHandle>(made->data()),
                      static_cast<std::uint32_t>(made->size()), 0, 100, 0.0f, 0, {});
    if (buffer.SampleCount() == before) return;  // full: the rest cannot fit either
  }
}

}  // namespace orvanel::synth
