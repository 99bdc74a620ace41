// The reading stage: each line is cut into tokens (words, digit runs, blanks, brace passages,
// single characters), and rules over short token patterns rewrite what the front end would
// misread. Everything no rule takes is copied unchanged.
#include "reading/turkish_reading.h"

#include <array>
#include <optional>
#include <vector>

#include "frontend/letter_tables.h"
#include "frontend/word_transcription.h"
#include "reading/reading_tables.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

enum class TokenKind { kWord, kDigits, kSpace, kBrace, kChar, kOpaque };

struct Token {
  TokenKind kind = TokenKind::kChar;
  std::size_t begin = 0;  // byte range in the line
  std::size_t end = 0;
  // kWord with a backslash escape: the index of its letters (escapes resolved) among the
  // line's escaped words. Every other word and digit run reads as its bytes.
  std::size_t escaped_index = 0;
  bool escaped = false;
  char32_t cp = 0;  // kChar: the character
  // kWord: what the rules ask of a word, found once while cutting it.
  std::size_t letters = 0;
  bool all_upper = true;
  bool all_lower = true;
  bool first_lower = false;
  bool circumflex = false;
};

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
  if (line[i] == '\\') return EscapeAt(line, i);
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

// Lines cut into tokens; escaped holds the letters of the words with backslash escapes.
struct Tokens {
  std::vector<Token> tokens;
  std::vector<std::string> escaped;
};

void Tokenize(std::string_view line, Tokens& cut) {
  std::vector<Token>& tokens = cut.tokens;
  tokens.clear();
  cut.escaped.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    const Unit unit = UnitAt(line, i);
    Token token;
    token.begin = i;
    token.end = i + unit.length;
    token.cp = unit.effective;
    if (unit.effective == '{') {
      // A brace passage: to its closing brace or carriage return, or to the end of the line.
      std::size_t j = i + unit.length;
      while (j < line.size()) {
        const Unit inner = UnitAt(line, j);
        j += inner.length;
        if (inner.effective == '}' || (!inner.escaped && inner.effective == '\r')) break;
      }
      token.kind = TokenKind::kBrace;
      token.end = j;
    } else if (IsWordLetter(unit.effective)) {
      token.kind = TokenKind::kWord;
      token.first_lower = IsLowerLetter(unit.effective);
      std::size_t j = i;
      while (j < line.size()) {
        const char byte = line[j];
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) {
          // The common case, without decoding.
          token.all_upper &= byte <= 'Z';
          token.all_lower &= byte >= 'a';
          ++token.letters;
          ++j;
          continue;
        }
        const Unit inner = UnitAt(line, j);
        if (!IsWordLetter(inner.effective)) break;
        token.escaped |= inner.escaped;
        token.all_upper &= IsUpperLetter(inner.effective);
        token.all_lower &= IsLowerLetter(inner.effective);
        token.circumflex |= IsCircumflexVowel(inner.effective);
        ++token.letters;
        j += inner.length;
      }
      token.end = j;
      if (token.escaped) {
        token.escaped_index = cut.escaped.size();
        std::string& text = cut.escaped.emplace_back();
        for (std::size_t k = i; k < j;) {
          const Unit inner = UnitAt(line, k);
          AppendUtf8(inner.effective, text);
          k += inner.length;
        }
      }
    } else if (!unit.escaped && unit.effective >= '0' && unit.effective <= '9') {
      token.kind = TokenKind::kDigits;
      std::size_t j = i;
      while (j < line.size() && line[j] >= '0' && line[j] <= '9') ++j;
      token.end = j;
    } else if (!unit.escaped && (unit.effective == ' ' || unit.effective == '\t')) {
      token.kind = TokenKind::kSpace;
      std::size_t j = i;
      while (j < line.size() && (line[j] == ' ' || line[j] == '\t')) ++j;
      token.end = j;
    } else if (unit.escaped || unit.effective == kInvalidUtf8) {
      token.kind = TokenKind::kOpaque;
    }
    tokens.push_back(token);
    i = tokens.back().end;
  }
}

// The letters of a word (escapes resolved) or the digits of a digit run.
std::string_view TextOf(const Token& token, std::string_view line,
                        const std::vector<std::string>& escaped) {
  if (token.escaped) return escaped[token.escaped_index];
  return line.substr(token.begin, token.end - token.begin);
}

bool IsApostrophe(char32_t cp) { return cp == '\'' || cp == U'’'; }

const Acronym* FindAcronym(std::string_view word) {
  for (const Acronym& acronym : KnownAcronyms()) {
    if (acronym.written == word) return &acronym;
  }
  return nullptr;
}

