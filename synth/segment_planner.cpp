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

// The record a character produces; kind 0 when it produces none. With phrase marks on, a mark
// gives the pause it stands for and its boundary.
Segment Classify(char ch, bool frontPending, bool phraseMarks, frontend::PhraseBreak& boundary) {
  Segment r;
  boundary = frontend::PhraseBreak::kNone;
  switch (static_cast<unsigned char>(ch)) {
    case 13:
    case ' ':
      r.kind = KindCode(SegmentKind::kPause);
      r.count = kShortPauseMs;
      return r;
    case ',':
      r.kind = KindCode(SegmentKind::kPause);
      r.count = kCommaPauseMs;
      boundary = frontend::PhraseBreak::kComma;
      return r;
    case '!':
    case '.':
    case ':':
    case ';':
    case '?':
      r.kind = KindCode(SegmentKind::kSentenceEnd);
      r.count = kSentenceEndMs;
      boundary = frontend::PhraseBreak::kSentenceEnd;
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
  if (phraseMarks) {
    if (const frontend::PhraseMark* mark = frontend::PhraseMarkOf(ch)) {
      r.kind = KindCode(mark->endsStretch ? SegmentKind::kSentenceEnd : SegmentKind::kPause);
      r.count = mark->pauseMs;
      boundary = mark->boundary;
    }
  }
  return r;
}

// Keeps the notes in step with the list: one note per appended segment, words between silences.
class NoteWriter {
 public:
  explicit NoteWriter(StretchNotes* notes) : notes_(notes) {
    if (notes_ != nullptr) {
      notes_->segments.clear();
      notes_->words.clear();
      notes_->sentenceEnd = 0;
    }
  }
  void Appended(const Segment& r, frontend::PhraseBreak boundary, std::size_t index, char ch,
                std::int32_t position) {
    if (notes_ == nullptr) return;
    SegmentNote note;
    note.position = position;
    if (r.IsSilence()) {
      inWord_ = false;
      note.boundary = boundary;
    } else {
      Letter(ch);
      note.word = static_cast<std::int32_t>(notes_->words.size() - 1);
      if (r.Kind() == SegmentKind::kVowel) notes_->words.back().vowels.push_back(index);
      notes_->words.back().end = index + 1;
    }
    notes_->segments.push_back(note);
  }
  // A vowel letter merged into the vowel before it.
  void Merged(char ch) {
    if (notes_ != nullptr) Letter(ch);
  }
  void Mark(char ch, std::size_t vowel) {
    if (notes_ == nullptr) return;
    SegmentNote& note = notes_->segments[vowel];
    if (ch == kStressMark && note.stressMarks < UINT16_MAX) ++note.stressMarks;
    if (ch == kLateGlideMark) note.lateGlide = true;
  }
  void Ended(char ch) {
    if (notes_ != nullptr) notes_->sentenceEnd = ch;
  }

 private:
  void Letter(char ch) {
    if (!inWord_) {
      PlannedWord word;
      word.first = notes_->segments.size();
      notes_->words.push_back(std::move(word));
      inWord_ = true;
    }
    notes_->words.back().letters.push_back(frontend::ToLowerLetter(ch));
  }

  StretchNotes* notes_;
  bool inWord_ = false;
};

}  // namespace

int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list) {
  return PlanStretch(text, position, list, PlanOptions{}, nullptr);
}

int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list,
                const PlanOptions& options, StretchNotes* notes) {
  list.Clear();
  NoteWriter writer(notes);
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
      writer.Mark(ch, *lastVowel);
      previous = Segment{};
      ++position;
      continue;
    }

    frontend::PhraseBreak boundary;
    Segment r = Classify(ch, frontPending, options.phraseMarks, boundary);
    if (r.Kind() == SegmentKind::kVowel && previous.Kind() == SegmentKind::kVowel &&
        r.index / 2 == previous.index / 2) {
      Increment(list.Back().count);
      writer.Merged(ch);
    } else if (r.kind != 0) {
      if (list.Append(r)) {
        if (r.Kind() == SegmentKind::kVowel) lastVowel = list.Size() - 1;
        writer.Appended(r, boundary, list.Size() - 1, ch, position);
      } else {
        r = Segment{};  // not recorded: nothing to merge into
      }
    }
    frontPending = false;
    previous = r;
    ++position;
    if (r.Kind() == SegmentKind::kSentenceEnd) {
      writer.Ended(ch);
      return 1;
    }
  }
  return 1;
}

}  // namespace orvanel::synth
