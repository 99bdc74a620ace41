#include "tools/unitgen/sounds.h"

#include <array>
#include <map>
#include <stdexcept>
#include <string>

namespace orvanel::unitgen {

namespace {

// Adult male Turkish vowels, F1 F2 F3 / B1 B2 B3 in Hz, RMS of the finished period. Open vowels
// are louder than close ones (intrinsic level). Sources and acceptance bands: vowel_targets.csv.
constexpr std::array<VowelSound, 8> kVowels = {{
    {"A_1", "a", {700, 1250, 2600}, {80, 90, 150}, -15.0},
    {"E_1", "e", {560, 1980, 2600}, {60, 100, 160}, -15.5},
    {"I_1", "ı", {360, 1520, 2500}, {55, 90, 140}, -16.5},
    {"IE_1", "i", {280, 2350, 3050}, {50, 80, 150}, -17.0},
    {"O_1", "o", {460, 830, 2500}, {70, 80, 140}, -15.5},
    {"OE_1", "ö", {470, 1620, 2150}, {60, 90, 140}, -16.0},
    {"U_1", "u", {310, 720, 2350}, {55, 80, 140}, -17.0},
    {"UE_1", "ü", {290, 1850, 2250}, {55, 90, 140}, -17.0},
}};

constexpr int kVowelA = 0;
constexpr int kVowelE = 1;

const TransitionTarget kBackTarget = {{500, 1080, 2500}, {70, 90, 140}, -16.0, kVowelA};
const TransitionTarget kFrontTarget = {{400, 1920, 2550}, {60, 100, 150}, -16.0, kVowelE};
const TransitionTarget kSharedTarget = {{460, 1450, 2500}, {65, 95, 145}, -16.0, kVowelA};

// Loci (F1 F2 F3) by place of articulation and vowel set.
constexpr Formants kLabialBack = {250, 800, 2200};
constexpr Formants kLabialFront = {250, 1500, 2300};
constexpr Formants kLabialShared = {250, 1100, 2300};
constexpr Formants kAlveolarBack = {250, 1700, 2700};
constexpr Formants kAlveolarFront = {250, 1900, 2800};
constexpr Formants kAlveolarShared = {250, 1750, 2700};
constexpr Formants kVelarBack = {250, 1500, 1900};  // F2 and F3 close: the velar pinch
constexpr Formants kPalatalFront = {250, 2300, 2900};
constexpr Formants kPostalveolar = {250, 1950, 2500};
constexpr Formants kLabiodental = {250, 1150, 2300};

// Release bursts.
constexpr NoiseShape kLabialBurst = {
    .kind = NoiseShape::Kind::kBand, .centre_or_low = 400, .bandwidth_or_high = 4500, .order = 1};
constexpr NoiseShape kAlveolarBurst = {
    .kind = NoiseShape::Kind::kResonance, .centre_or_low = 4500, .bandwidth_or_high = 2000};
constexpr NoiseShape kVelarBurst = {
    .kind = NoiseShape::Kind::kResonance, .centre_or_low = 2000, .bandwidth_or_high = 700};
constexpr NoiseShape kPalatalBurst = {
    .kind = NoiseShape::Kind::kResonance, .centre_or_low = 3000, .bandwidth_or_high = 600};
constexpr NoiseShape kPostalveolarBurst = {
    .kind = NoiseShape::Kind::kResonance, .centre_or_low = 3000, .bandwidth_or_high = 1500};

// Voiced stops: voice bar through the closure, weak burst, voicing at once (prevoiced).
ConsonantSound VoicedStop(Formants locus, NoiseShape burst) {
  return {.manner = Manner::kStop,
          .voiced = true,
          .locus = locus,
          .burst = burst,
          .burst_dbfs = -26,
          .burst_tail_ms = 4,
          .coda_closure_ms = 40,
          .coda_aspiration_ms = 10,
          .voice_onset_db = 3,
          .voice_rise_ms = 8,
          .voicebar_db = -6};
}

// Voiceless stops: silent closure, burst, aspiration with F1 cut-back, late voicing (long lag).
ConsonantSound VoicelessStop(Formants locus, NoiseShape burst) {
  return {.manner = Manner::kStop,
          .locus = locus,
          .burst = burst,
          .burst_dbfs = -20,
          .burst_tail_ms = 8,
          .coda_closure_ms = 35,
          .coda_aspiration_ms = 30,
          .voice_onset_db = 8,
          .voice_rise_ms = 15,
          .aspiration_db = -28,
          .cutback_b1 = 400,
          .aspiration_low_hz = 1000};
}

const ConsonantSound kBBack = [] {
  ConsonantSound s = VoicedStop(kLabialBack, kLabialBurst);
  s.transition_ms = 20, s.voicing_ms = 19, s.coda_transition_ms = 30;
  s.burst_dbfs = -30, s.coda_closure_ms = 45;
  return s;
}();
const ConsonantSound kBFront = [] {
  ConsonantSound s = VoicedStop(kLabialFront, kLabialBurst);
  s.transition_ms = 28, s.voicing_ms = 27, s.coda_transition_ms = 30;
  s.burst_dbfs = -30, s.coda_closure_ms = 35;
  return s;
}();
const ConsonantSound kPBack = [] {
  ConsonantSound s = VoicelessStop(kLabialBack, kLabialBurst);
  s.transition_ms = 50, s.voicing_ms = 14, s.coda_transition_ms = 30;  // VOT 36 ms
  s.burst_dbfs = -26;
  return s;
}();
const ConsonantSound kPFront = [] {
  ConsonantSound s = VoicelessStop(kLabialFront, kLabialBurst);
  s.transition_ms = 42, s.voicing_ms = 12, s.coda_transition_ms = 30;  // VOT 30 ms
  s.burst_dbfs = -26;
  return s;
}();
const ConsonantSound kDBack = [] {
  ConsonantSound s = VoicedStop(kAlveolarBack, kAlveolarBurst);
  s.transition_ms = 20, s.voicing_ms = 19, s.coda_transition_ms = 35;
  s.burst_dbfs = -24, s.coda_closure_ms = 60;  // stronger than -24 dBFS sounds like t
  return s;
}();
const ConsonantSound kDFront = [] {
  ConsonantSound s = VoicedStop(kAlveolarFront, kAlveolarBurst);
  s.transition_ms = 30, s.voicing_ms = 29, s.coda_transition_ms = 35;
  s.burst_dbfs = -24, s.coda_closure_ms = 60;
  return s;
}();
const ConsonantSound kT = [] {
  ConsonantSound s = VoicelessStop(kAlveolarShared, kAlveolarBurst);
  s.transition_ms = 40, s.voicing_ms = 12, s.coda_transition_ms = 25;  // VOT 28 ms
  s.burst_dbfs = -13, s.burst_ms = 7, s.coda_closure_ms = 30;
  s.place_frication = {
      .kind = NoiseShape::Kind::kResonance, .centre_or_low = 4500, .bandwidth_or_high = 2500};
  s.place_frication_db = -12;
  return s;
}();
const ConsonantSound kGBack = [] {
  ConsonantSound s = VoicedStop(kVelarBack, kVelarBurst);
  s.locus_k = 0.25;
  s.transition_ms = 21, s.voicing_ms = 20, s.coda_transition_ms = 25;
  s.burst_dbfs = -16, s.burst_ms = 4, s.coda_closure_ms = 30;
  s.burst2_after_ms = 8, s.burst2_db = -6, s.burst2_ms = 2;  // velar double release
  return s;
}();
const ConsonantSound kGFront = [] {
  ConsonantSound s = VoicedStop(kPalatalFront, kPalatalBurst);
  s.locus_k = 0.35;
  s.transition_ms = 21, s.voicing_ms = 20, s.coda_transition_ms = 25;
  s.burst_dbfs = -16, s.burst_ms = 6, s.coda_closure_ms = 30;
  return s;
}();
const ConsonantSound kKBack = [] {
  ConsonantSound s = VoicelessStop(kVelarBack, kVelarBurst);
  s.locus_k = 0.25;
  s.transition_ms = 48, s.voicing_ms = 12, s.coda_transition_ms = 25;  // VOT 36 ms
  s.burst_dbfs = -13, s.burst_ms = 5, s.coda_closure_ms = 30;
  // Second release 5 ms after the first: velar releases come in quick succession, and a gap of
  // one glottal period (9 ms) would look like voicing in the release.
  s.burst2_after_ms = 5, s.burst2_db = -5, s.burst2_ms = 3;
  s.aspiration_db = -24;
  s.hold_release_formants = true;  // the aspiration carries a compact F2-F3 peak
  s.aspiration_bandwidths = Bandwidths{0, 80, 110};
  s.place_frication = {
      .kind = NoiseShape::Kind::kResonance, .centre_or_low = 2300, .bandwidth_or_high = 1000};
  s.place_frication_db = -10;
  return s;
}();
const ConsonantSound kKFront = [] {  // palatal; serves as onset and coda
  ConsonantSound s = VoicelessStop(kPalatalFront, kPalatalBurst);
  s.locus_k = 0.35;
  s.transition_ms = 62, s.voicing_ms = 20;  // VOT 42 ms
  s.burst_dbfs = -13, s.burst_ms = 10;
  s.aspiration_db = -27;
  s.place_frication = {
      .kind = NoiseShape::Kind::kResonance, .centre_or_low = 3200, .bandwidth_or_high = 1200};
  s.place_frication_db = -10;
  return s;
}();

const ConsonantSound kC = {
    .manner = Manner::kAffricate,
    .voiced = true,
    .locus = kPostalveolar,
    .transition_ms = 45,
    .voicing_ms = 20,
    .burst = kPostalveolarBurst,
    .burst_ms = 4,
    .burst_dbfs = -18,
    .voice_onset_db = 3,
    .voicebar_db = -8,  // voiced closure, yet more than 12 dB below the vowel
    .voicebar_throughout = true,
    .frication = {.kind = NoiseShape::Kind::kResonance,
                  .centre_or_low = 2900,
                  .bandwidth_or_high = 1400},
    .frication_dbfs = -26,
    .frication_off_ms = 5,
};
const ConsonantSound kCh = {
    .manner = Manner::kAffricate,
    .locus = kPostalveolar,
    .transition_ms = 55,
    .voicing_ms = 18,
    .burst = kPostalveolarBurst,
    .burst_ms = 4,
    .burst_dbfs = -22,
    .voice_onset_db = 8,
    .aspiration_db = -34,
    .cutback_b1 = 400,
    .aspiration_low_hz = 1000,
    .frication = {.kind = NoiseShape::Kind::kResonance,
                  .centre_or_low = 2900,
                  .bandwidth_or_high = 1400,
                  .order = 4,
                  .highpass_ratio = 0.6},
    .frication_dbfs = -17,
    .frication_off_ms = 8,
};

ConsonantSound Fricative(Formants locus, NoiseShape noise, double dbfs, double transition_ms) {
  return {.manner = Manner::kFricative,
          .locus = locus,
          .transition_ms = transition_ms,
          .coda_transition_ms = 25,
          .frication = noise,
          .frication_dbfs = dbfs};
}

// s: high and strong; centroid about 6.5 kHz.
const ConsonantSound kS = Fricative(kAlveolarShared,
                                    {.kind = NoiseShape::Kind::kResonance,
                                     .centre_or_low = 6000,
                                     .bandwidth_or_high = 2000,
                                     .order = 4,
                                     .highpass_ratio = 0.65},
                                    -17, 25);
// ş: lower and the loudest fricative; centroid about 3.3 kHz.
const ConsonantSound kSh = Fricative(kPostalveolar,
                                     {.kind = NoiseShape::Kind::kResonance,
                                      .centre_or_low = 2900,
                                      .bandwidth_or_high = 1200,
                                      .order = 4,
                                      .highpass_ratio = 0.6,
                                      .extra_centre = 4500,
                                      .extra_bandwidth = 1500,
                                      .extra_mix = 0.4},
                                     -16, 25);
const ConsonantSound kZ = [] {
  ConsonantSound s = Fricative(kAlveolarShared,
                               {.kind = NoiseShape::Kind::kResonance,
                                .centre_or_low = 5000,
                                .bandwidth_or_high = 2000,
                                .order = 4,
                                .highpass_ratio = 0.6},
                               -24, 25);
  s.voiced = true, s.voicebar_db = -4, s.glottal_modulation = 0.6;
  return s;
}();
const ConsonantSound kJ = [] {
  ConsonantSound s = Fricative(kPostalveolar,
                               {.kind = NoiseShape::Kind::kResonance,
                                .centre_or_low = 2900,
                                .bandwidth_or_high = 1200,
                                .extra_centre = 4500,
                                .extra_bandwidth = 1500,
                                .extra_mix = 0.3},
                               -25, 28);
  s.voiced = true, s.voicebar_db = -4, s.glottal_modulation = 0.6;
  return s;
}();
// f: diffuse and weak (14 dB below s), a broad band whose noise falls off above 4.5 kHz, so
// that its spectrum lies below the sibilants' (centroid s > ş > f) instead of competing with s.
const ConsonantSound kF = Fricative(
    kLabiodental,
    {.kind = NoiseShape::Kind::kBand, .centre_or_low = 1000, .bandwidth_or_high = 4500, .order = 2},
    -34, 28);
// h: aspiration through the cascade, so it takes the colour of the neighbouring mid vowel.
const ConsonantSound kH = [] {
  ConsonantSound s = Fricative(
      {460, 1450, 2500},
      {.kind = NoiseShape::Kind::kBand, .centre_or_low = 1500, .bandwidth_or_high = 5000}, -50, 30);
  s.locus_k = 1.0;
  s.aspiration_db = -26;
  return s;
}();

const ConsonantSound kM = {.manner = Manner::kNasal,
                           .voiced = true,
                           .locus = kLabialShared,
                           .transition_ms = 35,
                           .coda_transition_ms = 18,
                           .steady_formants = Formants{250, 1100, 2200},
                           .steady_bandwidths = {60, 300, 300},
                           .steady_db = -6,
                           .level_transition_ms = 12,
                           .coda_fade_ms = 6,
                           .zero_hz = 900,
                           .zero_bandwidth = 100,
                           .zero_transition_ms = 12,
                           .coda_first_pulse_db = -8};
const ConsonantSound kN = {.manner = Manner::kNasal,
                           .voiced = true,
                           .locus = kAlveolarShared,
                           .transition_ms = 30,
                           .coda_transition_ms = 25,
                           .steady_formants = Formants{250, 1500, 2600},
                           .steady_bandwidths = {60, 300, 300},
                           .steady_db = -8,
                           .coda_fade_ms = 10,
                           .zero_hz = 1700,
                           .zero_bandwidth = 150,
                           .coda_first_pulse_db = -8};

// l: dark (velarised) before back vowels; lighter before front vowels, yet with F2 well below
// y's so that it is not heard as y. The lateral zero is paired with a pole above it.
ConsonantSound Lateral(Formants steady, double transition_ms, double zero_hz, double pole_hz) {
  return {.manner = Manner::kLiquid,
          .voiced = true,
          .locus = steady,
          .transition_ms = transition_ms,
          .coda_transition_ms = 30,
          .steady_formants = steady,
          .steady_bandwidths = {80, 120, 200},
          .steady_db = -7,
          .steady_rise_ms = 5,
          .level_transition_ms = 3,
          .coda_fade_ms = 10,
          .zero_hz = zero_hz,
          .zero_bandwidth = 200,
          .pole_hz = pole_hz,
          .pole_bandwidth = 400};
}
const ConsonantSound kLBack = Lateral({350, 950, 2500}, 27, 2100, 2600);
const ConsonantSound kLFront = Lateral({340, 1350, 2750}, 28, 2300, 2700);

const ConsonantSound kY = {.manner = Manner::kGlide,
                           .voiced = true,
                           .locus = {260, 2150, 2900},
                           .transition_ms = 35,
                           .coda_transition_ms = 35,
                           .steady_formants = Formants{260, 2150, 2900},
                           .steady_bandwidths = {60, 120, 200},
                           .steady_db = -4};
// v: an approximant with a trace of noise; stronger noise turns it into f.
const ConsonantSound kV = {.manner = Manner::kGlide,
                           .voiced = true,
                           .locus = {300, 1100, 2200},
                           .transition_ms = 30,
                           .coda_transition_ms = 30,
                           .frication = {.kind = NoiseShape::Kind::kBand,
                                         .centre_or_low = 1500,
                                         .bandwidth_or_high = 7000},
                           .frication_dbfs = -50,
                           .steady_formants = Formants{300, 1100, 2200},
                           .steady_bandwidths = {80, 150, 200},
                           .steady_db = -6};
// r: an approximant with a low F3 (the r-colour), then one short tap whose wide bandwidths let
// the ringing die inside the closure, then the release to the vowel.
const ConsonantSound kR = {.manner = Manner::kTap,
                           .voiced = true,
                           .locus = {450, 1200, 1600},
                           .transition_ms = 25,
                           .steady_formants = Formants{450, 1200, 1600},
                           .steady_bandwidths = {80, 120, 200},
                           .steady_db = -3,
                           .tap_start_ms = 22,
                           .tap_end_ms = 33,
                           .tap_db = -30,
                           .tap_f1 = 250,
                           .tap_bandwidths = {300, 400, 500}};

constexpr VowelSet kBack = VowelSet::kBack;
constexpr VowelSet kFront = VowelSet::kFront;
constexpr VowelSet kShared = VowelSet::kShared;

const std::array<ConsonantUnit, 48> kConsonantUnits = {{
    {"B_PRE", &kBBack, kBack, Role::kOnset},
    {"B_POST", &kBBack, kBack, Role::kCoda},
    {"BE_PRE", &kBFront, kFront, Role::kOnset},
    {"BE_POST", &kBFront, kFront, Role::kCoda},
    {"P_PRE", &kPBack, kBack, Role::kOnset},
    {"P_POST", &kPBack, kBack, Role::kCoda},
    {"PIE_PRE", &kPFront, kFront, Role::kOnset},
    {"PIE_POST", &kPFront, kFront, Role::kCoda},
    {"D_PRE", &kDBack, kBack, Role::kOnset},
    {"D_POST", &kDBack, kBack, Role::kCoda},
    {"DIE_PRE", &kDFront, kFront, Role::kOnset},
    {"DIE_POST", &kDFront, kFront, Role::kCoda},
    {"T_PRE", &kT, kShared, Role::kOnset},
    {"T_POST", &kT, kShared, Role::kCoda},
    {"G_PRE", &kGBack, kBack, Role::kOnset},
    {"G_POST", &kGBack, kBack, Role::kCoda},
    {"GE_PRE", &kGFront, kFront, Role::kOnset},
    {"GE_POST", &kGFront, kFront, Role::kCoda},
    {"K_PRE", &kKBack, kBack, Role::kOnset},
    {"K_POST", &kKBack, kBack, Role::kCoda},
    {"S_PRE", &kS, kShared, Role::kOnset},
    {"S_POST", &kS, kShared, Role::kCoda},
    {"SH_PRE", &kSh, kShared, Role::kOnset},
    {"SH_POST", &kSh, kShared, Role::kCoda},
    {"Z_PRE", &kZ, kShared, Role::kOnset},
    {"Z_POST", &kZ, kShared, Role::kCoda},
    {"J_PRE", &kJ, kShared, Role::kOnset},
    {"J_POST", &kJ, kShared, Role::kCoda},
    {"F_PRE", &kF, kShared, Role::kOnset},
    {"F_POST", &kF, kShared, Role::kCoda},
    {"H_PRE", &kH, kShared, Role::kOnset},
    {"H_POST", &kH, kShared, Role::kCoda},
    {"M_PRE", &kM, kShared, Role::kOnset},
    {"M_POST", &kM, kShared, Role::kCoda},
    {"N_PRE", &kN, kShared, Role::kOnset},
    {"N_POST", &kN, kShared, Role::kCoda},
    {"L_PRE", &kLBack, kBack, Role::kOnset},
    {"L_POST", &kLBack, kBack, Role::kCoda},
    {"LE_PRE", &kLFront, kFront, Role::kOnset},
    {"LE_POST", &kLFront, kFront, Role::kCoda},
    {"Y_PRE", &kY, kShared, Role::kOnset},
    {"Y_POST", &kY, kShared, Role::kCoda},
    {"V_PRE", &kV, kShared, Role::kOnset},
    {"V_POST", &kV, kShared, Role::kCoda},
    {"C", &kC, kShared, Role::kBoth},
    {"CH", &kCh, kShared, Role::kBoth},
    {"KE", &kKFront, kFront, Role::kBoth},
    {"R", &kR, kShared, Role::kBoth},
}};

}  // namespace

std::span<const VowelSound> Vowels() { return kVowels; }

const TransitionTarget& Target(VowelSet set) {
  switch (set) {
    case VowelSet::kBack:
      return kBackTarget;
    case VowelSet::kFront:
      return kFrontTarget;
    case VowelSet::kShared:
      break;
  }
  return kSharedTarget;
}

std::span<const ConsonantUnit> ConsonantUnits() { return kConsonantUnits; }

int CatalogueSamples(std::string_view unit) {
  static const std::map<std::string_view, int> kSamples = {
      {"A_1", 194},      {"E_1", 194},      {"I_1", 194},     {"IE_1", 194},     {"O_1", 194},
      {"OE_1", 194},     {"U_1", 194},      {"UE_1", 194},    {"BE_POST", 1861}, {"BE_PRE", 1581},
      {"B_POST", 2157},  {"B_PRE", 786},    {"C", 1583},      {"CH", 1535},      {"DIE_POST", 3057},
      {"DIE_PRE", 1909}, {"D_POST", 3070},  {"D_PRE", 727},   {"F_POST", 1975},  {"F_PRE", 2053},
      {"GE_POST", 1525}, {"GE_PRE", 740},   {"G_POST", 1673}, {"G_PRE", 723},    {"H_POST", 2961},
      {"H_PRE", 1684},   {"J_POST", 2184},  {"J_PRE", 2072},  {"KE", 1841},      {"K_POST", 1633},
      {"K_PRE", 1422},   {"LE_POST", 1673}, {"LE_PRE", 1165}, {"L_POST", 1717},  {"L_PRE", 990},
      {"M_POST", 1400},  {"M_PRE", 2199},   {"N_POST", 2157}, {"N_PRE", 1582},   {"PIE_POST", 1987},
      {"PIE_PRE", 1122}, {"P_POST", 1916},  {"P_PRE", 1371},  {"R", 1477},       {"SH_POST", 2493},
      {"SH_PRE", 1957},  {"S_POST", 2284},  {"S_PRE", 2187},  {"T_POST", 1653},  {"T_PRE", 1075},
      {"V_POST", 2325},  {"V_PRE", 1865},   {"Y_POST", 1997}, {"Y_PRE", 1563},   {"Z_POST", 2203},
      {"Z_PRE", 1678},
  };
  const auto it = kSamples.find(unit);
  if (it == kSamples.end()) throw std::out_of_range("no such unit: " + std::string(unit));
  return it->second;
}

}  // namespace orvanel::unitgen
