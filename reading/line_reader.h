// The reader of one line: the rules of the stage over the line's tokens. Numbers (with their
// dates, groups, decimals, units and money) are read in number_reader.cpp, times, ordinals,
// versions and phone numbers in number_context.cpp, words (abbreviations, Roman numerals,
// acronyms, foreign words, suffixes, circumflex vowels) in word_reader.cpp, punctuation and signs
// in punctuation_reader.cpp, file names and web and e-mail addresses in screen_text_reader.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/phrase_marks.h"
#include "reading/line_tokens.h"
#include "reading/turkish_reading.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

// The value of the first four digits.
inline int ValueOf(std::string_view digits) {
  int value = 0;
  for (const char ch : digits.substr(0, 4)) value = value * 10 + (ch - '0');
  return value;
}

inline std::string WithoutLeadingZeros(std::string_view view) {
  while (view.size() > 1 && view[0] == '0') view.remove_prefix(1);
  return std::string(view);
}

// One piece of a number's reading: digits the front end reads itself, or words.
struct Piece {
  std::string text;
  bool digits;
};

class LineReader {
 public:
  // cut is working space, overwritten (pass the same one for many lines).
  LineReader(std::string_view line, Tokens& cut, ReadingTrace& trace,
             const ReadingOptions& options);

  // Appends the reading of the line to out. Returns where in out its first phrase mark is, or
  // std::string::npos.
  std::size_t Read(std::string& out);

 private:
  // The state of a number being read: its tokens from i to j, its pieces so far.
  struct Number {
    std::size_t i = 0;
    std::size_t j = 0;
    std::vector<Piece> pieces;
    bool prefixed = false;  // a sign or currency before it
    bool changed = false;
    std::string integer;
    std::string fraction;
    std::string decimal_word = "virgül";
  };
  // A unit or currency after a number.
  struct Quantity {
    std::string_view currency;
    std::string_view unit;
    std::string_view per;  // "saatte" before a rate
  };

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
  // A word or a digit run: something said.
  bool IsSolid(std::size_t i) const {
    return IsKind(i, TokenKind::kWord) || IsKind(i, TokenKind::kDigits);
  }
  // A word with a capital first letter.
  bool IsCapitalized(std::size_t i) const {
    return IsKind(i, TokenKind::kWord) && !tokens_[i].first_lower;
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
  Punctuation Level() const { return options_.punctuation; }

  // The word one blank before token i, or after it; tokens_.size() when there is none.
  std::size_t WordBefore(std::size_t i) const;
  std::size_t WordAfter(std::size_t i) const;
  // True when token i is a word whose lower case is in the list.
  bool WordIn(std::size_t i, std::span<const std::string_view> words) const;
  // The index of the token that begins at byte offset, if one does.
  std::optional<std::size_t> TokenAt(std::size_t offset, std::size_t from) const;
  // True when line_ holds written at offset and no letter or digit follows it; with
  // any_case, ASCII letters match in either case.
  bool MatchesAt(std::size_t offset, std::string_view written, bool any_case = false) const;
  // Only blanks and a carriage return after byte offset.
  bool RestIsBlank(std::size_t offset) const;

  void AppendToken(const Token& token, std::string& out);
  std::optional<std::size_t> TryRules(std::size_t i, std::string& out);

  // number_reader.cpp
  std::optional<std::size_t> ReadSignBeforeNumber(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadNumber(std::size_t i, std::vector<Piece> pieces, std::string& out);
  std::optional<std::size_t> ReadDate(std::size_t i, std::vector<Piece>& pieces, std::string& out);
  void ReadGroups(Number& n);
  void ReadDecimals(Number& n);
  std::optional<std::size_t> ReadRangeOrFraction(Number& n, std::string& out);
  std::optional<std::size_t> ReadQuantity(Number& n, std::string& out);
  Quantity FindQuantity(Number& n) const;
  void AddCurrency(Number& n, std::string_view currency, std::vector<Piece>& number);
  // Writes the pieces of a number's reading, taking a suffix after an apostrophe onto the last
  // one: "7'ye" -> "yediye", "2'nci" -> "ikinci", "1980'lerde" -> "... seksenlerde".
  std::optional<std::size_t> Finish(std::size_t begin, std::size_t j, std::vector<Piece> pieces,
                                    bool changed, std::string& out);
  // The lower-case letters after an apostrophe at token j, if that is what follows.
  std::optional<std::string> SuffixAt(std::size_t j) const;

  // number_context.cpp
  std::optional<std::size_t> ReadTime(std::size_t i, std::vector<Piece>& pieces, std::string& out);
  bool DotTimeContext(std::size_t i) const;
  // The number at i, read up to token j, is an ordinal: "7. kat", "3. Murat", "15.yüzyılda".
  bool OrdinalDotAt(std::size_t i, std::size_t j) const;
  std::optional<std::size_t> ReadDottedChain(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadPhone(std::size_t i, std::string& out);

  // word_reader.cpp
  std::optional<std::size_t> ReadWord(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadAbbreviation(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadRomanAfterWord(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadAcronym(std::size_t i, const std::u32string& word,
                                         std::string& out);
  std::optional<std::size_t> ReadForeignWord(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadLetterGroup(std::size_t i, const std::u32string& word,
                                             std::string& out);
  std::optional<std::size_t> ReadSuffixedWord(std::size_t i, const std::u32string& word,
                                              std::string& out);
  // A capital word next to another, across one blank: a heading, not acronyms.
  bool InCapitalRun(std::size_t i) const;
  // A word of the reading's own making, with circumflex vowels resolved.
  std::size_t WriteWord(const std::u32string& word, std::size_t end, std::string& out);

  // punctuation_reader.cpp
  std::optional<std::size_t> ReadPunctuation(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadHyphen(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadSlash(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadSign(std::size_t i, std::string& out);
  // Between two operands (numbers, single letters), with or without blanks: "3 + 4", "x*y".
  bool BetweenOperands(std::size_t i) const;
  // A run of three or more of the character at i: decoration ("-----", "*****").
  std::size_t RunOfSame(std::size_t i) const;
  // Writes a mark, with the name of the character before it at the punctuation level "all".
  std::size_t WriteMark(std::size_t i, frontend::PhraseBreak boundary, std::string& out,
                        std::size_t end = 0);
  // Writes a joint between two words: a blank, or the character's name at "all".
  std::size_t WriteJoint(std::size_t i, std::string& out);
  void WriteName(std::string_view name, std::string& out);
  // A blank when the token next is glued to what was just written.
  void BlankBefore(std::size_t next, std::string& out) const;

  // screen_text_reader.cpp
  std::optional<std::size_t> ReadScreenText(std::size_t i, std::string& out);
  std::string ReadScreenPart(std::string_view part, bool extension) const;

  std::string_view line_;
  std::vector<Token>& tokens_;
  const std::vector<std::string>& escaped_;
  ReadingTrace& trace_;
  const ReadingOptions& options_;
  std::string_view currency_before_;
  const ForeignCandidateBits& foreign_;
  std::size_t first_mark_ = std::string::npos;
};

}  // namespace orvanel::reading
