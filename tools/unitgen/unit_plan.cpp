#include "tools/unitgen/unit_plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace orvanel::unitgen {

namespace {

constexpr double kNeutralPoleHz = 280;  // where a zero/pole pair cancels
constexpr double kNeutralPoleBandwidth = 100;

std::array<double, 3> AsArray(const Formants& f) { return {f.f1, f.f2, f.f3}; }
std::array<double, 3> AsArray(const Bandwidths& b) { return {b.b1, b.b2, b.b3}; }

// Formants at the release: from the locus part of the way toward the target.
std::array<double, 3> ReleaseFormants(const ConsonantSound& c, const std::array<double, 3>& tgt) {
  const std::array<double, 3> locus = AsArray(c.locus);
  std::array<double, 3> out{};
  for (int k = 0; k < 3; ++k) {
    out[k] = locus[k] > 0 ? locus[k] + c.locus_k * (tgt[k] - locus[k]) : tgt[k];
  }
  return out;
}

// Release burst(s): a 0.5 ms raised-cosine rise, full level for the burst's duration, -10 dB
// 2 ms later, then off; a velar stop adds a second, weaker release.
void AddBursts(UnitPlan& plan, const ConsonantSound& c, int release, double dbfs) {
  const int rise = Ms(0.5);
  const int full = Ms(c.burst_ms);
  const int fall = Ms(2);
  Track level = {{release - 1, kOff}};
  for (int i = 1; i < rise; ++i) {
    const double gain = std::max(1e-5, 0.5 - 0.5 * Cos(std::numbers::pi * i / rise));
    level.push_back({release - 1 + i, dbfs + LinearToDb(gain)});
  }
  level.push_back({release - 1 + rise, dbfs});
  level.push_back({release + full, dbfs});
  level.push_back({release + full + fall, dbfs - 10});
  level.push_back({release + full + fall + Ms(c.burst_tail_ms), kOff});
  plan.noise.push_back({c.burst, level});
  plan.kept.push_back({release, release + Ms(10)});
  if (c.burst2_after_ms > 0) {
    const int second = release + Ms(c.burst2_after_ms);
    const double db2 = dbfs + c.burst2_db;
    const int end = second + Ms(c.burst2_ms);
    plan.kept.push_back({second, second + Ms(10)});
    plan.noise.push_back(
        {c.burst, {{second - 1, kOff}, {second - 1 + rise, db2}, {end, db2}, {end + Ms(4), kOff}}});
  }
}

// The zero/pole pair at the consonant's value from `from` to `hold_end`, cancelling (both at
// the nasal pole) after `cancel_at`; or the reverse for codas.
void AddZeroPole(UnitPlan& plan, const ConsonantSound& c, bool onset, int a, int b) {
  const double zf = c.zero_hz, zb = c.zero_bandwidth, pf = c.pole_hz, pb = c.pole_bandwidth;
  const double nf = kNeutralPoleHz, nb = kNeutralPoleBandwidth;
  if (onset) {  // consonant until a, cancelled from b
    plan.zero_hz = {{0, zf}, {a, zf}, {b, nf}};
    plan.zero_bandwidth = {{0, zb}, {a, zb}, {b, nb}};
    plan.pole_hz = {{0, pf}, {a, pf}, {b, nf}};
    plan.pole_bandwidth = {{0, pb}, {a, pb}, {b, nb}};
  } else {  // cancelled until a, consonant from b
    plan.zero_hz = {{-plan.prefix, nf}, {a, nf}, {b, zf}};
    plan.zero_bandwidth = {{-plan.prefix, nb}, {a, nb}, {b, zb}};
    plan.pole_hz = {{-plan.prefix, nf}, {a, nf}, {b, pf}};
    plan.pole_bandwidth = {{-plan.prefix, nb}, {a, nb}, {b, pb}};
  }
}

// The last glottal closure of an onset: the unit ends one sample before `phase` of a cycle.
int LastClosure(int n, int phase) {
  int gci = n - phase + Glottis().closure;
  while (gci >= n) gci -= kPeriod;
  return gci;
}

// Voicing of the vowel from `voicing` on, starting `onset_db` below its level and reaching it
// within `rise` samples, and at the latest by the unit's last glottal pulse, so that the first
// vowel period continues a pulse train that is already at the vowel's level.
Track VoicingRise(int voicing, double onset_db, int rise, int last_closure, int n, double av) {
  const int full = std::max(voicing + 1, std::min(voicing + rise, last_closure));
  return {{voicing - 1, kOff}, {voicing, av - onset_db}, {full, av}, {n, av}};
}

}  // namespace

