#include "synth/voice_signal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "synth/voice_controls.h"

namespace orvanel::synth {

namespace {

constexpr int kHistoryCycles = 13;         // enough cycles before a vowel for its steady state
constexpr std::uint32_t kBlendGuard = 10;  // the end blend starts this far after the last pulse
constexpr std::uint32_t kCrossfade = 32;   // samples of a splice in a noise or silence part
constexpr std::size_t kNoiseEdge = 66;     // a shortened noise part keeps 3 ms of each end
constexpr std::uint32_t kMinSilence = 44;  // a closure keeps at least 2 ms
constexpr std::uint32_t kEndTaper = 11;    // an onset's last 0.5 ms fades to zero
constexpr double kQ8 = 256.0;

std::int16_t Saturate(double v) {
  const double r = std::nearbyint(v);
  return static_cast<std::int16_t>(std::clamp(r, -32768.0, 32767.0));
}

// 0.5 + 0.5 cos(pi t / n) for t in [0, n), n in 1..kBasePeriod: made once per length.
const std::vector<double>& FallingHalf(std::int64_t n) {
  thread_local std::array<std::vector<double>, kBasePeriod + 1> tables;
  std::vector<double>& w = tables[static_cast<std::size_t>(n)];
  if (w.empty()) {
    w.resize(static_cast<std::size_t>(n));
    for (std::int64_t t = 0; t < n; ++t) w[t] = 0.5 + 0.5 * std::cos(std::numbers::pi * t / n);
  }
  return w;
}

// A source sample, zero outside the unit.
inline double At(const std::int16_t* x, std::int64_t n, std::int64_t i) {
  return i >= 0 && i < n ? x[i] : 0.0;
}

// Appends x[from, to) to out, the first kCrossfade samples (or fewer) blended with the last ones
// already there, equal-power: the parts joined are noise or silence.
// Voiced pieces are alike on both sides of a splice and are blended linearly instead.
void Splice(std::vector<double>& out, const double* x, std::size_t from, std::size_t to,
            std::size_t fade, bool equalPower = true) {
  fade = std::min({fade, out.size(), to - from});
  const std::size_t base = out.size() - fade;
  for (std::size_t i = 0; i < fade; ++i) {
    const double r = (static_cast<double>(i) + 0.5) / fade;
    const double a = std::numbers::pi / 2 * r;
    const double in = equalPower ? std::sin(a) : r;
    const double keep = equalPower ? std::cos(a) : 1.0 - r;
    out[base + i] = out[base + i] * keep + x[from + i] * in;
  }
  out.insert(out.end(), x + from + fade, x + to);
}

// A noise or silence part to `target` samples: its head and tail are kept and joined at one
// splice, cutting out the middle or, for a longer part, playing part of it twice. One splice can
// at most double the part less a crossfade; longer targets take several.
std::vector<double> Resize(std::vector<double> x, std::size_t target) {
  constexpr std::size_t f = kCrossfade;
  while (x.size() != target && x.size() > 2 * f && target >= 2 * f) {
    const std::size_t len = x.size();
    const std::size_t step = std::min(target, 2 * len - 2 * f);
    // First piece [0, head + f), second [len - (step - head), len): head in [step - len, len - f].
    const std::size_t lo = step > len ? step - len : 0;
    const std::size_t head = std::clamp(step / 2, lo, len - f);
    std::vector<double> y(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(head + f));
    Splice(y, x.data(), len - (step - head), len, f);
    x = std::move(y);
  }
  return x;
}

// A part shortened to fewer than two crossfades (`target` >= 4): its two ends, joined at one
// crossfade of a quarter of the target.
std::vector<double> Squeeze(std::vector<double> x, std::size_t target) {
  const std::size_t fade = target / 4;
  const std::size_t head = (target + fade) / 2;
  std::vector<double> y(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(head));
  Splice(y, x.data(), x.size() - (target + fade - head), x.size(), fade);
  return y;
}

// A noise part shortened to `target` samples: 3 ms of each end (the rise out of a closure, the
// fade into the next sound) and the rest from its middle, where the frication is at its level,
// joined at two splices. Lengthening, and parts too short for two splices, take Resize.
std::vector<double> ShortenNoise(std::vector<double> x, std::size_t target) {
  constexpr std::size_t f = kCrossfade;
  const std::size_t len = x.size();
  if (target >= len || target < 2 * kNoiseEdge + 2 * f || len < target + 4 * f)
    return Resize(std::move(x), target);
  const std::size_t mid = target - 2 * kNoiseEdge;
  const std::size_t from = len / 2 - (mid + f) / 2;
  std::vector<double> y(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(kNoiseEdge + f));
  Splice(y, x.data(), from, from + mid + f, f);
  Splice(y, x.data(), len - kNoiseEdge, len, f);
  return y;
}

}  // namespace

double PeriodFor(float semitones) {
  const float st = std::clamp(semitones, -kMaxSemitones, kMaxSemitones);
  return kBasePeriod * std::exp2(-static_cast<double>(st) / 12.0);
}

void OverlapAddVowel(const VowelVoice& voice, const std::int16_t* period, std::uint32_t samples,
                     const std::function<float(std::uint32_t)>& semitonesAt,
                     std::vector<std::int16_t>& out, std::vector<std::uint32_t>* closures) {
  out.clear();
  if (closures) closures->clear();
  if (samples == 0 || voice.response.empty()) return;
  // Period lengths: the rounding error is carried on, so each period is within half a sample of
  // its target and the mean is exact.
  thread_local std::vector<std::uint32_t> lengths;
  lengths.clear();
  double acc = 0.0;
  std::uint32_t t = 0;
  for (;;) {
    acc += PeriodFor(semitonesAt(t + voice.peak));
    const auto next = static_cast<std::uint32_t>(std::lround(acc));
    if (next > samples && !lengths.empty()) break;
    lengths.push_back(next - t);
    t = next;
    if (next >= samples) break;
  }
  const std::uint32_t total = t;  // whole periods; cut to `samples` below when one is too long
  // 32 bits hold the sum: a response is at most kMaxResponse samples of at most full scale, so
  // fewer than 60 cycles overlap anywhere, 60 x 2^23 < 2^31.
  thread_local std::vector<std::int32_t> y;
  y.assign(total, 0);
  const std::int64_t length = static_cast<std::int64_t>(voice.response.size());
  const std::int32_t* h = voice.response.data();
  auto add = [&](std::int64_t shift) {
    const std::int64_t from = std::max<std::int64_t>(0, shift);
    const std::int64_t to = std::min<std::int64_t>(total, shift + length);
    for (std::int64_t n = from; n < to; ++n) y[n] += h[n - shift];
  };
  const std::int64_t rot = voice.rotation;
  for (int j = kHistoryCycles; j >= 1; --j) add(-static_cast<std::int64_t>(lengths[0]) * j - rot);
  std::int64_t p = 0;
  for (std::uint32_t len : lengths) {
    add(p - rot);
    if (closures) closures->push_back(static_cast<std::uint32_t>(p) + voice.peak);
    p += len;
  }
  add(p - rot);  // the next cycle opens inside the last period

  // End exactly like the stored period, so that a coda continues it: blend over the end of the
  // last period, after the last excitation of both signals.
  const std::uint32_t last = lengths.back();
  const std::uint32_t a = std::max(total - last, total > kBasePeriod ? total - kBasePeriod : 0u) +
                          voice.peak + kBlendGuard;
  out.resize(total);
  const std::uint32_t blend = period != nullptr ? std::min(a, total) : total;
  for (std::uint32_t n = 0; n < blend; ++n) {
    // Rounded to the nearest sample (halves up) and saturated.
    out[n] = static_cast<std::int16_t>(std::clamp((y[n] + 128) >> 8, -32768, 32767));
  }
  for (std::uint32_t n = blend; n < total; ++n) {
    const double w = 0.5 - 0.5 * std::cos(std::numbers::pi * (n - a) / (total - a));
    const std::int64_t k =
        ((static_cast<std::int64_t>(n) - total) % kBasePeriod + kBasePeriod) % kBasePeriod;
    out[n] = Saturate((1.0 - w) * (static_cast<double>(y[n]) / kQ8) + w * period[k]);
  }
  if (out.size() > samples) out.resize(samples);
}

void RetimeConsonant(const std::int16_t* unit, std::uint32_t length, const ConsonantVoice& map,
                     double timeScale, double period, bool onsetEnd, std::vector<std::int16_t>& out,
                     const PartFloors& floors) {
  thread_local std::vector<double> acc;
  thread_local std::vector<double> piece;
  thread_local std::vector<std::int64_t> u;
  thread_local std::vector<std::size_t> src;
  acc.clear();
  const std::int64_t n = length;
  bool spliceNext = false;  // the last part ended away from its source position
  auto emit = [&](bool equalPower) {
    if (spliceNext) {
      Splice(acc, piece.data(), 0, piece.size(), kCrossfade, equalPower);
    } else {
      acc.insert(acc.end(), piece.begin(), piece.end());
    }
  };
  for (const UnitPart& part : map.parts) {
    const std::uint32_t a = part.start, b = std::min(part.end, length);
    if (a >= b) continue;
    const std::uint32_t len = b - a;
    const bool last = b == length;
    const auto first = std::lower_bound(map.pulses.begin(), map.pulses.end(), a);
    const auto stop = std::lower_bound(map.pulses.begin(), map.pulses.end(), b);
    const std::size_t m = static_cast<std::size_t>(stop - first);
    if (part.kind == UnitPartKind::Voiced && m > 0) {
      const std::uint32_t* q = &*first;
      const std::int64_t head = q[0] - a;
      const std::int64_t tail = b - q[m - 1];
      const double target = len * (part.shortenable ? timeScale : 1.0);
      // Periods between the first and the last output pulse: as many as fill the part's new
      // length, at least one when the part has two pulses or more, unless even that is too long.
      const long intervals = std::lround((target - static_cast<double>(head + tail)) / period);
      const std::size_t outPulses =
          m == 1 ? 1 : static_cast<std::size_t>(std::max<long>(0, intervals)) + 1;
      if (outPulses == 1 && m > 1) {
        // One period only: at the unit's start keep the start (a coda continues the vowel there)
        // and splice the next part on; elsewhere keep the end and splice onto what came before.
        // A kept part after it is never spliced: then the end is kept at the start too.
        const bool keptNext = &part != &map.parts.back() && (&part + 1)->kind == UnitPartKind::Kept;
        const bool keepStart = a == 0 && !keptNext;
        piece.assign(unit + (keepStart ? a : q[m - 1] - head),
                     unit + (keepStart ? q[0] + tail : b));
        emit(false);
        spliceNext = keepStart;
        continue;
      }
      std::int64_t newTail = tail;
      if (onsetEnd && last)
        newTail = std::max<std::int64_t>(1, tail + std::lround(period - kBasePeriod));
      u.resize(outPulses);
      src.resize(outPulses);
      for (std::size_t k = 0; k < outPulses; ++k) {
        u[k] = head + std::lround(static_cast<double>(k) * period);
        src[k] = outPulses == 1 ? 0 : (k * (m - 1) * 2 + (outPulses - 1)) / (2 * (outPulses - 1));
      }
      const std::int64_t total = u.back() + newTail;
      piece.assign(static_cast<std::size_t>(total), 0.0);
      for (std::int64_t t = 0; t < u[0]; ++t) piece[t] = At(unit, n, q[src[0]] + t - u[0]);
      for (std::size_t k = 0; k + 1 < outPulses; ++k) {
        const std::int64_t span = u[k + 1] - u[k];
        const std::int64_t q0 = q[src[k]], q1 = q[src[k + 1]];
        // Each grain reaches at most one source period either side of its pulse, so that no
        // neighbouring source pulse leaks in when the new period is longer.
        const std::int64_t reach = std::min<std::int64_t>(span, kBasePeriod);
        const std::vector<double>& fall = FallingHalf(reach);
        for (std::int64_t t = 0; t < span; ++t) {
          const double wa = t < reach ? fall[t] : 0.0;
          const std::int64_t r = t - (span - reach);
          const double wb = r > 0 ? 1.0 - fall[r] : 0.0;
          piece[u[k] + t] = wa * At(unit, n, q0 + t) + wb * At(unit, n, q1 + t - span);
        }
      }
      const std::int64_t ql = q[src.back()];
      for (std::int64_t t = u.back(); t < total; ++t) piece[t] = At(unit, n, ql + t - u.back());
      if (newTail < tail) {
        // A shortened end into the vowel: fade it to zero again as the unit itself does.
        const std::int64_t fade = std::min<std::int64_t>(kEndTaper, newTail);
        for (std::int64_t i = 0; i < fade; ++i) {
          piece[total - fade + i] *=
              0.5 + 0.5 * std::cos(std::numbers::pi * (i + 1) / static_cast<double>(fade));
        }
      }
      emit(false);
      spliceNext = false;
      continue;
    }
    piece.assign(unit + a, unit + b);
    if (part.shortenable && part.kind != UnitPartKind::Kept && part.kind != UnitPartKind::Voiced &&
        timeScale != 1.0) {
      std::size_t target = static_cast<std::size_t>(std::lround(len * timeScale));
      const bool aspiration = part.kind == UnitPartKind::Noise && floors.aspiration != 0 &&
                              &part != &map.parts.front() &&
                              (&part - 1)->kind == UnitPartKind::Kept;
      if (aspiration) {
        // The head after the burst and the tail into the voicing, joined in the middle.
        target = std::max<std::size_t>(target, std::min<std::size_t>(len, floors.aspiration));
        piece = Resize(std::move(piece), target);
      } else if (part.kind == UnitPartKind::Noise) {
        // The floor from the middle, at the frication's level, and the two ends.
        target = std::max<std::size_t>(target,
                                       std::min<std::size_t>(len, floors.noise + 2 * kNoiseEdge));
        piece = ShortenNoise(std::move(piece), target);
      } else {
        target = std::max<std::size_t>(std::lround(len * timeScale * floors.silenceScale),
                                       std::min(len, kMinSilence));
        piece = target < 2 * kCrossfade && target < len ? Squeeze(std::move(piece), target)
                                                        : Resize(std::move(piece), target);
      }
    }
    emit(part.kind != UnitPartKind::Voiced);
    spliceNext = false;
  }
  out.resize(acc.size());
  for (std::size_t i = 0; i < acc.size(); ++i) out[i] = Saturate(acc[i]);
}

}  // namespace orvanel::synth
