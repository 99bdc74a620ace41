// The glide's variable resampling step, and a cache of the source positions it produces so that
// every unit of the same length, shape and depth reuses one table instead of recomputing it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvanel::synth::detail {

// The step after output sample i of a unit of n samples:
//   e    = 5 i / n (shape 2: 5 (n - 1 - i) / n), in double, then rounded to single precision;
//   step = 1 + d x exp(-e) x (1 - 2^-e), in double.
// Any shape other than 2 takes the early bump. For depth >= 0 the step is at least 1.
double GlideStep(std::int64_t i, std::int64_t n, float depth, std::int32_t shape) noexcept;

// Source positions of a glide: positions[i] is pos truncated after i steps, for every output
// sample i. The tables are exactly what the step-by-step loop reads, computed by GlideStep.
class GlideCache {
 public:
  // Units longer than this are glided step by step rather than cached.
  static constexpr std::uint32_t kMaxCachedLength = 1u << 16;
  static constexpr std::size_t kEntries = 16;

  // The table for a unit of n samples (n >= 1, finite depth >= 0, so that count <= n), or nullptr
  // when it is not cacheable or its memory cannot be had. count receives the output length.
  const std::uint32_t* Positions(std::uint32_t n, float depth, std::int32_t shape,
                                 std::uint32_t& count) noexcept;

 private:
  struct Entry {
    std::uint32_t n = 0;
    std::uint32_t depthBits = 0;
    std::int32_t shape = 0;
    std::uint32_t count = 0;
    std::unique_ptr<std::uint32_t[]> positions;
  };
  std::array<Entry, kEntries> entries_{};
  std::size_t next_ = 0;  // the entry replaced next, round robin
};

}  // namespace orvanel::synth::detail