UnitPlan PlanOnset(const ConsonantUnit& unit, int n) {
  const ConsonantSound& c = *unit.sound;
  const TransitionTarget& target = Target(unit.set);
  const Voice& voice = CalibratedVoice();
  const std::array<double, 3> tgt = AsArray(target.formants);
  const std::array<double, 3> tgt_b = AsArray(target.bandwidths);
  const std::array<double, 3> release_f = ReleaseFormants(c, tgt);
  const double av = voice.TargetAv(unit.set);

  const int transition = Ms(c.transition_ms);
  int release = n - transition;
  const int voicing = n - (c.voicing_ms ? Ms(*c.voicing_ms) : transition);
  const int reached = n - Ms(c.end_hold_ms);

  UnitPlan plan;
  plan.samples = n;
  plan.align_to_end = true;
  plan.phase = voice.vowel_start[target.reference_vowel];
  plan.fade_in = Ms(0.5);
  plan.fade_out = Ms(0.5);

  for (int k = 0; k < 3; ++k) {
    plan.formants[k] = {{0, release_f[k]}, {release, release_f[k]}, {reached, tgt[k]}};
    plan.bandwidths[k] = {{0, tgt_b[k]}, {release, tgt_b[k]}, {release + Ms(15), tgt_b[k]}};
  }

  if (c.manner == Manner::kStop || c.manner == Manner::kAffricate) {
    if (c.hold_release_formants) {
      for (int k = 0; k < 3; ++k) {
        plan.formants[k] = {{0, release_f[k]}, {voicing, release_f[k]}, {reached, tgt[k]}};
      }
      if (c.aspiration_bandwidths) {
        const std::array<double, 3> held = AsArray(*c.aspiration_bandwidths);
        for (int k = 1; k < 3; ++k) {
          plan.bandwidths[k] = {{0, held[k]}, {voicing, held[k]}, {voicing + Ms(10), tgt_b[k]}};
        }
      }
    }
    const int full = Ms(c.burst_ms);
    AddBursts(plan, c, release, c.burst_dbfs);
    if (c.manner == Manner::kAffricate) {
      const double db = c.frication_dbfs;
      plan.noise.push_back({c.frication,
                            {{release, kOff},
                             {release + Ms(3), db},
                             {voicing - Ms(c.frication_off_ms), db - 2},
                             {voicing, kOff}}});
    }
    if (c.cutback_b1) {  // F1 cut-back: the open glottis damps F1
      plan.bandwidths[0] = {
          {0, *c.cutback_b1}, {voicing, *c.cutback_b1}, {voicing + Ms(8), tgt_b[0]}};
      plan.aspiration_low_hz = c.aspiration_low_hz;
      plan.aspiration_order = 2;
    }
    if (c.aspiration_db && voicing > release + full) {
      const double db = *c.aspiration_db;
      plan.aspiration_db = {{release + full / 2, kOff},
                            {release + full, db},
                            {voicing - Ms(4), db - 4},
                            {voicing + Ms(6), kOff}};
    }
    if (c.place_frication.kind != NoiseShape::Kind::kNone && voicing > release + full) {
      const double db = c.burst_dbfs + c.place_frication_db;
      plan.noise.push_back({c.place_frication,
                            {{release + full - Ms(1), kOff},
                             {release + full + Ms(1), db},
                             {voicing - Ms(2), db - c.place_frication_fall_db},
                             {voicing + Ms(3), kOff}}});
    }
    if (c.voiced) {
      plan.voicebar_db = c.voicebar_throughout
                             ? Track{{0, kOff}, {Ms(8), c.voicebar_db}, {n, c.voicebar_db}}
                             : Track{{0, kOff},
                                     {Ms(8), c.voicebar_db},
                                     {release, c.voicebar_db},
                                     {release + Ms(2), kOff}};
    }
    plan.voicing_db = VoicingRise(voicing, c.voice_onset_db, Ms(c.voice_rise_ms),
                                  LastClosure(n, plan.phase), n, av);
  } else if (c.manner == Manner::kFricative) {
    const int end = voicing + Ms(c.frication_overlap_ms);
    const double db = c.frication_dbfs;
    plan.noise.push_back({c.frication,
                          {{0, kOff},
                           {Ms(c.frication_rise_ms), db},
                           {end - Ms(c.frication_off_ms), db - 1},
                           {end, kOff}}});
    if (c.voiced) {
      plan.voicebar_db = {
          {0, kOff}, {Ms(10), c.voicebar_db}, {voicing, c.voicebar_db}, {voicing + Ms(8), kOff}};
      plan.noise.back().glottal_modulation = c.glottal_modulation;
    }
    plan.voicing_db = VoicingRise(voicing, c.voice_onset_db, Ms(c.voice_rise_ms),
                                  LastClosure(n, plan.phase), n, av);
    if (c.aspiration_db) {
      const double db_h = *c.aspiration_db;
      plan.aspiration_db = {
          {0, kOff}, {Ms(c.frication_rise_ms), db_h}, {voicing, db_h - 3}, {voicing + Ms(8), kOff}};
    }
  } else {
    const std::array<double, 3> steady_f = AsArray(*c.steady_formants);
    const std::array<double, 3> steady_b = AsArray(c.steady_bandwidths);
    const double steady = av + c.steady_db;
    plan.voicing_db = {{0, kOff},
                       {Ms(c.steady_rise_ms), steady},
                       {release, steady},
                       {release + Ms(c.level_transition_ms), av},
                       {n, av}};
    if (c.zero_hz > 0) AddZeroPole(plan, c, true, release - 1, release + Ms(c.zero_transition_ms));
    if (c.frication.kind != NoiseShape::Kind::kNone) {
      const double db = c.frication_dbfs;
      plan.noise.push_back(
          {c.frication, {{0, kOff}, {Ms(10), db}, {release, db}, {release + Ms(8), kOff}}});
    }
    std::array<Track, 3> tap_bandwidths;
    if (c.tap_start_ms > 0) {
      // Approximant, a short closure (the tap) with damped formants, release.
      const int a0 = Ms(c.tap_start_ms) - Ms(3), a1 = Ms(c.tap_start_ms);
      const int b0 = Ms(c.tap_end_ms), b1 = Ms(c.tap_end_ms) + Ms(3);
      plan.voicing_db = {
          {0, kOff},           {Ms(4), steady}, {a0, steady},     {a1, av + c.tap_db},
          {b0, av + c.tap_db}, {b1, av - 3},    {b1 + Ms(8), av}, {n, av}};
      release = b0;
      plan.kept.push_back({a0, b1});
      plan.formants[0] = {{0, steady_f[0]}, {a0, steady_f[0]}, {a1, c.tap_f1},
                          {b0, c.tap_f1},   {b1, steady_f[0]}, {reached, tgt[0]}};
      const std::array<double, 3> tap_b = AsArray(c.tap_bandwidths);
      for (int k = 0; k < 3; ++k) {
        tap_bandwidths[k] = {{0, steady_b[k]},  {a0, steady_b[k]},
                             {a1, tap_b[k]},    {b0, tap_b[k]},
                             {b1, steady_b[k]}, {b1 + Ms(c.bandwidth_transition_ms), tgt_b[k]}};
      }
    }
    for (int k = 0; k < 3; ++k) {
      if (k > 0 || c.tap_start_ms <= 0) {
        plan.formants[k] = {{0, steady_f[k]}, {release, steady_f[k]}, {reached, tgt[k]}};
      }
      plan.bandwidths[k] = c.tap_start_ms > 0
                               ? tap_bandwidths[k]
                               : Track{{0, steady_b[k]},
                                       {release, steady_b[k]},
                                       {release + Ms(c.bandwidth_transition_ms), tgt_b[k]}};
    }
  }
  return plan;
}

