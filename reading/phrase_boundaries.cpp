// Settling phrase marks, and the marks at the end of a line.
#include "reading/phrase_boundaries.h"

namespace orvanel::reading {

namespace {

using frontend::PhraseBreak;

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsSentenceEnd(char c) { return c == '.' || c == '!' || c == '?'; }
bool IsClusterByte(char c) {
  return IsMarkByte(c) || IsBlankByte(c) || c == ',' || IsSentenceEnd(c);
}

bool EndsStretch(char c) {
  const frontend::PhraseMark* mark = frontend::PhraseMarkOf(c);
  return mark != nullptr && mark->endsStretch;
}

std::int32_t PauseOf(char c) { return frontend::PhraseMarkOf(c)->pauseMs; }

// Which mark of the cluster out[from, to) stays, or to when none does.
std::size_t KeptMark(const std::string& out, std::size_t from, std::size_t to, bool leading,
                     bool trailing_without_feed) {
  std::size_t keep = to;
  bool sentence_end = false;
  for (std::size_t k = from; k < to; ++k) {
    if (out[k] == MarkByte(PhraseBreak::kParagraph)) return k;
    sentence_end |= IsSentenceEnd(out[k]);
    if (IsMarkByte(out[k]) && (keep == to || PauseOf(out[k]) > PauseOf(out[keep]))) keep = k;
  }
  if (sentence_end || leading) return to;
  if (trailing_without_feed && keep != to && !EndsStretch(out[keep])) return to;
  return keep;
}

}  // namespace

void MarkLineEnd(std::string& out, std::size_t begin, std::size_t line_chars) {
  std::size_t end = out.size();
  while (end > begin && IsBlankByte(out[end - 1])) --end;
  if (end == begin) {
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(begin), MarkByte(PhraseBreak::kParagraph));
    return;
  }
  const char last = out[end - 1];
  if (IsSentenceEnd(last) || EndsStretch(last)) return;
  if (line_chars >= kWrappedLineChars) return;
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(end), MarkByte(PhraseBreak::kLineBreak));
}

void SettleMarks(std::string& out, std::size_t begin, bool feed) {
  std::string settled;
  settled.reserve(out.size() - begin);
  bool spoken = false;
  std::size_t k = begin;
  while (k < out.size()) {
    if (!IsClusterByte(out[k])) {
      settled += out[k++];
      spoken = true;
      continue;
    }
    std::size_t to = k;
    bool marks = false;
    while (to < out.size() && IsClusterByte(out[to])) marks |= IsMarkByte(out[to++]);
    if (!marks) {
      settled.append(out, k, to - k);
      k = to;
      continue;
    }
    const std::size_t keep = KeptMark(out, k, to, !spoken, to == out.size() && !feed);
    for (; k < to; ++k) {
      if (IsMarkByte(out[k]) ? k == keep : !(out[k] == ',' && keep != to)) settled += out[k];
    }
  }
  out.replace(begin, out.size() - begin, settled);
}

}  // namespace orvanel::reading
