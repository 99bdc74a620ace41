// Signal analysis for the unit tests: reading units, LPC formants, periodicity, spectral centroid.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanel::unit_tests {

inline constexpr double kSampleRate = 22050.0;
inline constexpr int kPeriod = 194;  // samples per glottal cycle of the unit set

using Samples = std::vector<double>;  // full scale is 1.0

// Reads units/<name> (compiled-in source path) as 16-bit little-endian PCM. Empty if missing.
Samples ReadUnit(std::string_view name);
std::string UnitPath(std::string_view name);
std::vector<unsigned char> ReadBytes(const std::string& path);

int SampleIndex(double ms);  // ms from the start of a unit to a sample index

double Rms(const Samples& x, int begin, int end);
double Rms(const Samples& x);
double Peak(const Samples& x);
double Mean(const Samples& x);
double Db(double linear);
double MaxStep(const Samples& x);  // largest |x[i+1] - x[i]|
// Index i in [begin, end - 1) of the largest |x[i+1] - x[i]|: in voiced speech, where a glottal
// closure excites the formants.
int StrongestStep(const Samples& x, int begin, int end);

// `count` copies of x end to end, as the renderer repeats a vowel period.
Samples Tile(const Samples& x, int count);

// Linear-prediction coefficients a[0..order] (a[0] = 1) by the autocorrelation method with a
// Hamming window and Levinson-Durbin recursion.
std::vector<double> Lpc(const Samples& x, int order, double preemphasis);

// Frequencies of the peaks of the LPC envelope 1/|A|^2 between 150 Hz and 5000 Hz, ascending.
std::vector<double> LpcPeaks(const std::vector<double>& a);

// F1 and F2 of a vowel period, measured on the period tiled as the renderer plays it.
struct VowelFormants {
  double f1 = 0, f2 = 0;
};
VowelFormants MeasureVowel(const Samples& period);

// Index in [begin, end) of the glottal closure: the most negative sample of the LPC residual
// (inverse filter fitted on x[context_begin, context_end)), where the flow derivative drops.
int GlottalClosure(const Samples& x, int begin, int end, int context_begin, int context_end);

// x through a 2nd-order Butterworth low-pass: voicing lives below 1 kHz, and a voicing detector
// looks there so that frication riding on the voicing does not hide it.
Samples LowPass(const Samples& x, double corner_hz);

// Normalised autocorrelation of x[begin, end - lag) with x[begin + lag, end), and its largest
// value over lags in [lo, hi].
double NormalisedAutocorrelation(const Samples& x, int begin, int end, int lag);
double Periodicity(const Samples& x, int begin, int end, int lag_lo, int lag_hi);

// Power-weighted mean frequency between 500 Hz and 11025 Hz of x[begin, end), averaged over
// Hann-windowed frames of 256 samples with a DFT.
double SpectralCentroid(const Samples& x, int begin, int end);

// Mean power (dB, relative) of x[begin, end) between two frequencies, via the same DFT;
// comparable between regions of different lengths.
double BandEnergyDb(const Samples& x, int begin, int end, double lo_hz, double hi_hz);

double Bark(double hz);  // Traunmueller 1990

}  // namespace orvanel::unit_tests
