// Settling phrase marks, and the marks at the end of a line.
#include "reading/phrase_boundaries.h"

#include <algorithm>
#include <array>

namespace orvanel::reading {

namespace {

using frontend::PhraseBreak;

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsSentenceEnd(char c) { return c == '.' || c == '!' || c == '?'; }
// The bytes of a cluster: marks, blanks, ". , ! ?".
constexpr std::array<bool, 256> kClusterBytes = [] {
  std::array<bool, 256> bytes{};
  for (int b = 0x11; b <= 0x19; ++b) bytes[b] = true;
  for (const char c : {' ', '\t', '\r', ',', '.', '!', '?'})
    bytes[static_cast<unsigned char>(c)] = true;
  return bytes;
}();
bool IsClusterByte(char c) { return kClusterBytes[static_cast<unsigned char>(c)]; }

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

std::size_t MarkLineEnd(std::string& out, std::size_t begin, std::string_view line) {
  std::size_t end = out.size();
  while (end > begin && IsBlankByte(out[end - 1])) --end;
  if (end == begin) {
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(begin), MarkByte(PhraseBreak::kParagraph));
    return begin;
  }
  const char last = out[end - 1];
  if (IsSentenceEnd(last) || EndsStretch(last)) return std::string::npos;
  if (line.size() >= kWrappedLineChars) {
    // Counted in characters only when the bytes could be that many.
    const auto characters = std::count_if(line.begin(), line.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (static_cast<std::size_t>(characters) >= kWrappedLineChars) return std::string::npos;
  }
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(end), MarkByte(PhraseBreak::kLineBreak));
  return end;
}

void SettleMarks(std::string& out, std::size_t begin, std::size_t from, bool feed) {
  // Cluster by cluster from the first mark on, in place: what stays is never behind where it is
  // written. Before a cluster something was said when there is anything at all.
  const std::size_t n = out.size();
  std::size_t k = from;
  while (k > begin && IsClusterByte(out[k - 1])) --k;
  bool spoken = k > begin;
  std::size_t write = k;
  while (k < n) {
    std::size_t mark = k;
    while (mark < n && !IsMarkByte(out[mark])) ++mark;
    std::size_t from_cluster = mark;
    while (mark < n && from_cluster > k && IsClusterByte(out[from_cluster - 1])) --from_cluster;
    if (from_cluster > k) spoken = true;
    if (write != k) {
      // Forward, onto bytes before: std::copy keeps the overlapping ranges right.
      std::copy(out.begin() + static_cast<std::ptrdiff_t>(k),
                out.begin() + static_cast<std::ptrdiff_t>(from_cluster),
                out.begin() + static_cast<std::ptrdiff_t>(write));
    }
    write += from_cluster - k;
    if (mark == n) break;
    std::size_t to = mark;
    while (to < n && IsClusterByte(out[to])) ++to;
    const std::size_t keep = KeptMark(out, from_cluster, to, !spoken, to == n && !feed);
    for (std::size_t c = from_cluster; c < to; ++c) {
      const bool stays = IsMarkByte(out[c]) ? c == keep : !(out[c] == ',' && keep != to);
      if (stays) out[write++] = out[c];
    }
    k = to;
  }
  out.resize(write);
}

}  // namespace orvanel::reading
