// The line reader's walk over the tokens, and what it copies unchanged.
#include "reading/line_reader.h"

#include "reading/signs.h"
#include "reading/utf8_text.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

LineReader::LineReader(std::string_view line, Tokens& cut, ReadingTrace& trace)
    : line_(line), tokens_(cut.tokens), escaped_(cut.escaped), trace_(trace) {
  Tokenize(line, cut);
  int unknown_capitals = 0;
  for (const Token& token : tokens_) {
    if (token.kind != TokenKind::kWord) continue;
    if (token.letters >= 3 && token.all_upper &&
        FindAcronym(TextOf(token, line_, escaped_)) == nullptr) {
      ++unknown_capitals;
      if (token.letters >= 6) headline_ = true;
    }
  }
  if (unknown_capitals >= 2) headline_ = true;
}

void LineReader::Read(std::string& out) {
  std::size_t i = 0;
  while (i < tokens_.size()) {
    if (const auto next = TryRules(i, out)) {
      i = *next;
    } else {
      AppendToken(tokens_[i], out);
      ++i;
    }
  }
}

std::optional<std::size_t> LineReader::TokenAt(std::size_t offset, std::size_t from) const {
  for (std::size_t k = from; k < tokens_.size() && tokens_[k].begin <= offset; ++k) {
    if (tokens_[k].begin == offset) return k;
  }
  if (offset == line_.size()) return tokens_.size();
  return std::nullopt;
}

bool LineReader::MatchesAt(std::size_t offset, std::string_view written) const {
  if (offset >= line_.size() || line_[offset] != written[0] ||
      line_.substr(offset, written.size()) != written) {
    return false;
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
      // conversion would make them.
      for (std::size_t k = 0; k < raw.size();) {
        char32_t cp;
        const std::size_t len = DecodeUtf8(raw, k, cp);
        if (cp == kInvalidUtf8 || InCp1254(cp)) {
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
      if (i > 0 && IsKind(i - 1, TokenKind::kWord)) return std::nullopt;
      return ReadNumber(i, {}, out);
    case TokenKind::kChar:
      return ReadSignBeforeNumber(i, out);
    case TokenKind::kWord:
      return ReadWord(i, out);
    default:
      return std::nullopt;
  }
}

}  // namespace orvanel::reading
