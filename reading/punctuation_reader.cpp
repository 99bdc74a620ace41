// Punctuation and signs by the punctuation level. The punctuation of prose is heard, not said:
// parentheses, brackets, quotes, dashes, a colon, a semicolon and an ellipsis become phrase marks;
// a hyphen or slash between words is a joint (a blank). Signs a reader says stay where they mean
// something ("3 + 4", "x/y", "3*4"); decoration ("-----", "*") is silent. At the level "some"
// every sign is said by its name; at "all" every mark too, the pause still heard after it.
#include <algorithm>

#include "reading/line_reader.h"
#include "reading/phrase_boundaries.h"
#include "reading/reading_tables.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

using frontend::PhraseBreak;

// Bullets and arrows between items: heard as a dash.
bool IsBulletOrArrow(char32_t cp) {
  switch (cp) {
    case U'•':
    case U'·':
    case U'▪':
    case U'●':
    case U'■':
    case U'►':
    case U'▶':
    case U'◦':
    case U'‣':
    case U'○':
    case U'□':
    case U'✓':
    case U'✔':
    case U'→':
    case U'←':
    case U'⇒':
    case U'↔':
      return true;
    default:
      return false;
  }
}

// Signs the front end names itself, with the same words as SignName.
bool FrontEndNames(char32_t cp) {
  return cp == '+' || cp == '=' || cp == '<' || cp == '>' || cp == '&' || cp == '@' || cp == '$' ||
         cp == '%';
}

}  // namespace

std::optional<std::size_t> LineReader::ReadPunctuation(std::size_t i, std::string& out) {
  const char32_t cp = tokens_[i].cp;
  if (IsQuote(cp)) {
    // A suffix written after the closing quote: "Tekstilpark"ı -> Tekstilparkı.
    if (i > 0 && IsSolid(i - 1) && IsKind(i + 1, TokenKind::kWord) && tokens_[i + 1].all_lower &&
        Level() != Punctuation::kAll) {
      Count(ReadingRule::kJoint);
      return i + 1;
    }
    return WriteMark(i, PhraseBreak::kQuote, out);
  }
  if (IsBulletOrArrow(cp)) return WriteMark(i, PhraseBreak::kDash, out);
  switch (cp) {
    case '(':
    case '[':
      return WriteMark(i, PhraseBreak::kParenthesisOpen, out);
    case ')':
    case ']':
      return WriteMark(i, PhraseBreak::kParenthesisClose, out);
    case U'–':
    case U'—':
    case U'―':
      return WriteMark(i, PhraseBreak::kDash, out);
    case '-':
      return ReadHyphen(i, out);
    case '/':
      return ReadSlash(i, out);
    case ':':
      // Between digits it belongs to the number ("3:1"), which the front end reads.
      if (i > 0 && IsDigits(i - 1) && IsDigits(i + 1)) return std::nullopt;
      return WriteMark(i, PhraseBreak::kColon, out);
    case ';':
      return WriteMark(i, PhraseBreak::kSemicolon, out);
    case U'…':
      return WriteMark(i, PhraseBreak::kEllipsis, out);
    case '.': {
      std::size_t end = i + 1;
      while (IsChar(end, '.')) ++end;
      if (end == i + 1 && IsBlank(i + 1) && IsChar(i + 2, '.') && IsBlank(i + 3) &&
          IsChar(i + 4, '.')) {
        end = i + 5;  // ". . ."
      }
      if (end > i + 1) return WriteMark(i, PhraseBreak::kEllipsis, out, end);
      [[fallthrough]];
    }
    case ',':
    case '!':
    case '?':
      if (Level() != Punctuation::kAll) return std::nullopt;
      // Named, and kept behind the name for the pause and the tune: "ünlem!".
      WriteName(SignName(cp), out);
      AppendUtf8(cp, out);
      BlankBefore(i + 1, out);
      Count(ReadingRule::kPunctuation);
      return i + 1;
    default:
      return ReadSign(i, out);
  }
}

// A hyphen: a joint between words ("İzmir-Ankara", "e-fatura"), a dash between blanks, a minus
// before a number, a range between numbers (read with the numbers).
std::optional<std::size_t> LineReader::ReadHyphen(std::size_t i, std::string& out) {
  if (RunOfSame(i) != 0) return ReadSign(i, out);
  if (IsChar(i + 1, '-')) return WriteMark(i, PhraseBreak::kDash, out, i + 2);  // "--"
  const bool left = i > 0 && IsSolid(i - 1);
  const bool right = IsSolid(i + 1);
  if (left && right) {
    if (IsDigits(i - 1) && IsDigits(i + 1)) return std::nullopt;
    // "e-fatura", "e-Devlet": the prefix is part of the word.
    if (IsKind(i - 1, TokenKind::kWord) && tokens_[i - 1].letters == 1 &&
        LowerTurkish(Text(i - 1)) == "e" && IsKind(i + 1, TokenKind::kWord) &&
        Level() != Punctuation::kAll) {
      Count(ReadingRule::kJoint);
      return i + 1;
    }
    return WriteJoint(i, out);
  }
  if (left && IsDigits(i - 1)) return WriteMark(i, PhraseBreak::kDash, out);  // "3- Yusuf"
  // "yarı- ve tam zamanlı": a word cut short before a conjunction; otherwise a dash ("-dedi-").
  if (left) {
    static constexpr std::string_view kConjunctions[] = {"ve", "veya", "ya", "ile", "yahut"};
    if (WordIn(WordAfter(i), kConjunctions)) return WriteJoint(i, out);
    return WriteMark(i, PhraseBreak::kDash, out);
  }
  if (IsDigits(i + 1)) return std::nullopt;               // a minus: "-9"
  if (!right && BetweenOperands(i)) return std::nullopt;  // "3 - 2"
  return WriteMark(i, PhraseBreak::kDash, out);
}

