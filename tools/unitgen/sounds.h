// The phonetic tables of the unit generator: vowel targets, transition targets, consonant sounds.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace orvanel::unitgen {

struct Formants {
  double f1 = 0, f2 = 0, f3 = 0;
};
struct Bandwidths {
  double b1 = 0, b2 = 0, b3 = 0;
};

// One of the eight vowel periods. The figures mirror tools/unitgen/vowel_targets.csv.
struct VowelSound {
  std::string_view unit;
  std::string_view letter;  // UTF-8, for messages only
  Formants formants;
  Bandwidths bandwidths;
  double rms_dbfs;  // level of the finished period
};
std::span<const VowelSound> Vowels();  // in vowel unit order: a e ı i o ö u ü

// Which vowels a consonant unit stands next to.
enum class VowelSet { kBack, kFront, kShared };

// The neutral vowel a consonant's transition runs to (onsets) or from (codas); a consonant unit
// cannot know which vowel of its set it meets, so it aims at the middle of the set.
struct TransitionTarget {
  Formants formants;
  Bandwidths bandwidths;
  double rms_dbfs;
  int reference_vowel;  // vowel unit number whose cycle phase the joins follow (a or e)
};
const TransitionTarget& Target(VowelSet set);

// A noise spectrum: a resonance (centre, bandwidth) followed by a Butterworth high-pass at
// highpass_ratio x centre, optionally with a second resonance mixed in; or a Butterworth band.
struct NoiseShape {
  enum class Kind { kNone, kResonance, kBand };
  Kind kind = Kind::kNone;
  double centre_or_low = 0;
  double bandwidth_or_high = 0;
  int order = 2;  // band: order of each edge; resonance: order of the high-pass
  double highpass_ratio = 0.55;
  double extra_centre = 0, extra_bandwidth = 0, extra_mix = 0;
};

enum class Manner { kStop, kAffricate, kFricative, kNasal, kLiquid, kGlide, kTap };

// One consonant sound in one vowel context. Times in ms, levels of noise channels in dBFS RMS,
// aspiration and voice-bar levels at the cascade input (the scale of the vowels' voicing gain),
// sonorant levels in dB relative to the transition target.
struct ConsonantSound {
  Manner manner;
  bool voiced = false;
  Formants locus{};      // where the formants point at the closure or constriction
  double locus_k = 0.4;  // release value = locus + locus_k x (target - locus)

  double transition_ms = 0;            // onset: release to the end of the unit
  std::optional<double> voicing_ms{};  // onset: vowel voicing before the end (default: transition)
  double coda_transition_ms = 0;

  // Release of stops and affricates.
  NoiseShape burst{};
  double burst_ms = 5;  // at full level after a 0.5 ms rise, then -10 dB within 2 ms
  double burst_dbfs = -20;
  double burst_tail_ms = 6;    // from -10 dB to off
  double burst2_after_ms = 0;  // second (velar) release burst, 0 = none
  double burst2_db = -6;
  double burst2_ms = 3;
  double coda_burst_db = -4;  // coda burst relative to the onset burst
  double coda_closure_ms = 35;
  double coda_voicebar_share = 0.6;  // share of a voiced coda closure that keeps the voice bar
  double coda_aspiration_ms = 30;

  // Voicing.
  double voice_onset_db = 6;  // the vowel's voicing starts this far below its level...
  double voice_rise_ms = 10;  // ...and reaches it after this time
  double voicebar_db = -99;   // closure voicing (pulse train through two 180 Hz resonators)
  bool voicebar_throughout = false;

  // Aspiration: noise into the cascade, so it carries the moving formants.
  std::optional<double> aspiration_db{};
  std::optional<double> cutback_b1{};  // F1 bandwidth while the glottis is open
  double aspiration_low_hz = 300;
  bool hold_release_formants = false;  // keep the release (pinch) formants during aspiration
  std::optional<Bandwidths> aspiration_bandwidths{};  // B2, B3 during a held aspiration
  NoiseShape place_frication{};   // parallel noise at the place of articulation, through aspiration
  double place_frication_db = 0;  // relative to the burst
  double place_frication_fall_db = 8;

  // Frication.
  NoiseShape frication{};
  double frication_dbfs = -99;
  double frication_rise_ms = 20;
  double frication_off_ms = 10;     // fall time before it stops
  double frication_overlap_ms = 5;  // onset: frication continues past voicing onset
  double coda_frication_overlap_ms = 8;
  double coda_frication_rise_ms = 12;
  double coda_frication_tail_ms = 4;
  double coda_frication_fall_ms = 30;
  double coda_devoicing_ms = 25;    // voiced fricative codas lose the voice bar this early
  double glottal_modulation = 0.5;  // depth of the noise modulation in voiced fricatives

  // Steady part of sonorants (murmur, lateral, glide, tap).
  std::optional<Formants> steady_formants{};
  Bandwidths steady_bandwidths{};
  double steady_db = 0;
  double steady_rise_ms = 15;
  double level_transition_ms = 8;
  double bandwidth_transition_ms = 15;
  double coda_fade_ms = 25;

  // Zero/pole pair before the cascade: nasal zero (nasal pole 280 Hz) or lateral zero.
  double zero_hz = 0;  // 0 = none
  double zero_bandwidth = 0;
  double pole_hz = 280;
  double pole_bandwidth = 100;
  double zero_transition_ms = 6;

  // Tap.
  double tap_start_ms = 0;  // 0 = no tap
  double tap_end_ms = 0;
  double tap_db = 0;
  double tap_f1 = 0;
  Bandwidths tap_bandwidths{};

  double coda_first_pulse_db = -5;  // first glottal pulse of a back or shared coda
  double end_hold_ms = 3;           // onsets reach the target this long before the end
  double end_fade_ms = 2;           // coda fade-out
};

enum class Role { kOnset, kCoda, kBoth };

struct ConsonantUnit {
  std::string_view name;
  const ConsonantSound* sound;
  VowelSet set;
  Role role;
};
std::span<const ConsonantUnit> ConsonantUnits();

// The byte size of every unit is fixed by the catalogue: samples per unit name.
int CatalogueSamples(std::string_view unit);

}  // namespace orvanel::unitgen