// The value of a Roman numeral in its usual form (I to MMMCMXCIX), or 0.
int RomanValue(std::string_view word) {
  static constexpr std::pair<std::string_view, int> kParts[] = {
      {"M", 1000}, {"CM", 900}, {"D", 500}, {"CD", 400}, {"C", 100}, {"XC", 90}, {"L", 50},
      {"XL", 40},  {"X", 10},   {"IX", 9},  {"V", 5},    {"IV", 4},  {"I", 1}};
  if (word.empty() || word.size() > 15) return 0;
  int value = 0;
  for (const char ch : word) {
    if (std::string_view("IVXLCDM").find(ch) == std::string_view::npos) return 0;
  }
  std::string_view rest = word;
  for (const auto& [letters, part] : kParts) {
    int repeats = 0;
    while (rest.substr(0, letters.size()) == letters && repeats < 3) {
      value += part;
      rest.remove_prefix(letters.size());
      ++repeats;
    }
  }
  return rest.empty() ? value : 0;
}

// Whether an unknown all-capital word is spelled: it has no vowel, begins with two consonants,
// has three consonants in a row, or ends in two consonants that no Turkish word ends in.
bool LooksSpelled(const std::u32string& word) {
  auto consonant = [](char32_t cp) { return !IsTurkishVowel(cp); };
  bool has_vowel = false;
  for (const char32_t cp : word) has_vowel |= IsTurkishVowel(cp);
  if (!has_vowel) return true;
  // Loanwords begin with a consonant and r or l ("KRAL", "PLAN") or with s and a consonant
  // ("SPOR"); other initial pairs are not Turkish.
  if (word.size() >= 2 && consonant(word[0]) && consonant(word[1]) && word[1] != 'R' &&
      word[1] != 'L' && word[0] != 'S') {
    return true;
  }
  for (std::size_t i = 0; i + 2 < word.size(); ++i) {
    if (consonant(word[i]) && consonant(word[i + 1]) && consonant(word[i + 2])) return true;
  }
  if (word.size() >= 3 && consonant(word[word.size() - 2]) && consonant(word.back())) {
    static constexpr std::u32string_view kCodaFirst = U"RLNSŞYFH";
    static constexpr std::u32string_view kCodaSecond = U"KTÇSPZ";
    const bool coda = kCodaFirst.find(word[word.size() - 2]) != std::u32string_view::npos &&
                      kCodaSecond.find(word.back()) != std::u32string_view::npos;
    if (!coda) return true;
  }
  return false;
}

std::string Spell(const std::u32string& word) {
  std::string out;
  for (const char32_t cp : word) {
    if (!out.empty()) out += ' ';
    out += LetterName(cp);
  }
  return out;
}

char32_t PlainVowel(char32_t cp) {
  switch (cp) {
    case U'â':
      return U'a';
    case U'î':
      return U'i';
    case U'û':
      return U'u';
    case U'Â':
      return U'A';
    case U'Î':
      return U'İ';
    case U'Û':
      return U'U';
    default:
      return cp;
  }
}

// A word with circumflex vowels. The vowels are read plain; k, g and l before â or û keep their
// front-vowel sound, which only the notation can say, so such a word becomes a brace passage of
// the front end's own transcription with "~" before those consonants: "kâtip" -> "{~KaTip}".
std::string ReadCircumflexWord(const std::u32string& word) {
  std::u32string plain;
  std::vector<bool> palatal(word.size(), false);
  bool any_palatal = false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    plain += PlainVowel(word[i]);
    const char32_t lower = ToLowerTurkish(word[i]);
    if (i > 0 && (lower == U'â' || lower == U'û')) {
      const char32_t before = ToLowerTurkish(word[i - 1]);
      if (before == U'k' || before == U'g' || before == U'l') {
        palatal[i - 1] = true;
        any_palatal = true;
      }
    }
  }
  if (!any_palatal) return EncodeAll(plain);
  std::string typed;
  for (const char32_t cp : plain)
    typed += static_cast<char>(codepage::CodePointToCp1254(cp).value_or(' '));
  const std::string phonetic = frontend::TranscribeWord(typed);
  // The letter of the transcription that each typed letter became: x gives two letters, a soft
  // g after a vowel one (the vowel again), any other soft g none.
  std::vector<std::size_t> wanted;
  std::size_t letters = 0;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    if (palatal[i]) wanted.push_back(letters);
    const char ch = typed[i];
    if (ch == 'x' || ch == 'X') {
      letters += 2;
    } else if (ch == '\xF0' || ch == '\xD0') {
      letters += (i > 0 && frontend::VowelLookup(typed[i - 1]) >= 0) ? 1 : 0;
    } else {
      letters += 1;
    }
  }
  std::string out = "{";
  std::size_t letter = 0;
  std::size_t next = 0;
  for (std::size_t i = 0; i < phonetic.size(); ++i) {
    const char ch = phonetic[i];
    const bool is_letter = frontend::VowelLookup(ch) >= 0 || frontend::ConsonantLookup(ch) >= 0;
    if (is_letter) {
      if (next < wanted.size() && wanted[next] == letter) {
        if (i == 0 || phonetic[i - 1] != frontend::kFrontMark) out += frontend::kFrontMark;
        ++next;
      }
      ++letter;
    }
    AppendUtf8(codepage::Cp1254ToCodePoint(static_cast<unsigned char>(ch)), out);
  }
  out += '}';
  return out;
}

