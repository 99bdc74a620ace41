// Voice controls beside the literal rendering: a speaking rate, a pitch shift in semitones and a
// per-vowel pitch contour, rendered from the generator's voice data so that the voice keeps its
// formants. Neutral controls with no contour render exactly the literal samples. The data lives in
// voice_data.h, the signal processing in voice_signal.h and the renderer in controlled_renderer.h.
#pragma once

#include <cstdint>

namespace orvanel::synth {

// Samples of the stored glottal period (113.66 Hz at 22050 samples per second).
inline constexpr std::uint32_t kBasePeriod = 194;
// Pitch targets are clamped to this many semitones either side of the units' own pitch.
inline constexpr float kMaxSemitones = 6.0f;
inline constexpr unsigned kMinRatePercent = 25;
inline constexpr unsigned kMaxRatePercent = 400;
// Shortest pauses at a fast rate (a notation pause that is shorter keeps its length).
inline constexpr std::uint64_t kMinSentenceEndMs = 120;
inline constexpr std::uint64_t kMinPauseMs = 40;
// Every fricative or aspiration part keeps at least this much from its middle, where it is at
// its level, and 3 ms of each end (or all of it when shorter).
inline constexpr std::uint32_t kMinNoiseSamples = 331;  // 15 ms

// Fast speech (rates above 100) shortens first what carries least and keeps what tells the sounds
// apart: closures scale by the square of 100 / rate (the rate once more on top of the timing, not
// below 2 ms), frication keeps kFastNoiseSamples of its middle and 3 ms of each end, the
// aspiration of p, t and k kFastAspirationSamples (its start after the burst and its end into the
// voicing), every burst its first 10 ms; vowels that give back what the consonants before them
// overran keep at least kFastVowelPeriods whole periods. Measured in docs/voice/fast-speech.md.
inline constexpr std::uint32_t kFastNoiseSamples = 220;       // 10 ms
inline constexpr std::uint32_t kFastAspirationSamples = 100;  // 4.5 ms
inline constexpr double kFastVowelPeriods = 2.0;

// Pitch of one vowel in semitones relative to the units' own 113.66 Hz, at its start and its end,
// interpolated linearly over the vowel.
struct VowelPitch {
  float startSemitones = 0.f;
  float endSemitones = 0.f;
  std::uint16_t lengthPercent = 100;  // the vowel's length, 50..300 % of what the controls give
};

// How the controls combine with the literal ones: a vowel lasts
//   VowelDurationMs(speed, count) x 100 / ratePercent,
// so the speed keeps its meaning and the rate scales the result; consonants and pauses, which
// the speed does not touch, are scaled by 100 / ratePercent too (pauses not below
// kMinSentenceEndMs and kMinPauseMs). What consonants cannot give at a fast rate is taken from
// the following vowels of the stretch, none below half its scaled length. The semitones are added
// to every vowel's contour and to the voiced parts of the consonants next to it; the result is
// clamped to +-kMaxSemitones and taken in steps of 1/8 semitone (with a contour, vowels in steps
// of 1/4 and consonants of 1/2, see controlled_renderer.cpp). Stress ("`", lengthPercent)
// shortens a vowel and raises its pitch by the same factor, and the notation's glide becomes a
// pitch bend of the same shape, without moving the formants. Rates and shifts outside their ranges
// are clamped. The engine's pitch value (the output sample rate) still applies on top of all this.
struct VoiceControls {
  unsigned ratePercent = 100;  // kMinRatePercent..kMaxRatePercent, 100 = the timing the speed gives
  float semitones = 0.f;       // -kMaxSemitones..kMaxSemitones
  bool IsNeutral() const noexcept { return ratePercent == 100 && semitones == 0.f; }
};

}  // namespace orvanel::synth
