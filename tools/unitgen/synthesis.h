// The source-filter synthesizer: parameter tracks in, one unit's samples out.
#pragma once

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/unitgen/dsp.h"
#include "tools/unitgen/sounds.h"

namespace orvanel::unitgen {

// A parameter over time: breakpoints (sample, value), linear in between, flat outside.
struct Breakpoint {
  int at;
  double value;
};
using Track = std::vector<Breakpoint>;

// Level tracks are in dB; -99 (anything at or below -90) is off. They are interpolated on the
// linear scale, so a fade from off is a straight ramp of amplitude.
inline constexpr double kOff = -99.0;

struct NoiseChannel {
  NoiseShape shape;
  Track level_dbfs;
  double glottal_modulation = 0.0;
};

// Everything that drives one synthesis run. Sample 0 is the first sample of the unit; codas
// start `prefix` samples earlier with the steady reference vowel, which is cut off at the end.
struct UnitPlan {
  int samples = 0;
  int prefix = 0;
  // Cycle phase at the edge the pulse train is aligned to: the unit's end (onsets; the sample
  // after the last has this phase) or its start (codas).
  bool align_to_end = true;
  int phase = 0;

  std::array<Track, 3> formants;
  std::array<Track, 3> bandwidths;
  Track zero_hz, zero_bandwidth, pole_hz, pole_bandwidth;  // empty: no zero/pole pair

  Track voicing_db;     // AV: glottal pulses into the cascade
  Track voicebar_db;    // AVB: glottal pulses through two 180 Hz resonators
  Track aspiration_db;  // AH: noise into the cascade
  double aspiration_low_hz = 300;
  int aspiration_order = 1;

  std::vector<NoiseChannel> noise;
  int fade_in = 0;   // half-cosine, samples
  int fade_out = 0;  // half-cosine down to exactly zero at the last sample

  // Stretches (unit samples, [first, second)) that a change of timing must keep whole: the first
  // 10 ms of every release burst, and the tap of r. They do not take part in the synthesis.
  std::vector<std::pair<int, int>> kept;
};

// Runs the model. The seed name fixes the noise sequences.
Signal Synthesise(const UnitPlan& plan, std::string_view seed_name);

// The calibrated voice: the voicing gain of every vowel and transition target for its level,
// and where in the glottal cycle each vowel period starts.
struct Voice {
  std::array<double, 8> vowel_av_db{};
  std::array<int, 8> vowel_start{};  // samples after glottal opening
  int common_phase = 0;
  double TargetAv(VowelSet set) const { return target_av_db[static_cast<int>(set)]; }
  std::array<double, 3> target_av_db{};
};
const Voice& CalibratedVoice();

// Cycles of steady vowel before a vowel period is cut (and before a coda starts): the filters
// are then in periodic steady state.
inline constexpr int kSettlingCycles = 28;

// One steady vowel period (unit number 0..7), mean removed, starting at its vowel_start.
Signal VowelPeriod(int vowel);

// The vowel's response to a single glottal cycle from rest (sample 0 is the glottal opening),
// rung out until it stays below peak x 2^-15. Its periodic sum at the start phase is the stored
// period: period[n] = sum over j of response[rotation + n + 194 j].
struct VowelResponse {
  int rotation = 0;  // where the period starts, samples after glottal opening (vowel_start)
  int peak = 0;      // the glottal closure inside the period: closure - rotation
  Signal response;
};
VowelResponse VowelCycleResponse(int vowel);

// The parts of a consonant unit, for changing its timing and pitch without re-synthesising it.
enum class PartKind { kSilence = 0, kNoise = 1, kVoiced = 2, kKept = 3 };
struct UnitPart {
  PartKind kind;
  int start = 0, end = 0;  // unit samples, [start, end)
  bool shortenable = false;
};
struct PartMap {
  std::vector<UnitPart> parts;  // in order, covering the whole unit
  std::vector<int> pulses;      // glottal closures of the voiced cycles, unit samples, ascending
};
// Classifies every sample of the unit the plan makes: kept (burst starts, tap) before voiced (a
// voiced glottal cycle from 48 samples before its closure to 194 after it) before noise (any
// noise or aspiration on) before silence; runs of one class are the parts.
PartMap MapParts(const UnitPlan& plan);

}  // namespace orvanel::unitgen