// A single character outside every rule: typographic signs are normalised, characters the code
// page cannot hold become a blank, the rest stays.
void AppendCharacter(char32_t cp, std::string& out, ReadingTrace& trace) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  std::string_view replacement;
  bool replaced = true;
  switch (cp) {
    case U'…':
      replacement = "...";
      break;
    case U'–':
    case U'—':
    case U'―':
      replacement = ",";
      break;
    case U'“':
    case U'”':
    case U'„':
    case U'‟':
    case U'«':
    case U'»':
      replacement = "";
      break;
    case U'‘':
    case U'’':
    case U'‚':
    case U'‹':
    case U'›':
      replacement = "'";
      break;
    case U'½':
      replacement = "yarım";
      break;
    case U'¼':
      replacement = "çeyrek";
      break;
    case U'¾':
      replacement = "dörtte üç";
      break;
    case U'₺':
      replacement = "lira";
      break;
    case U'€':
      replacement = "avro";
      break;
    case U'£':
      replacement = "sterlin";
      break;
    case U'°':
      replacement = "derece";
      break;
    default:
      replaced = false;
  }
  if (!replaced && !InCp1254(cp)) {
    replacement = " ";
    replaced = true;
  }
  if (replaced) {
    out += replacement;
    ++trace.uses[static_cast<std::size_t>(ReadingRule::kSign)];
  } else {
    AppendUtf8(cp, out);
  }
}

// One piece of a number's reading: digits the front end reads itself, or words.
struct Piece {
  std::string text;
  bool digits;
};

class LineReader {
 public:
  // tokens is working space, overwritten (pass the same vector for many lines).
  LineReader(std::string_view line, Tokens& cut, ReadingTrace& trace)
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

