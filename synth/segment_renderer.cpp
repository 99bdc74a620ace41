#include "synth/segment_renderer.h"

#include "frontend/letter_tables.h"

namespace orvanel::synth {

namespace {

constexpr std::uint32_t kWholeUnitPercent = 100;
constexpr char kFadeIn[] = "/";
constexpr char kSteady[] = "----";
constexpr char kFadeOut[] = "\\";

}  // namespace

std::uint64_t VowelDurationMs(std::uint16_t speed, std::int32_t count) noexcept {
  // A vowel of no letters has no duration of its own (0 ms: one period).
  if (count <= 0) return 0;
  return (std::uint64_t{speed} + 1) * static_cast<std::uint64_t>(count) * 5 / 2;
}

float GlideDepth(std::int32_t glideSteps) noexcept {
  return static_cast<float>(static_cast<double>(glideSteps) * 0.2);
}

std::string BuildEnvelope(const SegmentList& list, std::size_t i) {
  std::string envelope;
  if (i >= list.Size() || list[i].Kind() != SegmentKind::kVowel) return envelope;
  if (i > 0 && list[i - 1].Kind() == SegmentKind::kCoda) envelope += kFadeIn;
  envelope += kSteady;
  if (i + 1 == list.Size() || list[i + 1].Kind() == SegmentKind::kPause ||
      list[i + 1].Kind() == SegmentKind::kSentenceEnd) {
    envelope += kFadeOut;
  }
  return envelope;
}

void RenderSegment(const Segment& segment, std::string_view envelope, std::uint16_t speed,
                   const UnitInventory& units, SampleBuffer& buffer) {
  const bool front = segment.FrontSet();
  switch (segment.Kind()) {
    case SegmentKind::kPause:
    case SegmentKind::kSentenceEnd:
      // A negative length is no length.
      RenderPause(segment.count > 0 ? static_cast<std::uint64_t>(segment.count) : 0, buffer);
      break;
    case SegmentKind::kVowel:
      RenderVowel(segment.index, VowelDurationMs(speed, segment.count), segment.lengthPercent,
                  segment.glideSteps, segment.glideShape, envelope, units, buffer);
      break;
    case SegmentKind::kOnset:
      RenderConsonant(segment.index, segment.count, 0, front, units, buffer);
      break;
    case SegmentKind::kCoda:
      RenderConsonant(segment.index, segment.count, 1, front, units, buffer);
      break;
    default:
      break;
  }
}

void RenderPause(std::uint64_t ms, SampleBuffer& buffer) { buffer.AppendSilence(ms); }

void RenderVowel(std::int32_t vowelIndex, std::uint64_t ms, std::uint32_t percent,
                 std::int32_t glideSteps, std::int32_t glideShape, std::string_view envelope,
                 const UnitInventory& units, SampleBuffer& buffer) {
  if (vowelIndex < 0 || vowelIndex >= frontend::kVowelCount) return;
  const UnitEntry& unit = units.vowels[static_cast<std::size_t>(vowelIndex / 2)];
  buffer.AppendUnit(unit.handle, unit.LengthSamples(), ms, percent, GlideDepth(glideSteps),
                    glideShape, envelope);
}

void RenderConsonant(std::int32_t consonantIndex, std::int32_t count, int part, bool front,
                     const UnitInventory& units, SampleBuffer& buffer) {
  if (consonantIndex < 0 || consonantIndex >= frontend::kConsonantCount) return;
  if (part != 0 && part != 1) return;
  const std::size_t entry = static_cast<std::size_t>(2 * (consonantIndex / 2) + part);
  const UnitEntry& unit = front ? units.front[entry] : units.back[entry];
  for (std::int32_t k = 0; k < count; ++k) {
    const std::uint32_t before = buffer.SampleCount();
    if (!buffer.AppendUnit(unit.handle, unit.LengthSamples(), 0, kWholeUnitPercent, 0.0f, 0, {})) {
      return;
    }
    // Every repetition has the same length: once one does not fit, none of the rest can.
    if (buffer.SampleCount() == before && unit.LengthSamples() != 0) return;
  }
}

}  // namespace orvanel::synth
