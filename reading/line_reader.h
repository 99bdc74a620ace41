// The reader of one line: the rules of the stage over the line's tokens. Numbers (with their
// dates, times, groups, decimals, units and money) are read in number_reader.cpp, words
// (abbreviations, Roman numerals, acronyms, suffixes, circumflex vowels) in word_reader.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reading/line_tokens.h"
#include "reading/turkish_reading.h"

namespace orvanel::reading {

// One piece of a number's reading: digits the front end reads itself, or words.
struct Piece {
  std::string text;
  bool digits;
};

class LineReader {
 public:
  // cut is working space, overwritten (pass the same one for many lines).
  LineReader(std::string_view line, Tokens& cut, ReadingTrace& trace);

  // Appends the reading of the line to out.
  void Read(std::string& out);

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
    bool per_hour = false;
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
  std::optional<std::size_t> TokenAt(std::size_t offset, std::size_t from) const;
  // True when line_ holds written at offset and no letter or digit follows it.
  bool MatchesAt(std::size_t offset, std::string_view written) const;
  // Only blanks and a carriage return after byte offset.
  bool RestIsBlank(std::size_t offset) const;

  void AppendToken(const Token& token, std::string& out);
  std::optional<std::size_t> TryRules(std::size_t i, std::string& out);

  // number_reader.cpp
  std::optional<std::size_t> ReadSignBeforeNumber(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadNumber(std::size_t i, std::vector<Piece> pieces, std::string& out);
  std::optional<std::size_t> ReadDate(std::size_t i, std::vector<Piece>& pieces, std::string& out);
  std::optional<std::size_t> ReadTime(std::size_t i, std::vector<Piece>& pieces, std::string& out);
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

  // word_reader.cpp
  std::optional<std::size_t> ReadWord(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadAbbreviation(std::size_t i, std::string& out);
  std::optional<std::size_t> ReadAcronym(std::size_t i, const std::u32string& word,
                                         std::string& out);
  // A word of the reading's own making, with circumflex vowels resolved.
  std::size_t WriteWord(const std::u32string& word, std::size_t end, std::string& out);

  std::string_view line_;
  std::vector<Token>& tokens_;
  const std::vector<std::string>& escaped_;
  ReadingTrace& trace_;
  // The line has a long capital word or several unknown ones: a heading, not acronyms.
  bool headline_ = false;
  std::string_view currency_before_;
};

}  // namespace orvanel::reading
