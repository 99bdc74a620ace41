// Segment rendering: one planned segment into samples, with each vowel's envelope built from its
// neighbours. Pure over its arguments; the speed is handed in for every segment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "synth/sample_buffer.h"
#include "synth/segment.h"
#include "synth/unit_inventory.h"

namespace orvanel::synth {

// ((speed + 1) x count x 5) / 2 milliseconds, in 64 bits. 127 at speed 50 for one letter.
std::uint64_t VowelDurationMs(std::uint16_t speed, std::int32_t count) noexcept;
// glideSteps x 0.2 in double precision, rounded to single precision.
float GlideDepth(std::int32_t glideSteps) noexcept;

// "----" with "/" before it after a coda and "\" after it before a pause, a sentence end or the
// end of the list; empty for every segment that is not a vowel.
std::string BuildEnvelope(const SegmentList& list, std::size_t i);

void RenderSegment(const Segment& segment, std::string_view envelope, std::uint16_t speed,
                   const UnitInventory& units, SampleBuffer& buffer);
void RenderPause(std::uint64_t ms, SampleBuffer& buffer);
void RenderVowel(std::int32_t vowelIndex, std::uint64_t ms, std::uint32_t percent,
                 std::int32_t glideSteps, std::int32_t glideShape, std::string_view envelope,
                 const UnitInventory& units, SampleBuffer& buffer);
// part 0 = onset, 1 = coda; front selects the front-vowel set.
void RenderConsonant(std::int32_t consonantIndex, std::int32_t count, int part, bool front,
                     const UnitInventory& units, SampleBuffer& buffer);

}  // namespace orvanel::synth
