#include "synth/sample_buffer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

namespace orvanel::synth {

namespace {

constexpr std::uint32_t kRateStep = 11025;
constexpr std::uint32_t kFallbackRate = 8000;

// ms x 22050 / 1000, saturating instead of wrapping for durations beyond any buffer.
std::uint64_t WantedSamples(std::uint64_t ms) noexcept {
  if (ms > std::numeric_limits<std::uint64_t>::max() / kBaseSampleRate) {
    return std::numeric_limits<std::uint64_t>::max();
  }
  return MsToSamples(ms);
}

}  // namespace

namespace detail {

double GlideStep(std::int64_t i, std::int64_t n, float depth, std::int32_t shape) noexcept {
  const std::int64_t k = shape == 2 ? n - 1 - i : i;
  const float e = static_cast<float>(5.0 * static_cast<double>(k) / static_cast<double>(n));
  const double x = static_cast<double>(e);
  return 1.0 + static_cast<double>(depth) * std::exp(-x) * (1.0 - std::pow(2.0, -x));
}

const std::uint32_t* GlideCache::Positions(std::uint32_t n, float depth, std::int32_t shape,
                                           std::uint32_t& count) noexcept {
  if (n == 0 || n > kMaxCachedLength || !(depth >= 0.0f) || !std::isfinite(depth)) {
    return nullptr;
  }
  const std::int32_t key = shape == 2 ? 2 : 1;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(depth);
  for (const Entry& entry : entries_) {
    if (entry.positions && entry.n == n && entry.shape == key && entry.depthBits == bits) {
      count = entry.count;
      return entry.positions.get();
    }
  }

  std::unique_ptr<std::uint32_t[]> positions(new (std::nothrow) std::uint32_t[n]);
  if (!positions) return nullptr;
  // With depth >= 0 every step is at least 1, so at most n positions are produced.
  double pos = 0.0;
  std::uint32_t i = 0;
  while (pos < n) {
    positions[i] = static_cast<std::uint32_t>(pos);
    pos += GlideStep(i, n, depth, key);
    ++i;
  }

  Entry& slot = entries_[next_];
  next_ = (next_ + 1) % kEntries;
  slot.n = n;
  slot.depthBits = bits;
  slot.shape = key;
  slot.count = i;
  slot.positions = std::move(positions);
  count = i;
  return slot.positions.get();
}

}  // namespace detail

std::uint32_t RateForPitch(std::uint16_t pitch) noexcept {
  const std::int32_t p = pitch;
  return static_cast<std::uint32_t>(22050 + (11025 * (p - 50)) / 50);
}

SampleBuffer::SampleBuffer(SampleAllocator allocate) : allocate_(std::move(allocate)) {}

namespace {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

}  // namespace

std::unique_ptr<std::int16_t[]> SampleBuffer::Allocate(std::size_t count) const {
  if (allocate_) return std::unique_ptr<std::int16_t[]>(allocate_(count));
  return std::unique_ptr<std::int16_t[]>(new (std::nothrow) std::int16_t[count]);
}

int SampleBuffer::Begin(std::uint32_t capacityBytes, std::uint16_t pitch) {
  SetFormatForPitch(pitch);
  samples_.reset();
  sampleCount_ = 0;
  droppedSamples_ = 0;
  unitStarts_.Clear();
  // Room for capacityBytes / 2 samples; an odd last byte is never written.
  samples_ = Allocate(capacityBytes / 2u);
  if (!samples_) return 0;
  capacityBytes_ = capacityBytes;
  return 1;
}

int SampleBuffer::Release() {
  samples_.reset();
  sampleCount_ = 0;
  droppedSamples_ = 0;
  unitStarts_.Clear();
  return 1;
}

void SampleBuffer::SetFormatForPitch(std::uint16_t pitch) {
  format_ = OutputFormat{};
  format_.samplesPerSec = RateForPitch(pitch);
  format_.avgBytesPerSec = 2 * format_.samplesPerSec;
}

void SampleBuffer::LowerRateForDevice() {
  std::uint32_t rate = format_.samplesPerSec / kRateStep * kRateStep;
  if (rate == 0) rate = kFallbackRate;
  format_.samplesPerSec = rate;
  format_.avgBytesPerSec = 2 * rate;
}

int SampleBuffer::AppendSamples(const std::int16_t* source, std::uint64_t n) {
  // 2 x (sampleCount + n) > capacityBytes, without forming a sum that could wrap.
  if (!samples_ || n > capacityBytes_ / 2u - sampleCount_) {
    droppedSamples_ = SaturatingAdd(droppedSamples_, n);
    return 0;
  }
  std::int16_t* out = samples_.get() + sampleCount_;
  if (source != nullptr) {
    std::copy_n(source, n, out);
  } else {
    std::fill_n(out, n, std::int16_t{0});
  }
  sampleCount_ += static_cast<std::uint32_t>(n);
  return 1;
}

int SampleBuffer::AppendUnit(UnitHandle unit, std::uint32_t lengthSamples, std::uint64_t ms,
                             std::uint32_t percent, float depth, std::int32_t shape,
                             std::string_view envelope) {
  const std::uint64_t wanted = ms != 0 ? WantedSamples(ms) : lengthSamples;
  const std::int16_t* source = LockUnit(unit);
  if (source == nullptr) return 0;
  if (!unitStarts_.Append(sampleCount_)) return 0;

  if (wanted > lengthSamples) {
    // Whole copies only. They all have the same length, so once one does not fit no later one
    // can: stop there rather than trying the rest.
    const std::uint64_t copies = lengthSamples != 0 ? wanted / lengthSamples : 0;
    for (std::uint64_t k = 0; k < copies; ++k) {
      if (!AppendSamples(source, lengthSamples)) {
        droppedSamples_ = SaturatingAdd(droppedSamples_, (copies - k - 1) * lengthSamples);
        break;
      }
    }
  } else {
    AppendSamples(source, wanted);
  }

  if (percent != 100) StretchLastUnit(percent);
  if (depth != 0.0f) GlideLastUnit(depth, shape);
  const std::size_t last = unitStarts_.Size() - 1;
  ApplyEnvelope(unitStarts_[last], UnitLength(last), envelope);
  return 1;
}

int SampleBuffer::AppendSilence(std::uint64_t ms) {
  unitStarts_.Append(sampleCount_);
  return AppendSamples(nullptr, WantedSamples(ms));
}

void SampleBuffer::Truncate(std::uint32_t count) {
  if (count < sampleCount_) sampleCount_ = count;
  std::size_t units = unitStarts_.Size();
  while (units > 0 && unitStarts_[units - 1] >= sampleCount_) --units;
  // A unit that starts at the cut or after it has no samples left.
  unitStarts_.SetSize(units);
  droppedSamples_ = 0;
}

std::uint32_t SampleBuffer::UnitLength(std::size_t k) const {
  if (k >= unitStarts_.Size()) return 0;
  const std::uint32_t end = k + 1 < unitStarts_.Size() ? unitStarts_[k + 1] : sampleCount_;
  return end - unitStarts_[k];
}

int SampleBuffer::StretchLastUnit(std::uint32_t percent) {
  if (unitStarts_.Empty() || !samples_) return 0;
  const std::uint32_t start = unitStarts_.Back();
  const std::uint32_t len = UnitLength(unitStarts_.Size() - 1);
  const std::uint64_t newLen = std::uint64_t{len} * percent / 100;
  // The old unit is still counted: the test is on sampleCount + newLen.
  if (2 * (std::uint64_t{sampleCount_} + newLen) > capacityBytes_) return 0;

  const std::unique_ptr<std::int16_t[]> copy = Allocate(len);
  if (!copy) return 0;
  std::int16_t* unit = samples_.get() + start;
  std::copy_n(unit, len, copy.get());

  // source = i x 100 / percent, kept as quotient and remainder instead of dividing per sample.
  if (newLen != 0) {
    const std::uint64_t stepQuotient = 100 / percent;
    const std::uint64_t stepRemainder = 100 % percent;
    std::uint64_t source = 0;
    std::uint64_t remainder = 0;
    for (std::uint64_t i = 0; i < newLen; ++i) {
      unit[i] = copy[source];
      source += stepQuotient;
      remainder += stepRemainder;
      if (remainder >= percent) {
        remainder -= percent;
        ++source;
      }
    }
  }
  sampleCount_ = static_cast<std::uint32_t>(sampleCount_ - len + newLen);
  return 1;
}

int SampleBuffer::GlideLastUnit(float depth, std::int32_t shape) {
  if (unitStarts_.Empty() || !samples_) return 0;
  const std::uint32_t start = unitStarts_.Back();
  const std::uint32_t n = UnitLength(unitStarts_.Size() - 1);
  const std::unique_ptr<std::int16_t[]> copy = Allocate(n);
  if (!copy) return 0;
  std::int16_t* unit = samples_.get() + start;
  std::copy_n(unit, n, copy.get());

  std::uint32_t count = 0;
  if (const std::uint32_t* positions = glideCache_.Positions(n, depth, shape, count)) {
    for (std::uint32_t i = 0; i < count; ++i) unit[i] = copy[positions[i]];
    sampleCount_ = sampleCount_ - n + count;
    return 1;
  }
  GlideDirect(copy.get(), start, n, depth, shape);
  return 1;
}

// The step-by-step glide for what the cache does not hold: long units, and depths whose steps
// may fall below 1, which lengthen the unit. Writing stops at the capacity, and a position that
// would move before the unit's first sample ends the unit there.
void SampleBuffer::GlideDirect(const std::int16_t* copy, std::uint32_t start, std::uint32_t n,
                               float depth, std::int32_t shape) {
  std::int16_t* unit = samples_.get() + start;
  const std::uint64_t room = capacityBytes_ / 2u - start;
  double pos = 0.0;
  std::uint64_t i = 0;
  while (pos < n && pos >= 0.0 && i < room) {
    unit[i] = copy[static_cast<std::size_t>(pos)];
    pos += detail::GlideStep(static_cast<std::int64_t>(i), n, depth, shape);
    ++i;
  }
  sampleCount_ = static_cast<std::uint32_t>(start + i);
}

void SampleBuffer::ApplyEnvelope(std::uint32_t start, std::uint32_t length,
                                 std::string_view envelope) {
  if (envelope.empty() || !samples_) return;
  if (std::uint64_t{start} + length > sampleCount_) return;
  std::int16_t* samples = samples_.get();
  const std::uint64_t shares = envelope.size();
  for (std::uint64_t i = 0; i < shares; ++i) {
    const char mark = envelope[i];
    if (mark != '/' && mark != '\\') continue;
    // Products in 64 bits: a long unit times a full-scale sample passes 32 bits.
    const std::int64_t from = start + static_cast<std::int64_t>(length * i / shares);
    const std::int64_t to = start + static_cast<std::int64_t>(length * (i + 1) / shares);
    const std::int64_t span = to - from;
    if (span == 0) continue;
    for (std::int64_t j = from; j < to; ++j) {
      const std::int64_t factor = mark == '/' ? j - from : to - j;
      samples[j] = static_cast<std::int16_t>(factor * samples[j] / span);
    }
  }
}

}  // namespace orvanel::synth
