#include "cli/render.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/letter_tables.h"

namespace orvanel::cli {

namespace {

constexpr const char* kTuneNames[] = {"statement", "yes/no question", "question-word question",
                                      "question", "exclamation"};

std::string Letter(char ch) { return codepage::Cp1254ToUtf8(std::string(1, ch)); }

}  // namespace

std::string DescribeStretch(const library::PlannedStretch& stretch) {
  using namespace synth;
  std::string out;
  char line[160];
  std::snprintf(line, sizeof line, "stretch %zu (characters %llu to %lld):\n", stretch.number,
                static_cast<unsigned long long>(stretch.phoneticBegin),
                static_cast<long long>(stretch.phoneticEnd) - 1);
  out += line;
  const std::span<const VowelPitch> contour = stretch.contour;
  if (!contour.empty()) {
    std::snprintf(line, sizeof line, "  tune: %s\n", kTuneNames[static_cast<int>(stretch.tune)]);
    out += line;
  }
  const SegmentList& list = *stretch.segments;
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const Segment& s = list[i];
    const bool front = s.FrontSet();
    switch (s.Kind()) {
      case SegmentKind::kVowel:
        std::snprintf(line, sizeof line,
                      "  vowel      %s  index %2d  count %d  length %u%%  glide %d step%s %s\n",
                      Letter(frontend::kVowelTable[s.index]).c_str(), s.index, s.count,
                      s.lengthPercent, s.glideSteps, s.glideSteps == 1 ? "" : "s",
                      s.glideShape == 2 ? "late" : "early");
        if (i < contour.size()) {
          out.append(line, std::strlen(line) - 1);
          if (contour[i].lengthPercent == 100) {
            std::snprintf(line, sizeof line, "  pitch %+.2f to %+.2f st\n",
                          contour[i].startSemitones + 0.f, contour[i].endSemitones + 0.f);
          } else {
            // Lengthened before a boundary.
            std::snprintf(line, sizeof line, "  pitch %+.2f to %+.2f st  held %u%%\n",
                          contour[i].startSemitones + 0.f, contour[i].endSemitones + 0.f,
                          static_cast<unsigned>(contour[i].lengthPercent));
          }
        }
        break;
      case SegmentKind::kOnset:
      case SegmentKind::kCoda:
        std::snprintf(line, sizeof line, "  %-9s  %s  index %2d  %s set\n",
                      s.Kind() == SegmentKind::kOnset ? "onset" : "coda",
                      Letter(frontend::kConsonantTable[s.index]).c_str(), s.index,
                      front ? "front" : "back");
        break;
      case SegmentKind::kPause:
        std::snprintf(line, sizeof line, "  pause      %d ms\n", s.count);
        break;
      case SegmentKind::kSentenceEnd:
        std::snprintf(line, sizeof line, "  sentence end  %d ms\n", s.count);
        break;
      default:
        std::snprintf(line, sizeof line, "  kind %d\n", s.kind);
    }
    out += line;
  }
  return out;
}

}  // namespace orvanel::cli
