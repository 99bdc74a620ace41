// The samples of one stretch of speech, collected unit by unit before playback, with the three
// shaping operations on the unit just appended: stretch (stress), glide (pitch bend), envelope.
// Used only on the engine's worker thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "synth/detail/glide.h"
#include "synth/growable_array.h"
#include "synth/unit_inventory.h"

namespace orvanel::synth {

inline constexpr std::uint32_t kBaseSampleRate = 22050;
// The engine begins every stretch with this capacity: 1,048,576 samples, about 47.5 s.
inline constexpr std::uint32_t kStretchCapacityBytes = 2'097'152;

// ms x 22050 / 1000, truncating, in 64 bits so that very long durations do not wrap.
constexpr std::uint64_t MsToSamples(std::uint64_t ms) noexcept {
  return ms * kBaseSampleRate / 1000;
}

// The wave format handed to the device (the layout of a PCM WAVEFORMATEX).
struct OutputFormat {
  std::uint16_t formatTag = 1;
  std::uint16_t channels = 1;
  std::uint32_t samplesPerSec = kBaseSampleRate;
  std::uint32_t avgBytesPerSec = 2 * kBaseSampleRate;
  std::uint16_t blockAlign = 2;
  std::uint16_t bitsPerSample = 16;

  friend bool operator==(const OutputFormat&, const OutputFormat&) = default;
};

// rate = 22050 + (11025 x (p - 50)) / 50, signed, truncating toward zero.
std::uint32_t RateForPitch(std::uint16_t pitch) noexcept;

// Where the sample memory and the scratch areas come from: a block of count samples, freed with
// delete[], or nullptr when there is no memory. The default uses new (std::nothrow).
using SampleAllocator = std::function<std::int16_t*(std::size_t count)>;

class SampleBuffer {
 public:
  SampleBuffer() = default;
  // Takes its memory from allocate (tests use this to make allocation fail).
  explicit SampleBuffer(SampleAllocator allocate);
  virtual ~SampleBuffer() = default;
  SampleBuffer(const SampleBuffer&) = delete;
  SampleBuffer& operator=(const SampleBuffer&) = delete;

  // Sets the format from the pitch, then allocates capacityBytes of sample memory. Returns 0 when
  // the memory cannot be had (the format is set even then); every later append then writes nothing.
  int Begin(std::uint32_t capacityBytes, std::uint16_t pitch);
  // Frees the sample memory, empties the buffer; capacityBytes keeps its value. Returns 1.
  int Release();
  void SetFormatForPitch(std::uint16_t pitch);
  // Rounds the rate down to a multiple of 11025 (8000 if that gives 0).
  void LowerRateForDevice();

  // n samples from source, or n zeros when source is null. 0 and nothing written when
  // 2 x (sampleCount + n) would exceed the capacity or there is no sample memory.
  int AppendSamples(const std::int16_t* source, std::uint64_t n);
  // One unit, repeated (whole copies) or cut to ms (0: the whole unit once), then stretched to
  // percent, glided by depth and shape, and enveloped. 0 only when the unit's samples cannot be
  // obtained, and then nothing is recorded.
  int AppendUnit(UnitHandle unit, std::uint32_t lengthSamples, std::uint64_t ms,
                 std::uint32_t percent, float depth, std::int32_t shape, std::string_view envelope);
  // A new unit of ms x 22050 / 1000 zero samples.
  int AppendSilence(std::uint64_t ms);

  // Keeps only the first count samples (and the units that start before them); forgets the
  // samples dropped so far. A stretch that would not fit is ended early this way and its rest
  // rendered into a fresh stretch.
  void Truncate(std::uint32_t count);

  // Samples of unit k (0 when there is no unit k).
  std::uint32_t UnitLength(std::size_t k) const;
  // Resamples the last unit to percent of its length: sample i from copy[i x 100 / percent].
  // 0 and no change when the old and new unit together would pass the capacity, or without
  // scratch memory.
  int StretchLastUnit(std::uint32_t percent);
  // Resamples the last unit with the variable step of detail::GlideStep (shape 1 early bump,
  // 2 late). 0 and no change without scratch memory. A negative depth lengthens the unit; it
  // then stops at the capacity.
  int GlideLastUnit(float depth, std::int32_t shape);
  // Scales the samples start .. start + length by the envelope: "/" rises, "\" falls, others keep.
  // A range outside the written samples is left alone.
  void ApplyEnvelope(std::uint32_t start, std::uint32_t length, std::string_view envelope);

  const OutputFormat& Format() const noexcept { return format_; }
  // Replaces the format until the next Begin (a device that reports its own rate, tests).
  void SetFormat(const OutputFormat& format) noexcept { format_ = format; }
  const std::int16_t* Samples() const noexcept { return samples_.get(); }
  std::int16_t* MutableSamples() noexcept { return samples_.get(); }
  bool HasStorage() const noexcept { return samples_ != nullptr; }
  std::uint32_t SampleCount() const noexcept { return sampleCount_; }
  // Samples that appends since Begin could not write for lack of room (or of sample memory), so
  // that a caller can tell a stretch was cut and by how much. Counted before any shaping.
  std::uint64_t DroppedSamples() const noexcept { return droppedSamples_; }
  std::uint32_t CapacityBytes() const noexcept { return capacityBytes_; }
  const GrowableArray<std::uint32_t>& UnitStarts() const noexcept { return unitStarts_; }

 private:
  OutputFormat format_{};
  GrowableArray<std::uint32_t> unitStarts_;
  std::uint32_t capacityBytes_ = 0;
  std::uint32_t sampleCount_ = 0;
  std::uint64_t droppedSamples_ = 0;
  std::unique_ptr<std::int16_t[]> samples_;
  SampleAllocator allocate_;
  detail::GlideCache glideCache_;

  std::unique_ptr<std::int16_t[]> Allocate(std::size_t count) const;
  void GlideDirect(const std::int16_t* copy, std::uint32_t start, std::uint32_t n, float depth,
                   std::int32_t shape);
};

}  // namespace orvanel::synth
