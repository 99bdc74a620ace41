// Words: abbreviations, Roman numerals, acronyms, suffixes after an apostrophe and circumflex
// vowels.
#include "reading/line_reader.h"
#include "reading/reading_tables.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

std::optional<std::size_t> LineReader::ReadWord(std::size_t i, std::string& out) {
  const Token& token = tokens_[i];
  const bool dot_after = IsChar(i + 1, '.');
  const bool apostrophe_after = IsKind(i + 1, TokenKind::kChar) && IsApostrophe(tokens_[i + 1].cp);
  const bool capitals = token.letters >= 2 && token.all_upper;
  // Most words: nothing to do.
  if (!dot_after && !apostrophe_after && !capitals && !token.circumflex) return std::nullopt;
  const std::string_view letters = TextOf(token, line_, escaped_);
  if (dot_after) {
    if (const auto end = ReadAbbreviation(i, out)) return end;
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
  if (capitals) {
    if (const auto end = ReadAcronym(i, word, out)) return end;
  }
  // A suffix after an apostrophe joins its word: "Türkiye'de" -> "Türkiyede".
  if (apostrophe_after && SuffixAt(i + 1) && (tokens_[i + 2].all_lower || token.all_upper)) {
    Count(ReadingRule::kSuffix);
    bool circumflex = false;
    for (const char32_t cp : word + DecodeAll(Text(i + 2))) circumflex |= IsCircumflexVowel(cp);
    if (circumflex) return WriteWord(word + DecodeAll(Text(i + 2)), i + 3, out);
    out += Raw(i);
    out += Raw(i + 2);
    return i + 3;
  }
  if (token.circumflex) return WriteWord(word, i + 1, out);
  return std::nullopt;
}

// Abbreviations: "Müh." -> "mühendis"; the dot stays where it ends the line. Every one begins
// with a word of at most five letters and a dot.
std::optional<std::size_t> LineReader::ReadAbbreviation(std::size_t i, std::string& out) {
  const Token& token = tokens_[i];
  if (token.letters > 5 || (i > 0 && IsChar(i - 1, '.'))) return std::nullopt;
  const Expansion* best = nullptr;
  for (const Expansion& e : Abbreviations()) {
    if ((best == nullptr || e.written.size() > best->written.size()) &&
        MatchesAt(token.begin, e.written)) {
      best = &e;
    }
  }
  if (best == nullptr) return std::nullopt;
  const auto after = TokenAt(token.begin + best->written.size(), i);
  if (!after) return std::nullopt;
  out += best->reading;
  if (RestIsBlank(token.begin + best->written.size())) out += '.';
  Count(ReadingRule::kAbbreviation);
  return *after;
}

// Acronyms: listed ones as the list says; an unknown capital word of two to five letters is
// spelled when it cannot be a Turkish word.
std::optional<std::size_t> LineReader::ReadAcronym(std::size_t i, const std::u32string& word,
                                                   std::string& out) {
  const std::string_view letters = Text(i);
  const Acronym* known = FindAcronym(letters);
  const bool spelled = known != nullptr ? known->reading == AcronymReading::kSpelled
                                        : (!headline_ && word.size() <= 5 &&
                                           RomanValue(letters) == 0 && LooksSpelled(word));
  if (!spelled && known == nullptr) return std::nullopt;
  std::string reading = spelled ? Spell(word) : LowerTurkish(letters);
  std::size_t end = i + 1;
  if (const auto suffix = SuffixAt(i + 1)) {
    reading = spelled ? AttachSuffix(reading, *suffix) : reading + *suffix;
    end = i + 3;
    Count(ReadingRule::kSuffix);
  }
  Count(ReadingRule::kAcronym);
  if (!spelled) return WriteWord(DecodeAll(reading), end, out);
  out += reading;
  return end;
}

std::size_t LineReader::WriteWord(const std::u32string& word, std::size_t end, std::string& out) {
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

}  // namespace orvanel::reading
