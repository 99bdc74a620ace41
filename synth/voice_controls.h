// Voice controls beside the designed rendering: a speaking rate, a pitch shift in semitones and a
// per-vowel pitch contour, rendered from the generator's voice data so that the voice keeps its
// formants. Neutral controls with no contour render exactly the designed samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "synth/sample_buffer.h"
#include "synth/segment.h"
#include "synth/unit_inventory.h"
#include "synth/unit_store.h"

namespace orvanel::synth {

// Samples of the designed glottal period (113.66 Hz at 22050 samples per second).
inline constexpr std::uint32_t kBasePeriod = 194;
// Pitch targets are clamped to this many semitones either side of the designed pitch.
inline constexpr float kMaxSemitones = 6.0f;
inline constexpr unsigned kMinRatePercent = 25;
inline constexpr unsigned kMaxRatePercent = 400;
// Shortest pauses at a fast rate (a designed pause that is shorter keeps its length).
inline constexpr std::uint64_t kMinSentenceEndMs = 120;
inline constexpr std::uint64_t kMinPauseMs = 40;
// Every fricative or aspiration part keeps at least this much from its middle, where it is at
// its level, and 3 ms of each end (or all of it when shorter).
inline constexpr std::uint32_t kMinNoiseSamples = 331;  // 15 ms

// Pitch of one vowel in semitones relative to the designed 113.66 Hz, at its start and its end,
// interpolated linearly over the vowel.
struct VowelPitch {
  float startSemitones = 0.f;
  float endSemitones = 0.f;
};

// How the controls combine with the designed ones: a vowel lasts
//   VowelDurationMs(speed, count) x 100 / ratePercent,
// so the speed keeps its meaning and the rate scales the result; consonants and pauses, which
// the speed does not touch, are scaled by 100 / ratePercent too (pauses not below
// kMinSentenceEndMs and kMinPauseMs). What consonants cannot give at a fast rate is taken from
// the following vowels of the stretch, none below half its scaled length. The semitones are added
// to every vowel's contour and to the voiced parts of the consonants next to it; the result is
// clamped to +-kMaxSemitones and taken in steps of 1/8 semitone. Stress ("`", lengthPercent)
// shortens a vowel and raises its pitch by the same factor, and the designed glide becomes a pitch
// bend of the same shape, without moving the formants. Rates and shifts outside their ranges are
// clamped. The engine's pitch value (the output sample rate) still applies on top of all this.
struct VoiceControls {
  unsigned ratePercent = 100;  // kMinRatePercent..kMaxRatePercent, 100 = the designed timing
  float semitones = 0.f;       // -kMaxSemitones..kMaxSemitones
  bool IsNeutral() const noexcept { return ratePercent == 100 && semitones == 0.f; }
};

// One vowel's response to a single glottal cycle from rest, in 16-bit sample units with 8
// fraction bits; its periodic sum at `rotation` is the stored period.
struct VowelVoice {
  std::uint32_t rotation = 0;  // the period starts this many samples after glottal opening
  std::uint32_t peak = 0;      // the glottal closure, samples into the period
  std::vector<std::int32_t> response;
};

enum class UnitPartKind : std::int32_t { Silence = 0, Noise = 1, Voiced = 2, Kept = 3 };
struct UnitPart {
  UnitPartKind kind = UnitPartKind::Silence;
  std::uint32_t start = 0, end = 0;  // samples of the unit, [start, end)
  bool shortenable = false;
};
// The parts of one consonant unit and the glottal closures of its voiced cycles.
struct ConsonantVoice {
  std::vector<UnitPart> parts;
  std::vector<std::uint32_t> pulses;
};

// The generated voice data, in the entry order of the UnitInventory.
struct VoiceData {
  std::array<VowelVoice, 8> vowels{};
  std::array<ConsonantVoice, 48> back{};
  std::array<ConsonantVoice, 48> front{};
};

// Reads the "VOICE" item of every unit. Returns 1, or 0 with error = "Cannot load resource NAME"
// at the first missing or malformed item.
int LoadVoiceData(const UnitStore& store, VoiceData& data, std::string& error);

// Renders `samples` samples of a vowel by overlap-adding its cycle response at the pulse spacing
// of the contour (semitones at sample t: semitonesAt(t), clamped), as many whole periods as fit
// (one, cut to `samples`, when none does), blending back into the stored period over the end of
// the last period. The glottal closures of the periods go to `closures` when it is given.
// semitonesAt is asked once per period, at the period's glottal closure. At 0 semitones the
// result is the tiled period within 1 LSB.
void OverlapAddVowel(const VowelVoice& voice, const std::int16_t* period, std::uint32_t samples,
                     const std::function<float(std::uint32_t)>& semitonesAt,
                     std::vector<std::int16_t>& out,
                     std::vector<std::uint32_t>* closures = nullptr);

// Re-times one consonant unit: voiced parts by overlap-adding their own glottal periods at
// `period` samples apart (dropping or repeating whole periods for the time scale), noise and
// silence shortened or lengthened in their middle with a short crossfade, kept parts unchanged.
// `onsetEnd` moves the unit's last pulse so that the interval into the following vowel is one
// `period` too. timeScale 1 and period kBasePeriod give the unit itself.
void RetimeConsonant(const std::int16_t* unit, std::uint32_t length, const ConsonantVoice& map,
                     double timeScale, double period, bool onsetEnd,
                     std::vector<std::int16_t>& out);

// Renders one planned stretch segment by segment, so that the caller can test its stop flag
// after every segment. It keeps the last 256 vowels and consonants it made for reuse (about a
// megabyte at most), so one renderer should serve a voice for all its stretches. With neutral
// controls and an empty contour, RenderSegment(i, ...) is exactly synth::RenderSegment(list[i],
// BuildEnvelope(list, i), speed, units, buffer).
class ControlledRenderer {
 public:
  ControlledRenderer(const UnitInventory& units, const VoiceData& data);
  // contour: empty, or one VowelPitch per segment of list (entries of non-vowels are ignored; a
  // contour of another length is ignored as a whole). The list and the contour must stay alive
  // until the stretch is rendered.
  void BeginStretch(const SegmentList& list, const VoiceControls& controls,
                    std::span<const VowelPitch> contour);
  void RenderSegment(std::size_t i, std::uint16_t speed, SampleBuffer& buffer);

