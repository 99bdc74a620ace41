#include "cli/render.h"

#include <cstdio>

#include "frontend/letter_tables.h"
#include "platform/codepage.h"
#include "synth/segment_planner.h"

namespace orvanel::cli {

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
