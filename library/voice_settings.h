// The settings synthesis reads while it speaks: speed, pitch, volume, the voice controls, and
// which readings of the text are on. Every field may be written from any thread meanwhile.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "reading/turkish_reading.h"

namespace orvanel::library {

enum class TextEncoding { kUtf8, kCp1254 };

inline constexpr unsigned kDefaultSpeed = 50;    // 0 (fastest) .. 99 (slowest)
inline constexpr unsigned kDefaultPitch = 50;    // 1 .. 100: the playback rate of the stretch
inline constexpr unsigned kDefaultVolume = 100;  // percent, 0 .. 200
inline constexpr unsigned kMaxVolume = 200;
inline constexpr unsigned kDefaultRate = 100;  // percent of the normal speaking rate, 25 .. 400

// Pitch and volume are read once per stretch, speed once per vowel, the rest once per call.
struct VoiceSettings {
  std::atomic<std::uint16_t> speed{kDefaultSpeed};
  std::atomic<std::uint16_t> pitch{kDefaultPitch};
  std::atomic<std::uint16_t> volume{kDefaultVolume};
  // The voice controls, read once per stretch: the speaking rate in percent (100: the timing
  // that the speed gives) and a pitch shift in semitones (-6 .. 6) that keeps the voice's
  // formants. At 100 and 0 the literal rendering runs, sample for sample. They need the voice
  // data (a synthesizer made without it ignores them).
  std::atomic<std::uint16_t> ratePercent{kDefaultRate};
  std::atomic<float> semitones{0.f};
  // The Turkish reading stage before the front end (UTF-8 input only). Off, the text is read
  // literally, exactly as the window's Preprocess shows it.
  std::atomic<bool> reading{true};
  // How much punctuation the reading stage says aloud (none: prose punctuation is heard as
  // pauses only). The literal reading ignores it.
  std::atomic<reading::Punctuation> punctuation{reading::Punctuation::kNone};
  // Prosody mode: automatic Turkish word stress in the transcription and a sentence intonation
  // drawn as each stretch's pitch contour (it needs the voice data). On unless turned off: the
  // natural reading is the default outside the window.
  std::atomic<bool> prosody{true};
};

// Scales samples by percent (100 leaves them untouched), rounding to nearest and saturating at
// full scale.
void ApplyVolume(std::int16_t* samples, std::size_t count, unsigned percent) noexcept;

// The reading stage's options when a text in this encoding goes through it (UTF-8 with the
// reading on), or none for the literal reading.
inline std::optional<reading::ReadingOptions> ReadingOf(TextEncoding encoding,
                                                        const VoiceSettings& voice) {
  if (encoding != TextEncoding::kUtf8 || !voice.reading.load()) return std::nullopt;
  return reading::ReadingOptions{voice.punctuation.load()};
}

}  // namespace orvanel::library
