// The line reader's walk over the tokens, and what it copies unchanged.
#include "reading/line_reader.h"

#include <algorithm>

#include "reading/phrase_boundaries.h"
#include "reading/signs.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

LineReader::LineReader(std::string_view line, Tokens& cut, ReadingTrace& trace,
                       const ReadingOptions& options)
    : line_(line),
      tokens_(cut.tokens),
      escaped_(cut.escaped),
      trace_(trace),
      options_(options),
      foreign_(ForeignCandidates()) {
  Tokenize(line, cut);
}

std::size_t LineReader::Read(std::string& out) {
  std::size_t i = 0;
  while (i < tokens_.size()) {
    if (const auto next = TryRules(i, out)) {
      i = *next;
    } else {
      AppendToken(tokens_[i], out);
      ++i;
    }
  }
  return first_mark_;
}

std::size_t LineReader::WordBefore(std::size_t i) const {
  if (i >= 2 && IsBlank(i - 1) && IsKind(i - 2, TokenKind::kWord)) return i - 2;
  return tokens_.size();
}

std::size_t LineReader::WordAfter(std::size_t i) const {
  if (IsBlank(i + 1) && IsKind(i + 2, TokenKind::kWord)) return i + 2;
  return tokens_.size();
}

bool LineReader::WordIn(std::size_t i, std::span<const std::string_view> words) const {
  if (!IsKind(i, TokenKind::kWord) || tokens_[i].letters > 16) return false;
  const std::string lower = LowerTurkish(Text(i));
  return std::find(words.begin(), words.end(), lower) != words.end();
}

std::optional<std::size_t> LineReader::TokenAt(std::size_t offset, std::size_t from) const {
  for (std::size_t k = from; k < tokens_.size() && tokens_[k].begin <= offset; ++k) {
    if (tokens_[k].begin == offset) return k;
  }
  if (offset == line_.size()) return tokens_.size();
  return std::nullopt;
}

bool LineReader::MatchesAt(std::size_t offset, std::string_view written, bool any_case) const {
  if (offset >= line_.size() || written.empty() || line_.size() - offset < written.size()) {
    return false;
  }
  for (std::size_t k = 0; k < written.size(); ++k) {
    const char c = line_[offset + k];
    if (c != written[k] && !(any_case && LowerAscii(c) == LowerAscii(written[k]))) return false;
  }
  const std::size_t after = offset + written.size();
  if (after >= line_.size()) return true;
  char32_t cp;
  DecodeUtf8(line_, after, cp);
  return !IsWordLetter(cp) && !(cp >= '0' && cp <= '9') && cp != '\\';
}

bool LineReader::RestIsBlank(std::size_t offset) const {
  for (std::size_t k = offset; k < line_.size(); ++k) {
    if (line_[k] != ' ' && line_[k] != '\t' && line_[k] != '\r') return false;
  }
  return true;
}

void LineReader::AppendToken(const Token& token, std::string& out) {
  const std::string_view raw = line_.substr(token.begin, token.end - token.begin);
  switch (token.kind) {
    case TokenKind::kChar:
      AppendCharacter(token.cp, out, trace_);
      break;
    case TokenKind::kBrace:
    case TokenKind::kOpaque:
      // Copied as typed; only characters the code page cannot hold become a blank, as the
      // conversion would make them, and so do the bytes of phrase marks and the name mark.
      for (std::size_t k = 0; k < raw.size();) {
        char32_t cp;
        const std::size_t len = DecodeUtf8(raw, k, cp);
        if ((cp == kInvalidUtf8 || InCp1254(cp)) && !IsStageByte(raw[k])) {
          out += raw.substr(k, len);
        } else {
          out += ' ';
        }
        k += len;
      }
      break;
    default:
      out += raw;
  }
}

std::optional<std::size_t> LineReader::TryRules(std::size_t i, std::string& out) {
  const Token& token = tokens_[i];
  switch (token.kind) {
    case TokenKind::kDigits:
      // Digits after a letter belong to the word ("F16", "mp3"), but for a version ("v1.2").
      if (i > 0 && IsKind(i - 1, TokenKind::kWord) &&
          !(tokens_[i - 1].letters == 1 && LowerTurkish(Text(i - 1)) == "v" &&
            IsChar(i + 1, '.'))) {
        return std::nullopt;
      }
      if (IsKind(i + 1, TokenKind::kChar)) {
        if (const auto end = ReadScreenText(i, out)) return end;  // "2024_rapor.pdf"
      }
      if (const auto end = ReadPhone(i, out)) return end;
      return ReadNumber(i, {}, out);
    case TokenKind::kChar:
      if (const auto end = ReadSignBeforeNumber(i, out)) return end;
      if (token.cp == '(') {
        if (const auto end = ReadPhone(i, out)) return end;
      }
      return ReadPunctuation(i, out);
    case TokenKind::kWord:
      // Screen text has a separator after its first word (or its digits): "rapor.pdf".
      if (IsKind(i + 1, TokenKind::kChar) || IsKind(i + 1, TokenKind::kDigits)) {
        if (const auto end = ReadScreenText(i, out)) return end;
      }
      return ReadWord(i, out);
    default:
      return std::nullopt;
  }
}

}  // namespace orvanel::reading
