// A line of the reading stage cut into tokens: words (with their backslash escapes resolved),
// digit runs, blanks, brace passages and single characters. The rules of the stage work on
// short patterns of these tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel::reading {

enum class TokenKind : std::uint8_t { kWord, kDigits, kSpace, kBrace, kChar, kOpaque };

// The longest line that is cut into tokens (offsets are 32 bits); longer lines are read
// character by character.
inline constexpr std::size_t kLongestTokenizedLine = 0xFFFFFFFFu;

struct Token {
  TokenKind kind = TokenKind::kChar;
  bool escaped = false;
  std::uint32_t begin = 0;  // byte range in the line
  std::uint32_t end = 0;
  // kWord with a backslash escape: the index of its letters (escapes resolved) among the
  // line's escaped words. Every other word and digit run reads as its bytes.
  std::uint32_t escaped_index = 0;
  char32_t cp = 0;  // kChar: the character
  // kWord: what the rules ask of a word, found once while cutting it.
  std::uint32_t letters = 0;
  bool all_upper = true;
  bool all_lower = true;
  bool first_lower = false;
  bool circumflex = false;
  bool vowel = false;  // it has a vowel
  bool ascii = true;   // only the letters a to z and A to Z
};

// A line cut into tokens; escaped holds the letters of the words with backslash escapes.
struct Tokens {
  std::vector<Token> tokens;
  std::vector<std::string> escaped;
};

// Cuts line (at most kLongestTokenizedLine bytes) into tokens, overwriting cut (pass the same one
// for many lines).
void Tokenize(std::string_view line, Tokens& cut);

// The letters of a word (escapes resolved) or the digits of a digit run.
inline std::string_view TextOf(const Token& token, std::string_view line,
                               const std::vector<std::string>& escaped) {
  if (token.escaped) return escaped[token.escaped_index];
  return line.substr(token.begin, token.end - token.begin);
}

inline bool IsApostrophe(char32_t cp) { return cp == '\'' || cp == U'’'; }

}  // namespace orvanel::reading