UnitPlan PlanCoda(const ConsonantUnit& unit, int n) {
  const ConsonantSound& c = *unit.sound;
  const TransitionTarget& target = Target(unit.set);
  const Voice& voice = CalibratedVoice();
  const int ref = target.reference_vowel;
  const VowelSound& vowel = Vowels()[ref];
  const std::array<double, 3> vf = AsArray(vowel.formants);
  const std::array<double, 3> vb = AsArray(vowel.bandwidths);
  const std::array<double, 3> tgt = AsArray(target.formants);
  const std::array<double, 3> tgt_b = AsArray(target.bandwidths);
  const std::array<double, 3> release_f = ReleaseFormants(c, tgt);
  const double av_vowel = voice.vowel_av_db[ref];
  const double av = voice.TargetAv(unit.set);

  UnitPlan plan;
  plan.samples = n;
  plan.prefix = (kSettlingCycles + 1) * kPeriod;  // the vowel period's own history
  plan.align_to_end = false;
  plan.phase = voice.vowel_start[ref];
  plan.fade_in = 0;
  plan.fade_out = Ms(c.end_fade_ms);
  const int pre = -plan.prefix;
  const int transition = Ms(c.coda_transition_ms);
  const int neutral = Ms(4);

  for (int k = 0; k < 3; ++k) {
    plan.formants[k] = {{pre, vf[k]}, {0, vf[k]}, {neutral, tgt[k]}, {transition, release_f[k]}};
    plan.bandwidths[k] = {{pre, vb[k]}, {0, vb[k]}, {neutral, tgt_b[k]}, {transition, tgt_b[k]}};
  }

  if (c.manner == Manner::kStop || c.manner == Manner::kAffricate) {
    plan.voicing_db = {{pre, av_vowel},
                       {0, av_vowel},
                       {transition - Ms(12), av - 3},
                       {transition, av - 12},
                       {transition + 1, kOff}};
    const int closure = Ms(c.coda_closure_ms);
    const int release = transition + closure;
    if (c.voiced) {
      const int bar_end = transition + static_cast<int>(closure * c.coda_voicebar_share);
      plan.voicebar_db = {{transition - Ms(5), kOff},
                          {transition, c.voicebar_db},
                          {bar_end, c.voicebar_db - 6},
                          {bar_end + Ms(10), kOff}};
    }
    const int full = Ms(c.burst_ms);
    const double burst_db = c.burst_dbfs + c.coda_burst_db;
    AddBursts(plan, c, release, burst_db);
    if (c.aspiration_db) {
      const int end = release + full + Ms(c.coda_aspiration_ms);
      plan.aspiration_db = {{release, kOff}, {release + full, *c.aspiration_db - 2}, {end, kOff}};
      if (c.cutback_b1) {  // the released aspiration, like the onset's, is damped and high-passed
        plan.bandwidths[0].push_back({release - Ms(2), tgt_b[0]});
        plan.bandwidths[0].push_back({release, *c.cutback_b1});
        plan.aspiration_low_hz = c.aspiration_low_hz;
        plan.aspiration_order = 2;
      }
      if (c.place_frication.kind != NoiseShape::Kind::kNone) {
        const double db = burst_db + c.place_frication_db;
        plan.noise.push_back({c.place_frication,
                              {{release + full - Ms(1), kOff},
                               {release + full + Ms(1), db},
                               {end - Ms(8), db - c.place_frication_fall_db},
                               {end, kOff}}});
      }
    }
  } else if (c.manner == Manner::kFricative) {
    const int start = transition - Ms(c.coda_frication_overlap_ms);
    const int end = n - Ms(c.coda_frication_tail_ms);
    const double db = c.frication_dbfs;
    plan.noise.push_back({c.frication,
                          {{start, kOff},
                           {start + Ms(c.coda_frication_rise_ms), db},
                           {end - Ms(c.coda_frication_fall_ms), db - 2},
                           {end, kOff}}});
    if (c.voiced) {
      const int devoiced = end - Ms(c.coda_devoicing_ms);
      plan.voicebar_db = {{transition - Ms(10), kOff},
                          {transition, c.voicebar_db},
                          {devoiced, c.voicebar_db - 3},
                          {devoiced + Ms(15), kOff}};
      plan.noise.back().glottal_modulation = c.glottal_modulation;
      plan.voicing_db = {
          {pre, av_vowel}, {0, av_vowel}, {transition - Ms(6), av - 4}, {transition + Ms(4), kOff}};
    } else {
      plan.voicing_db = {
          {pre, av_vowel}, {0, av_vowel}, {transition - Ms(8), av - 4}, {transition + Ms(2), kOff}};
    }
    if (c.aspiration_db) {
      const double db_h = *c.aspiration_db;
      plan.aspiration_db = {
          {start, kOff}, {start + Ms(15), db_h}, {end - Ms(30), db_h - 4}, {end, kOff}};
    }
  } else {
    const std::array<double, 3> steady_f = AsArray(*c.steady_formants);
    const std::array<double, 3> steady_b = AsArray(c.steady_bandwidths);
    const int fade = n - Ms(c.coda_fade_ms);
    plan.voicing_db = {{pre, av_vowel},
                       {0, av_vowel},
                       {transition - Ms(c.level_transition_ms), av},
                       {transition, av + c.steady_db},
                       {fade, av + c.steady_db - 3},
                       {n, -40}};
    for (int k = 0; k < 3; ++k) {
      plan.formants[k] = {
          {pre, vf[k]}, {0, vf[k]}, {neutral, tgt[k]}, {transition, steady_f[k]}, {n, steady_f[k]}};
      plan.bandwidths[k] = {{pre, vb[k]},
                            {0, vb[k]},
                            {neutral, tgt_b[k]},
                            {transition, steady_b[k]},
                            {n, steady_b[k]}};
    }
    if (c.zero_hz > 0) {
      AddZeroPole(plan, c, false, transition - Ms(c.zero_transition_ms), transition);
    }
    if (c.frication.kind != NoiseShape::Kind::kNone) {
      const double db = c.frication_dbfs;
      plan.noise.push_back(
          {c.frication,
           {{transition, kOff}, {transition + Ms(15), db}, {n - Ms(10), db}, {n, kOff}}});
    }
  }

  if (unit.set != VowelSet::kFront) {
    // The coda's first glottal pulse is made weaker than the reference vowel's (a has the
    // strongest pulses), so that after a quieter vowel it is never a lone strong pulse before
    // the coda's voicing falls away. Front codas keep it: a weaker pulse there would change the
    // cycle that straddles the cut and move the first sample off zero.
    const int first_pulse = Glottis().closure - plan.phase;
    Track av_track;
    for (const Breakpoint& p : plan.voicing_db) {
      if (p.at <= 0) av_track.push_back(p);
    }
    av_track.push_back({first_pulse, av_vowel + c.coda_first_pulse_db});
    for (const Breakpoint& p : plan.voicing_db) {
      if (p.at > first_pulse) av_track.push_back(p);
    }
    plan.voicing_db = av_track;
  }
  return plan;
}

UnitPlan PlanConsonant(const ConsonantUnit& unit, int samples) {
  return unit.role == Role::kCoda ? PlanCoda(unit, samples) : PlanOnset(unit, samples);
}

}  // namespace orvanel::unitgen