 private:
  const UnitInventory& units_;
  const VoiceData& data_;
  const SegmentList* list_ = nullptr;
  VoiceControls controls_{};
  std::span<const VowelPitch> contour_;
  std::vector<std::int16_t> scratch_;

  // The last units made, by everything that decides their samples; replaced round robin.
  class UnitCache {
   public:
    using Key = std::array<std::uint64_t, 4>;
    static constexpr std::size_t kEntries = 256;
    const std::vector<std::int16_t>* Find(const Key& key) const;
    const std::vector<std::int16_t>& Store(const Key& key,
                                           const std::vector<std::int16_t>& samples);

   private:
    struct Entry {
      Key key{};
      bool used = false;
      std::vector<std::int16_t> samples;
    };
    std::array<Entry, kEntries> entries_{};
    std::size_t next_ = 0;
  };
  UnitCache cache_;
  // Samples of the stretch so far as designed (rate 100) and as rendered: consonants cannot
  // shrink as far as a fast rate asks (bursts and frication keep their minimum), so the vowels
  // after them give back the difference, down to half their own length.
  double designedSamples_ = 0.0;
  double renderedSamples_ = 0.0;

  bool Designed() const noexcept { return controls_.IsNeutral() && contour_.empty(); }
  // The vowel's own pitch at its start or end (controls, contour, stress) in steps of 1/8
  // semitone, before clamping.
  float VowelSemitones(std::size_t i, bool atEnd) const;
  // The pitch of the nearest vowel a consonant joins: the next one for an onset, the previous
  // one for a coda, not across a pause.
  float ConsonantSemitones(std::size_t i, bool onset) const;
  void RenderVowel(std::size_t i, std::uint16_t speed, SampleBuffer& buffer);
  void RenderConsonant(std::size_t i, int part, SampleBuffer& buffer);
};

}  // namespace orvanel::synth
