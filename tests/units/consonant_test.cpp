// Consonant cues measured on the units: voicing where a consonant is voiced and none in the
// bursts and frication of voiceless ones, fricative spectra, release bursts of voiced stops.
#include <gtest/gtest.h>

#include <string>

#include "tests/units/unit_analysis.h"

namespace orvanel::unit_tests {
namespace {

struct Region {
  const char* unit;
  double from_ms;
  double to_ms;
  const char* what;
};

// Periodicity at the glottal period (lags 185-203 samples, 109-119 Hz), below 1 kHz where
// voicing lives (frication riding on the voicing would hide it) or over the whole band.
double VoicingIn(const Region& r, bool low_band) {
  const Samples x = low_band ? LowPass(ReadUnit(r.unit), 1000.0) : ReadUnit(r.unit);
  return Periodicity(x, SampleIndex(r.from_ms), SampleIndex(r.to_ms), 185, 203);
}

// Parts of voiced consonants that are voiced although no vowel is there yet (or any more).
// (The closures of g codas hold barely two glottal periods of voicing: too short to measure.)
constexpr Region kVoiced[] = {
    {"B_PRE", 1, 15, "voice bar in the closure"},
    {"BE_PRE", 5, 43, "voice bar in the closure"},
    {"DIE_PRE", 5, 56, "voice bar in the closure"},
    {"B_POST", 31, 55, "voice bar in the closure"},
    {"BE_POST", 31, 50, "voice bar in the closure"},
    {"D_POST", 37, 68, "voice bar in the closure"},
    {"DIE_POST", 37, 68, "voice bar in the closure"},
    {"C", 3, 50, "closure and frication"},
    {"Z_PRE", 5, 50, "frication"},
    {"J_PRE", 5, 65, "frication"},
    {"Z_POST", 28, 70, "frication"},
    {"J_POST", 28, 69, "frication"},
    {"M_PRE", 2, 64, "murmur"},
    {"N_PRE", 2, 41, "murmur"},
    {"M_POST", 20, 60, "murmur"},
    {"N_POST", 27, 90, "murmur"},
    {"L_PRE", 1, 17, "lateral"},
    {"LE_PRE", 1, 24, "lateral"},
    {"L_POST", 32, 70, "lateral"},
    {"LE_POST", 32, 70, "lateral"},
    {"Y_PRE", 1, 35, "glide"},
    {"Y_POST", 37, 85, "glide"},
    {"V_PRE", 1, 54, "approximant"},
    {"V_POST", 32, 100, "approximant"},
    {"R", 1, 21, "approximant before the tap"},
};

// Bursts, aspiration and frication of voiceless consonants, before the vowel's voicing (onsets)
// or after it has stopped (codas).
constexpr Region kVoiceless[] = {
    {"P_PRE", 13, 46, "burst and aspiration"},
    {"PIE_PRE", 9, 37, "burst and aspiration"},
    {"T_PRE", 9, 35, "burst and aspiration"},
    {"K_PRE", 17, 50, "burst and aspiration"},
    {"KE", 22, 62, "burst and aspiration"},
    {"CH", 15, 50, "burst and frication"},
    {"S_PRE", 3, 72, "frication"},
    {"SH_PRE", 3, 62, "frication"},
    {"F_PRE", 3, 63, "frication"},
    {"H_PRE", 3, 44, "aspiration"},
    {"P_POST", 66, 86, "burst and aspiration"},
    {"PIE_POST", 66, 89, "burst and aspiration"},
    {"T_POST", 56, 74, "burst and aspiration"},
    {"K_POST", 56, 73, "burst and aspiration"},
    {"S_POST", 30, 99, "frication"},
    {"SH_POST", 30, 109, "frication"},
    {"F_POST", 30, 85, "frication"},
    {"H_POST", 30, 120, "aspiration"},
};

TEST(ConsonantUnits, VoicedConsonantsArePeriodicAtThePitch) {
  for (const Region& r : kVoiced) {
    EXPECT_GT(VoicingIn(r, true), 0.6)
        << r.unit << " " << r.what << " " << r.from_ms << "-" << r.to_ms;
  }
}

TEST(ConsonantUnits, VoicelessBurstsAndFricationAreAperiodic) {
  for (const Region& r : kVoiceless) {
    const Samples x = ReadUnit(r.unit);
    // There is sound to measure, not a silent closure...
    EXPECT_GT(Db(Rms(x, SampleIndex(r.from_ms), SampleIndex(r.to_ms))), -50.0) << r.unit;
    // ...and it is noise.
    EXPECT_LT(VoicingIn(r, false), 0.3)
        << r.unit << " " << r.what << " " << r.from_ms << "-" << r.to_ms;
  }
}

double CentroidOf(const char* unit, double from_ms, double to_ms) {
  return SpectralCentroid(ReadUnit(unit), SampleIndex(from_ms), SampleIndex(to_ms));
}

TEST(ConsonantUnits, FricativeSpectraAreOrderedByPlace) {
  const double s = CentroidOf("S_PRE", 20, 60);
  const double sh = CentroidOf("SH_PRE", 20, 55);
  const double f = CentroidOf("F_PRE", 20, 55);
  const double z = CentroidOf("Z_PRE", 20, 45);
  const double j = CentroidOf("J_PRE", 20, 60);
  SCOPED_TRACE("centroids s " + std::to_string(s) + " ş " + std::to_string(sh) + " f " +
               std::to_string(f) + " z " + std::to_string(z) + " j " + std::to_string(j));
  EXPECT_GT(s, 4000.0);
  EXPECT_GT(sh, 2000.0);
  EXPECT_LT(sh, 5500.0);
  EXPECT_GT(s, sh + 500.0);
  EXPECT_GT(sh, f);
  EXPECT_GT(z, 3500.0);
  EXPECT_GT(j, 2000.0);
  EXPECT_GT(z, j);
  // The codas keep the same order.
  EXPECT_GT(CentroidOf("S_POST", 40, 90), CentroidOf("SH_POST", 40, 100) + 500.0);
}

TEST(ConsonantUnits, SibilantsAreLouderThanF) {
  const double s = Db(Rms(ReadUnit("S_PRE"), SampleIndex(20), SampleIndex(60)));
  const double sh = Db(Rms(ReadUnit("SH_PRE"), SampleIndex(20), SampleIndex(55)));
  const double f = Db(Rms(ReadUnit("F_PRE"), SampleIndex(20), SampleIndex(55)));
  EXPECT_GT(s, f + 10.0);
  EXPECT_GT(sh, f + 10.0);
}

// The release of a voiced stop stands out above its voice bar by at least 10 dB above 2 kHz:
// the voice bar carries almost nothing up there.
struct Release {
  const char* unit;
  double closure_from_ms, closure_to_ms, burst_ms;
};
constexpr Release kReleases[] = {
    {"B_PRE", 9, 15, 15.8},    {"BE_PRE", 20, 43, 43.9}, {"D_PRE", 8, 13, 13.2},
    {"DIE_PRE", 20, 56, 56.8}, {"G_PRE", 8, 11.5, 12.0}, {"GE_PRE", 8, 12.3, 12.8},
};

TEST(ConsonantUnits, VoicedStopBurstsStandOutAboveTheVoiceBar) {
  for (const Release& r : kReleases) {
    const Samples x = ReadUnit(r.unit);
    const double closure =
        BandEnergyDb(x, SampleIndex(r.closure_from_ms), SampleIndex(r.closure_to_ms), 2000, 11025);
    const double burst =
        BandEnergyDb(x, SampleIndex(r.burst_ms), SampleIndex(r.burst_ms + 4), 2000, 11025);
    EXPECT_GT(burst, closure + 10.0) << r.unit;
  }
}

// Voiceless stop onsets are silent before their release; the p t k aspiration and the release
// of the onset lie before a late voicing onset (long lag).
TEST(ConsonantUnits, VoicelessStopOnsetsStartWithASilentClosure) {
  for (const Region& r :
       {Region{"P_PRE", 1, 11, ""}, Region{"PIE_PRE", 1, 8, ""}, Region{"T_PRE", 1, 8, ""},
        Region{"K_PRE", 1, 16, ""}, Region{"KE", 1, 21, ""}, Region{"CH", 1, 14, ""}}) {
    const Samples x = ReadUnit(r.unit);
    EXPECT_LT(Db(Rms(x, SampleIndex(r.from_ms), SampleIndex(r.to_ms))), -60.0) << r.unit;
  }
}

}  // namespace
}  // namespace orvanel::unit_tests
