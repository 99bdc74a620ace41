// Cutting a line into tokens. A backslash escape counts as the letter it writes, as the front
// end reads it; a brace passage runs to its closing brace or carriage return.
#include "reading/line_tokens.h"

#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

// The letter a backslash escape writes, or the escaped character itself.
char32_t EscapedCharacter(char32_t cp) {
  switch (cp) {
    case 'C':
      return U'Ç';
    case 'G':
      return U'Ğ';
    case 'I':
      return U'İ';
    case 'O':
      return U'Ö';
    case 'S':
      return U'Ş';
    case 'U':
      return U'Ü';
    case 'c':
      return U'ç';
    case 'g':
      return U'ğ';
    case 'i':
      return U'ı';
    case 'o':
      return U'ö';
    case 's':
      return U'ş';
    case 'u':
      return U'ü';
    default:
      return cp;
  }
}

// One unit of the line at i: a character, or a backslash with the character it escapes.
// effective is what the front end sees after its escapes are applied.
struct Unit {
  std::size_t length;
  char32_t effective;
  bool escaped;
};

Unit EscapeAt(std::string_view line, std::size_t i);

inline Unit UnitAt(std::string_view line, std::size_t i) {
  const auto byte = static_cast<unsigned char>(line[i]);
  if (byte < 0x80 && byte != '\\') return {1, byte, false};
  if (byte == '\\') return EscapeAt(line, i);
  char32_t cp;
  const std::size_t len = DecodeUtf8(line, i, cp);
  return {len, cp, false};
}

Unit EscapeAt(std::string_view line, std::size_t i) {
  char32_t cp;
  const std::size_t len = DecodeUtf8(line, i, cp);
  if (i + 1 < line.size()) {
    char32_t next;
    const std::size_t next_len = DecodeUtf8(line, i + 1, next);
    if (next == kInvalidUtf8) return {1 + next_len, kInvalidUtf8, true};
    return {1 + next_len, EscapedCharacter(next), true};
  }
  return {len, cp, false};
}

// A brace passage from i: to its closing brace or carriage return, or to the end of the line.
std::size_t BraceEnd(std::string_view line, std::size_t i) {
  std::size_t j = i;
  while (j < line.size()) {
    const Unit inner = UnitAt(line, j);
    j += inner.length;
    if (inner.effective == '}' || (!inner.escaped && inner.effective == '\r')) break;
  }
  return j;
}

bool IsAsciiVowel(char c) {
  switch (c) {
    case 'a':
    case 'e':
    case 'i':
    case 'o':
    case 'u':
    case 'A':
    case 'E':
    case 'I':
    case 'O':
    case 'U':
      return true;
    default:
      return false;
  }
}

// The two-byte Turkish letters b0 b1 (Ç Ö Ü ç ö ü, Ğ İ ğ ı, Ş ş) as flags: 1 a letter, 2 upper
// case, 4 a vowel; 0 for anything else.
int TurkishLetterFlags(unsigned char b0, unsigned char b1) {
  switch (b0) {
    case 0xC3:
      if (b1 == 0x87) return 3;                // Ç
      if (b1 == 0x96 || b1 == 0x9C) return 7;  // Ö Ü
      if (b1 == 0xA7) return 1;                // ç
      if (b1 == 0xB6 || b1 == 0xBC) return 5;  // ö ü
      return 0;
    case 0xC4:
      if (b1 == 0x9E) return 3;  // Ğ
      if (b1 == 0xB0) return 7;  // İ
      if (b1 == 0x9F) return 1;  // ğ
      if (b1 == 0xB1) return 5;  // ı
      return 0;
    case 0xC5:
      if (b1 == 0x9E) return 3;  // Ş
      if (b1 == 0x9F) return 1;  // ş
      return 0;
    default:
      return 0;
  }
}

// A word from token.begin: its letters, their case, escapes and circumflex vowels.
void CutWord(std::string_view line, Token& token, Tokens& cut) {
  const std::size_t i = token.begin;
  std::size_t j = i;
  while (j < line.size()) {
    const char byte = line[j];
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) {
      // The common case, without decoding.
      token.all_upper &= byte <= 'Z';
      token.all_lower &= byte >= 'a';
      token.vowel |= IsAsciiVowel(byte);
      ++token.letters;
      ++j;
      continue;
    }
    if (j + 1 < line.size()) {
      // The twelve Turkish letters, without decoding either.
      if (const int flags = TurkishLetterFlags(static_cast<unsigned char>(byte),
                                               static_cast<unsigned char>(line[j + 1]))) {
        token.ascii = false;
        token.all_upper &= (flags & 2) != 0;
        token.all_lower &= (flags & 2) == 0;
        token.vowel |= (flags & 4) != 0;
        ++token.letters;
        j += 2;
        continue;
      }
    }
    const Unit inner = UnitAt(line, j);
    if (!IsWordLetter(inner.effective)) break;
    token.escaped |= inner.escaped;
    token.ascii = false;
    token.vowel |= IsTurkishVowel(inner.effective);
    token.all_upper &= IsUpperLetter(inner.effective);
    token.all_lower &= IsLowerLetter(inner.effective);
    token.circumflex |= IsCircumflexVowel(inner.effective);
    ++token.letters;
    j += inner.length;
  }
  token.end = static_cast<std::uint32_t>(j);
  if (token.escaped) {
    token.escaped_index = static_cast<std::uint32_t>(cut.escaped.size());
    std::string& text = cut.escaped.emplace_back();
    for (std::size_t k = i; k < j;) {
      const Unit inner = UnitAt(line, k);
      AppendUtf8(inner.effective, text);
      k += inner.length;
    }
  }
}

std::size_t RunEnd(std::string_view line, std::size_t i, char lo, char hi, char other) {
  std::size_t j = i;
  while (j < line.size() && ((line[j] >= lo && line[j] <= hi) || line[j] == other)) ++j;
  return j;
}

}  // namespace

void Tokenize(std::string_view line, Tokens& cut) {
  std::vector<Token>& tokens = cut.tokens;
  tokens.clear();
  cut.escaped.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    const Unit unit = UnitAt(line, i);
    Token token;
    token.begin = static_cast<std::uint32_t>(i);
    token.end = static_cast<std::uint32_t>(i + unit.length);
    token.cp = unit.effective;
    if (unit.effective == '{') {
      token.kind = TokenKind::kBrace;
      token.end = static_cast<std::uint32_t>(BraceEnd(line, i + unit.length));
    } else if (IsWordLetter(unit.effective)) {
      token.kind = TokenKind::kWord;
      token.first_lower = IsLowerLetter(unit.effective);
      CutWord(line, token, cut);
    } else if (!unit.escaped && unit.effective >= '0' && unit.effective <= '9') {
      token.kind = TokenKind::kDigits;
      token.end = static_cast<std::uint32_t>(RunEnd(line, i, '0', '9', '0'));
    } else if (!unit.escaped && (unit.effective == ' ' || unit.effective == '\t')) {
      token.kind = TokenKind::kSpace;
      token.end = static_cast<std::uint32_t>(RunEnd(line, i, ' ', ' ', '\t'));
    } else if (unit.escaped || unit.effective == kInvalidUtf8) {
      token.kind = TokenKind::kOpaque;
    }
    tokens.push_back(token);
    i = tokens.back().end;
  }
}

}  // namespace orvanel::reading
