#include "synth/segment_planner.h"

#include <cstddef>
#include <limits>
#include <optional>

#include "frontend/letter_tables.h"

namespace orvanel::synth {

namespace {

using frontend::kEarlyGlideMark;
using frontend::kFrontMark;
using frontend::kLateGlideMark;
using frontend::kStressMark;

constexpr std::int32_t kShortPauseMs = 1;
constexpr std::int32_t kCommaPauseMs = 100;
constexpr std::int32_t kSentenceEndMs = 700;

constexpr std::uint32_t kStressPercent = 95;

// Counts saturate instead of wrapping on absurdly long runs of one letter or mark.
void Increment(std::int32_t& value) {
  if (value < std::numeric_limits<std::int32_t>::max()) ++value;
}

// The record a character produces; kind 0 when it produces none.
Segment Classify(char ch, bool frontPending) {
  Segment r;
  switch (static_cast<unsigned char>(ch)) {
    case 13:
    case ' ':
      r.kind = KindCode(SegmentKind::kPause);
      r.count = kShortPauseMs;
      return r;
    case ',':
      r.kind = KindCode(SegmentKind::kPause);
      r.count = kCommaPauseMs;
      return r;
    case '!':
    case '.':
    case ':':
    case ';':
    case '?':
      r.kind = KindCode(SegmentKind::kSentenceEnd);
      r.count = kSentenceEndMs;
      return r;
    default:
      break;
  }
  if (const int v = frontend::VowelLookup(ch); v >= 0) {
    r.kind = KindCode(SegmentKind::kVowel);
    r.index = v;
    r.count = 1;
    r.lengthPercent = 100;
    r.glideSteps = 1;
    r.glideShape = 1;
    return r;
  }
  if (const int c = frontend::ConsonantLookup(ch); c >= 0) {
    r.kind = KindCode(c % 2 == 0 ? SegmentKind::kOnset : SegmentKind::kCoda) |
             (frontPending ? kFrontSetFlag : 0);
    r.index = c;
    r.count = 1;
    return r;
  }
  return r;
}

}  // namespace

int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list) {
  list.Clear();
  std::optional<std::size_t> lastVowel;
  bool frontPending = false;
  Segment previous;

  // The end of the view, a zero byte and a position outside the text all end it.
  const auto at = [&text](std::int32_t pos) -> char {
    if (pos < 0 || static_cast<std::size_t>(pos) >= text.size()) return '\0';
    return text[static_cast<std::size_t>(pos)];
  };

  if (at(position) == '\0') return 0;

  for (char ch = at(position); ch != '\0'; ch = at(position)) {
    if (ch == kFrontMark) {
      frontPending = true;
      ++position;
      continue;
    }
    if (lastVowel && (ch == kStressMark || ch == kLateGlideMark || ch == kEarlyGlideMark)) {
      Segment& vowel = list[*lastVowel];
      if (ch == kStressMark) {
        vowel.lengthPercent = vowel.lengthPercent * kStressPercent / 100;
      } else if (ch == kLateGlideMark) {
        if (vowel.glideShape == 1) vowel.glideSteps = 0;
        vowel.glideShape = 2;
        Increment(vowel.glideSteps);
      } else {
        vowel.glideShape = 1;
        Increment(vowel.glideSteps);
      }
      previous = Segment{};
      ++position;
      continue;
    }

    Segment r = Classify(ch, frontPending);
    if (r.Kind() == SegmentKind::kVowel && previous.Kind() == SegmentKind::kVowel &&
        r.index / 2 == previous.index / 2) {
      Increment(list.Back().count);
    } else if (r.kind != 0) {
      if (list.Append(r)) {
        if (r.Kind() == SegmentKind::kVowel) lastVowel = list.Size() - 1;
      } else {
        r = Segment{};  // not recorded: nothing to merge into
      }
    }
    frontPending = false;
    previous = r;
    ++position;
    if (r.Kind() == SegmentKind::kSentenceEnd) return 1;
  }
  return 1;
}

}  // namespace orvanel::synth
