// Joining text across the server's marks where the reading stage reads it as one.
#include "speechd/server_marks.h"

#include <string>
#include <string_view>

#include "library/reading_stage.h"

namespace orvanel::speechd {
namespace {

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

void JoinReadingsCutByMarks(std::vector<SsmlPiece>& pieces) {
  std::vector<SsmlPiece> out;
  out.reserve(pieces.size());
  for (SsmlPiece& piece : pieces) {
    if (piece.kind == PieceKind::kText && !out.empty() && IsServerMark(out.back())) {
      // The text before the run of server marks at the end, if any.
      std::size_t at = out.size();
      while (at > 0 && IsServerMark(out[at - 1])) --at;
      if (at > 0 && out[at - 1].kind == PieceKind::kText &&
          ReadTogether(out[at - 1].text, piece.text)) {
        out[at - 1].text += piece.text;
        continue;
      }
    }
    out.push_back(std::move(piece));
  }
  pieces = std::move(out);
}

}  // namespace orvanel::speechd
