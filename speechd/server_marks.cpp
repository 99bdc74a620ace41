// Joining text across the server's marks where the reading stage reads it as one.
#include "speechd/server_marks.h"

#include <string>
#include <string_view>

#include "library/reading_stage.h"

namespace orvanel::speechd {
namespace {

// The most texts joined to one: a run of abbreviations and ordinals is a few words long, and a
// text made of nothing else is still spoken piece by piece, a little of it at a time.
constexpr int kMaxJoined = 16;

bool IsBlank(char c) { return c == ' ' || c == '\n' || c == '\t'; }

bool IsServerMark(const SsmlPiece& p) {
  return p.kind == PieceKind::kMark && p.text.starts_with("__spd_");
}

// The text without its blanks.
std::string Squeezed(std::string_view text) {
  std::string out;
  for (char c : text)
    if (!IsBlank(c)) out += c;
  return out;
}

// Whether the last word of before and the first word of after read differently together than
// apart. Only a word that ends with a dot can be cut that way (an ordinal, an abbreviation).
bool ReadTogether(std::string_view before, std::string_view after) {
  while (!before.empty() && IsBlank(before.back())) before.remove_suffix(1);
  if (before.empty() || before.back() != '.') return false;
  std::size_t start = before.size();
  while (start > 0 && !IsBlank(before[start - 1])) --start;
  const std::string_view last = before.substr(start);
  std::size_t end = 0;
  while (end < after.size() && IsBlank(after[end])) ++end;
  while (end < after.size() && !IsBlank(after[end])) ++end;
  const std::string_view first = after.substr(0, end);
  if (Squeezed(first).empty()) return false;
  const std::string together = library::ReadForFrontEnd(std::string(last) + std::string(first));
  const std::string apart = library::ReadForFrontEnd(last) + library::ReadForFrontEnd(first);
  return Squeezed(together) != Squeezed(apart);
}

}  // namespace

std::size_t JoinReadingCutByMarks(std::vector<SsmlPiece>& pieces, std::size_t i) {
  std::size_t last = i;
  if (i >= pieces.size() || pieces[i].kind != PieceKind::kText) return last;
  int joined = 0;
  for (std::size_t next = i + 1; next < pieces.size() && joined < kMaxJoined; ++next) {
    if (IsServerMark(pieces[next])) continue;
    if (next == last + 1 || pieces[next].kind != PieceKind::kText ||
        !ReadTogether(pieces[i].text, pieces[next].text))
      break;
    pieces[i].text += pieces[next].text;
    pieces[next].text.clear();
    last = next;
    ++joined;
  }
  return last;
}

}  // namespace orvanel::speechd