  // Appends the reading of the line to out.
  void Read(std::string& out) {
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

 private:
  const Token* At(std::size_t i) const { return i < tokens_.size() ? &tokens_[i] : nullptr; }
  bool IsKind(std::size_t i, TokenKind kind) const {
    return i < tokens_.size() && tokens_[i].kind == kind;
  }
  bool IsChar(std::size_t i, char32_t cp) const {
    return IsKind(i, TokenKind::kChar) && tokens_[i].cp == cp;
  }
  bool IsDigits(std::size_t i, std::size_t min_len = 1, std::size_t max_len = 1000) const {
    return IsKind(i, TokenKind::kDigits) && tokens_[i].end - tokens_[i].begin >= min_len &&
           tokens_[i].end - tokens_[i].begin <= max_len;
  }
  bool IsBlank(std::size_t i) const {
    return IsKind(i, TokenKind::kSpace) && tokens_[i].end - tokens_[i].begin == 1 &&
           line_[tokens_[i].begin] == ' ';
  }
  std::string_view Text(std::size_t i) const { return TextOf(tokens_[i], line_, escaped_); }
  // Digits, a dot or slash, then the digits at i: the tail of something like "32.13.2000".
  bool AfterSeparatedDigits(std::size_t i) const {
    return i >= 2 && (IsChar(i - 1, '.') || IsChar(i - 1, '/') || IsChar(i - 1, ':')) &&
           IsDigits(i - 2);
  }
  std::string_view Raw(std::size_t i) const {
    return line_.substr(tokens_[i].begin, tokens_[i].end - tokens_[i].begin);
  }
  void Count(ReadingRule rule) { ++trace_.uses[static_cast<std::size_t>(rule)]; }

  // The index of the token that begins at byte offset, if one does.
  std::optional<std::size_t> TokenAt(std::size_t offset, std::size_t from) const {
    for (std::size_t k = from; k < tokens_.size() && tokens_[k].begin <= offset; ++k) {
      if (tokens_[k].begin == offset) return k;
    }
    if (offset == line_.size()) return tokens_.size();
    return std::nullopt;
  }

  // True when line_ holds written at offset and no letter or digit follows it.
  bool MatchesAt(std::size_t offset, std::string_view written) const {
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

  // Only blanks and a carriage return after byte offset.
  bool RestIsBlank(std::size_t offset) const {
    for (std::size_t k = offset; k < line_.size(); ++k) {
      if (line_[k] != ' ' && line_[k] != '\t' && line_[k] != '\r') return false;
    }
    return true;
  }

  void AppendToken(const Token& token, std::string& out) {
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

  std::optional<std::size_t> TryRules(std::size_t i, std::string& out) {
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

  // "%6,5", "% 80", "₺7,50", "€20", "$5"
  std::optional<std::size_t> ReadSignBeforeNumber(std::size_t i, std::string& out) {
    const char32_t cp = tokens_[i].cp;
    if (cp == '%') {
      std::size_t k = i + 1;
      if (IsBlank(k)) ++k;
      if (!IsDigits(k)) return std::nullopt;
      Count(ReadingRule::kPercent);
      return ReadNumber(k, {{"yüzde", false}}, out);
    }
    if (cp == U'₺' || cp == U'€' || cp == '$' || cp == U'£') {
      if (!IsDigits(i + 1)) return std::nullopt;
      std::string_view currency = cp == U'₺'   ? "lira"
                                  : cp == U'€' ? "avro"
                                  : cp == '$'  ? "dolar"
                                               : "sterlin";
      currency_before_ = currency;
      auto end = ReadNumber(i + 1, {}, out);
      currency_before_ = {};
      return end;
    }
    return std::nullopt;
  }

  // A number and what belongs to it: its grouping, decimals, a date or time it is part of, a
  // unit or currency after it, an ordinal dot or a suffix after an apostrophe.
  std::optional<std::size_t> ReadNumber(std::size_t i, std::vector<Piece> pieces,
                                        std::string& out) {
    const bool prefixed = !pieces.empty() || !currency_before_.empty();
    bool changed = prefixed;
    std::size_t j = i;
    std::string integer;
    std::string fraction;
    bool plain = false;  // a bare integer, no date, time, grouping or decimals
    const std::string_view first = Text(i);
    auto int_of = [](std::string_view digits) {
      int value = 0;
      for (const char ch : digits.substr(0, 4)) value = value * 10 + (ch - '0');
      return value;
    };
    auto strip_zeros = [](std::string_view view) {
      std::string digits(view);
      while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
      return digits;
    };
    const bool after_saat = i >= 2 && IsBlank(i - 1) && IsKind(i - 2, TokenKind::kWord) &&
                            LowerTurkish(Text(i - 2)) == "saat";
    // Dates: 23.04.1920, 29/10/1923.
    if (first.size() <= 2 && (IsChar(i + 1, '.') || IsChar(i + 1, '/')) && IsDigits(i + 2, 1, 2) &&
        IsChar(i + 3, tokens_[i + 1].cp) && IsDigits(i + 4, 4, 4) &&
        !(IsChar(i + 5, tokens_[i + 1].cp) && IsDigits(i + 6)) && int_of(first) >= 1 &&
        int_of(first) <= 31 && int_of(Text(i + 2)) >= 1 && int_of(Text(i + 2)) <= 12) {
      pieces.push_back({strip_zeros(first), true});
      pieces.push_back({std::string(MonthName(int_of(Text(i + 2)))), false});
      pieces.push_back({std::string(Text(i + 4)), true});
      Count(ReadingRule::kDate);
      changed = true;
      j = i + 5;
      return Finish(i, j, std::move(pieces), changed, out);
    }
    // Times: 19:05, 00:15, and "saat 07.30".
    // A dot time needs "saat" before it or another dot time across a hyphen: "14.00-19.00".
    auto dot_time_at = [&](std::size_t k) {
      return IsDigits(k, 1, 2) && IsChar(k + 1, '.') && IsDigits(k + 2, 2, 2);
    };
    const bool dot_range = (IsChar(i + 3, '-') && dot_time_at(i + 4)) ||
                           (i >= 4 && IsChar(i - 1, '-') && dot_time_at(i - 4));
    const bool time_mark = IsChar(i + 1, ':') || ((after_saat || dot_range) && IsChar(i + 1, '.'));
    if (first.size() <= 2 && time_mark && IsDigits(i + 2, 2, 2) && int_of(first) <= 24 &&
        int_of(Text(i + 2)) <= 59 && !(IsChar(i + 3, tokens_[i + 1].cp) && IsDigits(i + 4))) {
      pieces.push_back({strip_zeros(first), true});
      if (Text(i + 2) != "00") pieces.push_back({std::string(Text(i + 2)), true});
      Count(ReadingRule::kTime);
      if (IsChar(i + 3, '-') && IsDigits(i + 4)) {
        // "14.00-19.00", "09:30-12:00": from one time to the other.
        for (const Piece& piece : pieces) out += piece.text + ' ';
        Count(ReadingRule::kRange);
        return i + 4;
      }
      return Finish(i, i + 3, std::move(pieces), true, out);
    }
    // Thousands grouped with dots or blanks: 3.750.000, 12 500.
    integer = std::string(first);
    j = i + 1;
    if (first.size() <= 3 && first[0] != '0') {
      std::size_t k = i + 1;
      std::string grouped(first);
      bool grouped_ok = false;
      while (IsChar(k, '.') && IsDigits(k + 1, 3, 3)) {
        grouped += Text(k + 1);
        k += 2;
      }
      if (k > i + 1) {
        grouped_ok = !(IsChar(k, '.') && IsDigits(k + 1));
      } else if (!(i >= 2 && IsKind(i - 1, TokenKind::kSpace) && IsDigits(i - 2))) {
        // Blank-grouped only when no further digit group follows (phone numbers).
        while (IsBlank(k) && IsDigits(k + 1, 3, 3)) {
          grouped += Text(k + 1);
          k += 2;
        }
        grouped_ok = k > i + 1 && !(IsKind(k, TokenKind::kSpace) && IsDigits(k + 1));
      }
      if (grouped_ok) {
        integer = grouped;
        j = k;
        Count(ReadingRule::kGroupedNumber);
        changed = true;
      }
    }
    // Decimals: 7,25; 3.14 (a dot that is neither a group, an ordinal nor a sentence end).
    // After dot groups, more than three digits after a comma are the next number of a list
    // written without its blank ("35.666.549,1975").
    std::string decimal_word = "virgül";
    if (IsChar(j, ',') && IsDigits(j + 1) && !(j > i + 1 && Text(j + 1).size() > 3)) {
      fraction = std::string(Text(j + 1));
      j += 2;
      Count(ReadingRule::kDecimal);
      changed = true;
    } else if (j == i + 1 && IsChar(j, '.') && IsDigits(j + 1) &&
               !(IsChar(j + 2, '.') && IsDigits(j + 3)) && !AfterSeparatedDigits(i)) {
      fraction = std::string(Text(j + 1));
      decimal_word = "nokta";
      j += 2;
      Count(ReadingRule::kDecimal);
      changed = true;
    }
    plain = j == i + 1;
    // Ranges and scores: 2-3, 1999-2001.
    if (plain && !prefixed && IsChar(j, '-') && IsDigits(j + 1) && !(i > 0 && IsChar(i - 1, '-'))) {
      out += integer;
      out += ' ';
      Count(ReadingRule::kRange);
      return j + 1;
    }
    // Fractions: 3/8 -> "sekizde 3".
    if (plain && !prefixed && IsChar(j, '/') && IsDigits(j + 1, 1, 3) && integer.size() <= 3 &&
        !(IsChar(j + 2, '/') && IsDigits(j + 3)) && !AfterSeparatedDigits(i)) {
      pieces.push_back({AttachSuffix(NumberWords(Text(j + 1)), "de"), false});
      pieces.push_back({integer, true});
      Count(ReadingRule::kFraction);
      return Finish(i, j + 2, std::move(pieces), true, out);
    }
    std::vector<Piece> number;
    number.push_back({integer, true});
    // 1½, 2¼
    if (plain && IsChar(j, U'½')) {
      number.push_back({"buçuk", false});
      ++j;
      Count(ReadingRule::kFraction);
      changed = true;
    } else if (plain && (IsChar(j, U'¼') || IsChar(j, U'¾'))) {
      number.push_back({"tam", false});
      number.push_back({IsChar(j, U'¼') ? "dörtte bir" : "dörtte üç", false});
      ++j;
      Count(ReadingRule::kFraction);
      changed = true;
    }
    // 35%
    if (IsChar(j, '%')) {
      pieces.push_back({"yüzde", false});
      ++j;
      Count(ReadingRule::kPercent);
      changed = true;
    }
    // Currency or unit after the number, with or without a blank: 45 TL, 20 €, 12 km, 5 m².
    std::string_view currency = currency_before_;
    std::string_view unit;
    bool per_hour = false;
    {
      const std::size_t k = IsBlank(j) ? j + 1 : j;
      if (k < tokens_.size() && currency.empty()) {
        const std::size_t offset = tokens_[k].begin;
        auto longest = [&](std::span<const Expansion> table) -> const Expansion* {
          const Expansion* best = nullptr;
          for (const Expansion& e : table) {
            if ((best == nullptr || e.written.size() > best->written.size()) &&
                MatchesAt(offset, e.written)) {
              best = &e;
            }
          }
          return best;
        };
        const Expansion* money = longest(Currencies());
        const Expansion* measure = money == nullptr ? longest(Units()) : nullptr;
        const Expansion* found = money != nullptr ? money : measure;
        if (found != nullptr) {
          if (const auto after = TokenAt(offset + found->written.size(), k)) {
            if (money != nullptr) {
              currency = money->reading;
            } else {
              unit = measure->reading;
              per_hour = measure->written == "km/sa" || measure->written == "km/s";
            }
            j = *after;
          }
        }
      }
    }
    if (!currency.empty()) {
      Count(ReadingRule::kMoney);
      changed = true;
      const std::string_view hundredth = CurrencyFraction(currency);
      if (!fraction.empty() && fraction.size() <= 2 && !hundredth.empty()) {
        std::string cents = fraction.size() == 1 ? fraction + "0" : fraction;
        number.push_back({std::string(currency), false});
        if (cents != "00") {
          number.push_back({strip_zeros(cents), true});
          number.push_back({std::string(hundredth), false});
        }
        fraction.clear();
      } else {
        if (!fraction.empty()) {
          number.insert(number.begin() + 1, {{decimal_word, false}, {fraction, true}});
          fraction.clear();
        }
        number.push_back({std::string(currency), false});
      }
    } else if (!unit.empty()) {
      Count(ReadingRule::kUnit);
      changed = true;
      if (per_hour) pieces.push_back({"saatte", false});
    }
    if (!fraction.empty()) {
      number.insert(number.begin() + 1, {{decimal_word, false}, {fraction, true}});
    }
    if (!unit.empty()) number.push_back({std::string(unit), false});
    // 7. kat, 300. yıl: a dot before a lower-case word makes an ordinal.
    if (plain && currency.empty() && unit.empty() && number.size() == 1 && IsChar(j, '.') &&
        IsBlank(j + 1) && IsKind(j + 2, TokenKind::kWord) && tokens_[j + 2].first_lower) {
      pieces.push_back({OrdinalWords(NumberWords(integer)), false});
      Count(ReadingRule::kOrdinal);
      return Finish(i, j + 1, std::move(pieces), true, out);
    }
    for (Piece& piece : number) pieces.push_back(std::move(piece));
    return Finish(i, j, std::move(pieces), changed, out);
  }

  // Writes the pieces of a number's reading, taking a suffix after an apostrophe onto the last
  // one: "7'ye" -> "yediye", "2'nci" -> "ikinci", "1980'lerde" -> "... seksenlerde".
  std::optional<std::size_t> Finish(std::size_t begin, std::size_t j, std::vector<Piece> pieces,
                                    bool changed, std::string& out) {
    if (const auto suffix = SuffixAt(j)) {
      Piece& last = pieces.back();
      std::string words = last.digits ? NumberWords(last.text) : last.text;
      std::string_view rest;
      if (last.digits && SplitOrdinalSuffix(*suffix, rest)) {
        words = OrdinalWords(words);
        if (!rest.empty()) words = AttachSuffix(words, rest);
        Count(ReadingRule::kOrdinal);
      } else {
        words = AttachSuffix(words, *suffix);
        Count(ReadingRule::kSuffix);
      }
      last = {std::move(words), false};
      j += 2;
      changed = true;
    }
    if (!changed) {
      for (std::size_t k = begin; k < j; ++k) AppendToken(tokens_[k], out);
      return j;
    }
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      if (k > 0) out += ' ';
      out += pieces[k].text;
    }
    return j;
  }

  // The lower-case letters after an apostrophe at token j, if that is what follows.
  std::optional<std::string> SuffixAt(std::size_t j) const {
    if (!(IsKind(j, TokenKind::kChar) && IsApostrophe(tokens_[j].cp) &&
          IsKind(j + 1, TokenKind::kWord))) {
      return std::nullopt;
    }
    const Token& suffix = tokens_[j + 1];
    if (!suffix.all_lower && !suffix.all_upper) return std::nullopt;
    return LowerTurkish(TextOf(suffix, line_, escaped_));
  }

  std::optional<std::size_t> ReadWord(std::size_t i, std::string& out) {
    const Token& token = tokens_[i];
    const bool dot_after = IsChar(i + 1, '.');
    const bool apostrophe_after =
        IsKind(i + 1, TokenKind::kChar) && IsApostrophe(tokens_[i + 1].cp);
    const bool capitals = token.letters >= 2 && token.all_upper;
    // Most words: nothing to do.
    if (!dot_after && !apostrophe_after && !capitals && !token.circumflex) return std::nullopt;
    const std::string_view letters = TextOf(token, line_, escaped_);
    // Abbreviations: "Müh." -> "mühendis"; the dot stays where it ends the line. Every one
    // begins with a word of at most five letters and a dot.
    if (dot_after && token.letters <= 5 && !(i > 0 && IsChar(i - 1, '.'))) {
      const Expansion* best = nullptr;
      for (const Expansion& e : Abbreviations()) {
        if ((best == nullptr || e.written.size() > best->written.size()) &&
            MatchesAt(token.begin, e.written)) {
          best = &e;
        }
      }
      if (best != nullptr) {
        if (const auto after = TokenAt(token.begin + best->written.size(), i)) {
          out += best->reading;
          if (RestIsBlank(token.begin + best->written.size())) out += '.';
          Count(ReadingRule::kAbbreviation);
          return *after;
        }
      }
    }
    const std::u32string word = DecodeAll(letters);
    // Roman numerals before a dot and a word: "XVII. yüzyıl", "V. Mehmet".
    if (const int roman = RomanValue(letters);
        dot_after && roman > 0 &&
        (word.size() > 1 || word[0] == 'I' || word[0] == 'V' || word[0] == 'X') && IsBlank(i + 2) &&
        IsKind(i + 3, TokenKind::kWord)) {
      out += OrdinalWords(NumberWords(std::to_string(roman)));
      Count(ReadingRule::kRoman);
      return i + 2;
    }
    // Acronyms: listed ones as the list says; an unknown capital word of two to five letters
    // is spelled when it cannot be a Turkish word.
    if (capitals) {
      const Acronym* known = FindAcronym(letters);
      const bool spelled = known != nullptr ? known->reading == AcronymReading::kSpelled
                                            : (!headline_ && word.size() <= 5 &&
                                               RomanValue(letters) == 0 && LooksSpelled(word));
      if (spelled || known != nullptr) {
        std::string reading = spelled ? Spell(word) : LowerTurkish(letters);
        std::size_t end = i + 1;
        if (const auto suffix = SuffixAt(i + 1)) {
          reading = spelled ? AttachSuffix(reading, *suffix) : reading + *suffix;
          end = i + 3;
          Count(ReadingRule::kSuffix);
        }
        Count(ReadingRule::kAcronym);
        if (!spelled) return WriteWord(DecodeAll(reading), i, end, out);
        out += reading;
        return end;
      }
    }
    // A suffix after an apostrophe joins its word: "Türkiye'de" -> "Türkiyede".
    if (apostrophe_after && SuffixAt(i + 1) && (tokens_[i + 2].all_lower || token.all_upper)) {
      Count(ReadingRule::kSuffix);
      bool circumflex = false;
      for (const char32_t cp : word + DecodeAll(Text(i + 2))) circumflex |= IsCircumflexVowel(cp);
      if (circumflex) return WriteWord(word + DecodeAll(Text(i + 2)), i, i + 3, out);
      out += Raw(i);
      out += Raw(i + 2);
      return i + 3;
    }
    if (token.circumflex) return WriteWord(word, i, i + 1, out);
    return std::nullopt;
  }

  // A word of the reading's own making, with circumflex vowels resolved.
  std::size_t WriteWord(const std::u32string& word, std::size_t /*begin*/, std::size_t end,
                        std::string& out) {
    bool circumflex = false;
    for (const char32_t cp : word) circumflex |= IsCircumflexVowel(cp);
    if (circumflex) {
      out += ReadCircumflexWord(word);
      Count(ReadingRule::kCircumflex);
    } else {
      out += EncodeAll(word);
    }
    return end;
  }

  std::string_view line_;
  std::vector<Token>& tokens_;
  const std::vector<std::string>& escaped_;
  ReadingTrace& trace_;
  // The line has a long capital word or several unknown ones: a heading, not acronyms.
  bool headline_ = false;
  std::string_view currency_before_;
};

// Characters only: what is left when the rules would grow a line beyond the bound.
std::string ReadCharactersOnly(std::string_view line, ReadingTrace& trace) {
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8(line, i, cp);
    if (cp == kInvalidUtf8) {
      out += line[i];
    } else {
      AppendCharacter(cp, out, trace);
    }
    i += len;
  }
  return out;
}

}  // namespace

std::string_view ReadingRuleName(ReadingRule rule) {
  static constexpr std::array<std::string_view, kReadingRuleCount> kNames = {
      "grouped number", "decimal", "percent",  "date",         "time",    "ordinal",
      "roman numeral",  "money",   "unit",     "abbreviation", "acronym", "circumflex",
      "suffix",         "range",   "fraction", "sign"};
  return kNames[static_cast<std::size_t>(rule)];
}

namespace {

// True when some rule may apply to a line: it has a digit, an apostrophe, a percent or dollar
// sign, a backslash, two capitals in a row, a dot after one letter or after the first word of an
// abbreviation, or a character other than ASCII and the twelve Turkish letters. Other lines come
// out unchanged.
// True when word (the letters before a dot) is a single letter (a Roman numeral) or begins an
// abbreviation of the table.
bool MayBeAbbreviation(std::string_view word) {
  if (word.size() <= 2 && !word.empty()) return true;  // one letter, ASCII or Turkish
  for (const Expansion& e : Abbreviations()) {
    if (e.written.substr(0, e.written.find('.')) == word) return true;
  }
  return false;
}

enum ByteClass : unsigned char { kOtherByte, kLowerByte, kUpperByte, kTriggerByte, kDotByte };

constexpr std::array<unsigned char, 128> kAsciiClasses = [] {
  std::array<unsigned char, 128> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kLowerByte;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kUpperByte;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kTriggerByte;
  for (const char c : {'\\', '\'', '%', '$'}) classes[static_cast<unsigned char>(c)] = kTriggerByte;
  classes['.'] = kDotByte;
  return classes;
}();

// The class of the two-byte Turkish letter b0 b1 (Ç Ö Ü ç ö ü, Ğ İ ğ ı, Ş ş), or kTriggerByte.
unsigned char TurkishLetterClass(unsigned char b0, unsigned char b1) {
  switch (b0) {
    case 0xC3:
      if (b1 == 0x87 || b1 == 0x96 || b1 == 0x9C) return kUpperByte;
      if (b1 == 0xA7 || b1 == 0xB6 || b1 == 0xBC) return kLowerByte;
      return kTriggerByte;
    case 0xC4:
      if (b1 == 0x9E || b1 == 0xB0) return kUpperByte;
      if (b1 == 0x9F || b1 == 0xB1) return kLowerByte;
      return kTriggerByte;
    case 0xC5:
      if (b1 == 0x9E) return kUpperByte;
      if (b1 == 0x9F) return kLowerByte;
      return kTriggerByte;
    default:
      return kTriggerByte;
  }
}

bool MayNeedReading(std::string_view line) {
  bool previous_upper = false;
  std::size_t word_letters = 0;
  std::size_t word_start = 0;
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n;) {
    const auto byte = static_cast<unsigned char>(line[i]);
    unsigned char kind;
    std::size_t len = 1;
    if (byte < 0x80) {
      kind = kAsciiClasses[byte];
    } else {
      if (i + 1 >= n) return true;
      kind = TurkishLetterClass(byte, static_cast<unsigned char>(line[i + 1]));
      len = 2;
    }
    switch (kind) {
      case kTriggerByte:
        return true;
      case kDotByte:
        if (word_letters > 0 && word_letters <= 5 &&
            MayBeAbbreviation(line.substr(word_start, i - word_start))) {
          return true;
        }
        [[fallthrough]];
      case kOtherByte:
        word_letters = 0;
        previous_upper = false;
        break;
      default: {
        const bool upper = kind == kUpperByte;
        if (upper && previous_upper) return true;
        previous_upper = upper;
        if (word_letters++ == 0) word_start = i;
      }
    }
    i += len;
  }
  return false;
}

std::string ReadLines(std::string_view utf8, ReadingTrace& trace, bool shortcut) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 4);
  Tokens cut;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    const bool has_feed = end != std::string_view::npos;
    if (!has_feed) end = utf8.size();
    const std::string_view line = utf8.substr(start, end - start);
    if (shortcut && !MayNeedReading(line)) {
      out += line;
    } else {
      ReadingTrace line_trace;
      const std::size_t before = out.size();
      LineReader(line, cut, line_trace).Read(out);
      if (out.size() - before > kMaxReadingGrowth * line.size()) {
        out.resize(before);
        line_trace = {};
        out += ReadCharactersOnly(line, line_trace);
      }
      for (std::size_t k = 0; k < kReadingRuleCount; ++k) trace.uses[k] += line_trace.uses[k];
    }
    if (has_feed) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

std::string ReadTurkish(std::string_view utf8, ReadingTrace& trace) {
  return ReadLines(utf8, trace, true);
}

namespace detail {
std::string ReadEveryLine(std::string_view utf8) {
  ReadingTrace trace;
  return ReadLines(utf8, trace, false);
}
}  // namespace detail

std::string ReadTurkish(std::string_view utf8) {
  ReadingTrace trace;
  return ReadTurkish(utf8, trace);
}

}  // namespace orvanel::reading
