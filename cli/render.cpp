#include "cli/render.h"

#include <cstdio>

#include "frontend/letter_tables.h"
#include "platform/codepage.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"

namespace orvanel::cli {

RenderedSpeech RenderPhoneticText(const std::string& phonetic, unsigned speed, unsigned pitch,
                                  const synth::UnitInventory& units) {
  RenderedSpeech out;
  out.sampleRate = synth::RateForPitch(static_cast<std::uint16_t>(pitch));
  synth::SegmentList list;
  synth::SampleBuffer buffer;
  std::int32_t position = 0;
  std::size_t stretch = 0;
  while (synth::PlanStretch(phonetic, position, list)) {
    ++stretch;
    buffer.Begin(synth::kStretchCapacityBytes, static_cast<std::uint16_t>(pitch));
    for (std::size_t i = 0; i < list.Size(); ++i) {
      synth::RenderSegment(list[i], synth::BuildEnvelope(list, i),
                           static_cast<std::uint16_t>(speed), units, buffer);
    }
    out.samples.insert(out.samples.end(), buffer.Samples(),
                       buffer.Samples() + buffer.SampleCount());
    if (buffer.DroppedSamples() > 0) out.cut.push_back({stretch, buffer.DroppedSamples()});
    buffer.Release();
  }
  return out;
}

namespace {

std::string Letter(char ch) { return platform::Cp1254ToUtf8(std::string(1, ch)); }

}  // namespace

std::string DescribeStretches(const std::string& phonetic) {
  using namespace synth;
  std::string out;
  SegmentList list;
  std::int32_t position = 0;
  std::size_t stretch = 0;
  char line[160];
  for (std::int32_t start = position; PlanStretch(phonetic, position, list); start = position) {
    std::snprintf(line, sizeof line, "stretch %zu (characters %d to %d):\n", ++stretch, start,
                  position - 1);
    out += line;
    for (const Segment& s : list) {
      const bool front = (s.kind & FrontSet) != 0;
      switch (s.kind & 15) {
        case Vowel:
          std::snprintf(line, sizeof line,
                        "  vowel      %s  index %2d  count %d  length %u%%  glide %d step%s %s\n",
                        Letter(frontend::kVowelTable[s.index]).c_str(), s.index, s.count,
                        s.lengthPercent, s.glideSteps, s.glideSteps == 1 ? "" : "s",
                        s.glideShape == 2 ? "late" : "early");
          break;
        case Onset:
        case Coda:
          std::snprintf(line, sizeof line, "  %-9s  %s  index %2d  %s set\n",
                        (s.kind & 15) == Onset ? "onset" : "coda",
                        Letter(frontend::kConsonantTable[s.index]).c_str(), s.index,
                        front ? "front" : "back");
          break;
        case Pause:
          std::snprintf(line, sizeof line, "  pause      %d ms\n", s.count);
          break;
        case SentenceEnd:
          std::snprintf(line, sizeof line, "  sentence end  %d ms\n", s.count);
          break;
        default:
          std::snprintf(line, sizeof line, "  kind %d\n", s.kind);
      }
      out += line;
    }
  }
  return out;
}

}  // namespace orvanel::cli