// A slash: a joint between words ("öğrenci/öğretmen", "ve / veya"); between numbers or single
// letters it is said ("x/y"), dates and fractions being read with their numbers.
std::optional<std::size_t> LineReader::ReadSlash(std::size_t i, std::string& out) {
  if (RunOfSame(i) != 0) return ReadSign(i, out);
  if (BetweenOperands(i)) return std::nullopt;
  return WriteJoint(i, out);
}

// The signs of ASCII that are no prose punctuation.
std::optional<std::size_t> LineReader::ReadSign(std::size_t i, std::string& out) {
  const char32_t cp = tokens_[i].cp;
  const std::string_view name = cp < 0x80 && cp != '\'' && cp != '\\' ? SignName(cp) : "";
  if (name.empty()) return std::nullopt;
  if (const std::size_t end = RunOfSame(i)) {
    // Decoration, said once at "all".
    if (Level() == Punctuation::kAll) {
      WriteName(name, out);
      BlankBefore(end, out);
    } else {
      out += ' ';
    }
    Count(ReadingRule::kPunctuation);
    return end;
  }
  const bool operands = BetweenOperands(i);
  if (Level() == Punctuation::kNone) {
    // "*" and "_" outside a formula or an address are decoration; other signs are said.
    if ((cp != '*' && cp != '_') || (cp == '*' && operands)) return std::nullopt;
    out += ' ';
  } else {
    if (operands && (cp == '*' || FrontEndNames(cp))) return std::nullopt;  // "3 * 4": çarpı
    WriteName(name, out);
    BlankBefore(i + 1, out);
  }
  Count(ReadingRule::kPunctuation);
  return i + 1;
}

bool LineReader::BetweenOperands(std::size_t i) const {
  if (i == 0) return false;
  auto operand = [&](std::size_t k) {
    return IsDigits(k) || (IsKind(k, TokenKind::kWord) && tokens_[k].letters == 1);
  };
  const std::size_t left = IsBlank(i - 1) ? i - 2 : i - 1;
  const std::size_t right = IsBlank(i + 1) ? i + 2 : i + 1;
  return left < tokens_.size() && operand(left) && operand(right);
}

std::size_t LineReader::RunOfSame(std::size_t i) const {
  std::size_t end = i + 1;
  while (IsChar(end, tokens_[i].cp)) ++end;
  return end - i >= 3 ? end : 0;
}

std::size_t LineReader::WriteMark(std::size_t i, PhraseBreak boundary, std::string& out,
                                  std::size_t end) {
  if (end == 0) end = i + 1;
  Count(ReadingRule::kPunctuation);
  if (Level() != Punctuation::kAll) {
    first_mark_ = std::min(first_mark_, out.size());
    out += MarkByte(boundary);
    return end;
  }
  const std::string_view name =
      end > i + 1 && IsChar(i, '.') ? "üç nokta" : SignName(tokens_[i].cp);
  if (boundary == PhraseBreak::kParenthesisOpen) {
    // The pause before the aside, then its name.
    first_mark_ = std::min(first_mark_, out.size());
    out += MarkByte(boundary);
    WriteName(name, out);
    BlankBefore(end, out);
    return end;
  }
  WriteName(name, out);
  first_mark_ = std::min(first_mark_, out.size());
  out += MarkByte(boundary);
  BlankBefore(end, out);
  return end;
}

std::size_t LineReader::WriteJoint(std::size_t i, std::string& out) {
  Count(ReadingRule::kJoint);
  if (Level() == Punctuation::kAll) {
    WriteName(SignName(tokens_[i].cp), out);
    BlankBefore(i + 1, out);
  } else {
    out += ' ';
  }
  return i + 1;
}

// A name between blanks: one before it unless the reading so far ends in one (or the line
// begins), none after it (the caller writes what follows).
void LineReader::WriteName(std::string_view name, std::string& out) {
  if (!out.empty() && out.back() != ' ' && out.back() != '\t' && out.back() != '\n') out += ' ';
  out += name;
}

void LineReader::BlankBefore(std::size_t next, std::string& out) const {
  if (next < tokens_.size() && !IsKind(next, TokenKind::kSpace)) out += ' ';
}

}  // namespace orvanel::reading
