// Words: foreign words, abbreviations, Roman numerals, acronyms, letter groups, suffixes after an
// apostrophe and circumflex vowels.
#include "reading/line_reader.h"
#include "reading/reading_tables.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower;
}

// A byte of a word as the reading writes it: a letter (UTF-8 ones too) or an escape's backslash.
bool IsWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

std::optional<std::size_t> LineReader::ReadWord(std::size_t i, std::string& out) {
  const Token& token = tokens_[i];
  if (token.ascii && MayBeForeignWord(Text(i), foreign_)) {
    if (const auto end = ReadForeignWord(i, out)) return end;
  }
  if (IsBlank(i + 1) && IsKind(i + 2, TokenKind::kWord) && tokens_[i + 2].all_upper) {
    if (const auto end = ReadRomanAfterWord(i, out)) return end;
  }
  // "No: 42" in an address.
  if (token.letters == 2 && IsChar(i + 1, ':') &&
      (IsDigits(i + 2) || (IsBlank(i + 2) && IsDigits(i + 3))) &&
      (Text(i) == "No" || Text(i) == "NO")) {
    out += "numara";
    Count(ReadingRule::kAbbreviation);
    return i + 2;
  }
  const bool dot_after = IsChar(i + 1, '.');
  const bool apostrophe_after = IsKind(i + 1, TokenKind::kChar) && IsApostrophe(tokens_[i + 1].cp);
  const bool capitals = token.letters >= 2 && token.all_upper;
  const bool letter_group = !token.vowel && token.letters >= 2 && !capitals;
  const std::string_view letters = TextOf(token, line_, escaped_);
  if (dot_after) {
    if (const auto end = ReadAbbreviation(i, out)) return end;
    // Roman numerals before a dot and a word: "XVII. yüzyıl", "V. Mehmet".
    if (const int roman = token.all_upper ? RomanValue(letters) : 0;
        roman > 0 && (letters.size() > 1 || letters == "I" || letters == "V" || letters == "X") &&
        IsBlank(i + 2) && IsKind(i + 3, TokenKind::kWord)) {
      out += OrdinalWords(NumberWords(std::to_string(roman)));
      Count(ReadingRule::kRoman);
      return i + 2;
    }
  }
  // Most words: nothing (more) to do.
  if (!apostrophe_after && !capitals && !token.circumflex && !letter_group) return std::nullopt;
  const std::u32string word = DecodeAll(letters);
  if (capitals) {
    if (const auto end = ReadAcronym(i, word, out)) return end;
  }
  if (letter_group) {
    if (const auto end = ReadLetterGroup(i, word, out)) return end;
  }
  if (apostrophe_after) {
    if (const auto end = ReadSuffixedWord(i, word, out)) return end;
  }
  if (token.circumflex) return WriteWord(word, i + 1, out);
  return std::nullopt;
}

// Abbreviations: "Müh." -> "mühendis"; the dot stays where it ends the line. Every one begins
// with a word of at most five letters and a dot. Abbreviations written together are read one
// after the other: "Prof.Dr." -> "profesör doktor", "San.Tic.A.Ş.".
std::optional<std::size_t> LineReader::ReadAbbreviation(std::size_t i, std::string& out) {
  const Token& token = tokens_[i];
  if (token.letters > 5 || (i > 0 && IsChar(i - 1, '.')) || !BeginsAbbreviation(Text(i))) {
    return std::nullopt;
  }
  // Its dot ends an abbreviation: a word may follow at once ("Prof.Dr.", "No.5").
  auto longest_at = [&](std::size_t offset) {
    const Expansion* best = nullptr;
    for (const Expansion& e : Abbreviations()) {
      if ((best == nullptr || e.written.size() > best->written.size()) &&
          line_.compare(offset, e.written.size(), e.written) == 0) {
        best = &e;
      }
    }
    return best;
  };
  const Expansion* best = longest_at(token.begin);
  if (best == nullptr) return std::nullopt;
  std::size_t offset = token.begin + best->written.size();
  auto after = TokenAt(offset, i);
  if (!after) return std::nullopt;
  std::string reading(best->reading);
  while (IsKind(*after, TokenKind::kWord)) {
    const Expansion* next = longest_at(offset);
    const auto next_after =
        next != nullptr ? TokenAt(offset + next->written.size(), *after) : std::nullopt;
    if (!next_after) break;
    reading += ' ';
    reading += next->reading;
    offset += next->written.size();
    after = next_after;
  }
  out += reading;
  if (RestIsBlank(offset) && line_[offset - 1] == '.') {
    out += '.';
  } else if (IsSolid(*after)) {
    out += ' ';  // "Dr.Ahmet", "No.5"
  }
  Count(ReadingRule::kAbbreviation);
  return *after;
}

// A Roman numeral after a word, with no dot. After a noun that is numbered ("Bölüm IV", "Cilt
// II") it is a cardinal: "Bölüm dört". After a name ("Mehmet II", "Henry VIII") it is the
// ordinal of a ruler, which Turkish says first: "ikinci Mehmet". Only I, V, X and L make such a
// numeral, and after a name only one of two letters or more (or "I") up to 39, so that "Vitamin
// C", "Plan B" or "Bay X" stay as they are.
std::optional<std::size_t> LineReader::ReadRomanAfterWord(std::size_t i, std::string& out) {
  const std::size_t r = i + 2;
  const std::string_view numeral = Text(r);
  const int value = RomanValue(numeral);
  if (value == 0 || numeral.find_first_not_of("IVXL") != std::string_view::npos) {
    return std::nullopt;
  }
  const bool noun = WordIn(i, NumberedNouns());
  const Token& name = tokens_[i];
  const bool ruler = !noun && !name.first_lower && !name.all_upper && name.letters >= 2 &&
                     (numeral.size() >= 2 || numeral == "I") && value <= 39;
  if (!noun && !ruler) return std::nullopt;
  // "Bölüm II. Kısım": the dot makes an ordinal of the next word's, left to its own rule.
  if (IsChar(r + 1, '.') && IsBlank(r + 2) && IsKind(r + 3, TokenKind::kWord)) return std::nullopt;
  const auto suffix = SuffixAt(r + 1);
  const std::size_t end = suffix ? r + 3 : r + 1;
  std::string number = NumberWords(std::to_string(value));
  Count(ReadingRule::kRoman);
  if (noun) {
    out += Raw(i);
    out += ' ';
    std::string_view rest;
    if (suffix && SplitOrdinalSuffix(*suffix, rest)) {
      number = OrdinalWords(number);
      if (!rest.empty()) number = AttachSuffix(number, rest);
    } else if (suffix) {
      number = AttachSuffix(number, *suffix);
    }
    out += number;
    return end;
  }
  out += OrdinalWords(number);
  out += ' ';
  out += suffix ? AttachSuffix(Text(i), *suffix) : std::string(Text(i));
  return end;
}

// Acronyms: listed ones as the list says; an unknown capital word of two to five letters is
// spelled when it cannot be a Turkish word. In a heading (capital words side by side) only
// those without a vowel are spelled.
std::optional<std::size_t> LineReader::ReadAcronym(std::size_t i, const std::u32string& word,
                                                   std::string& out) {
  const std::string_view letters = Text(i);
  const Acronym* known = FindAcronym(letters);
  const bool plausible = word.size() <= 5 && RomanValue(letters) == 0;
  const bool spelled = known != nullptr  ? known->reading == AcronymReading::kSpelled
                       : InCapitalRun(i) ? plausible && !tokens_[i].vowel
                                         : plausible && LooksSpelled(word);
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

bool LineReader::InCapitalRun(std::size_t i) const {
  auto capital = [&](std::size_t k) {
    return k < tokens_.size() && tokens_[k].all_upper && tokens_[k].letters >= 2 &&
           FindAcronym(Text(k)) == nullptr;
  };
  return capital(WordBefore(i)) || capital(WordAfter(i));
}

// A word of letters without a vowel, which no Turkish word is ("pdf", "html", "Ctrl"): spelled,
// or a unit's name or an abbreviation's reading when it is one ("km başına", "Dr Ahmet").
// Interjections ("hmm") stay.
std::optional<std::size_t> LineReader::ReadLetterGroup(std::size_t i, const std::u32string& word,
                                                       std::string& out) {
  if (word.size() > 6) return std::nullopt;
  // With a dot it is an abbreviation the table lacks ("sk."), left as it is.
  if (IsChar(i + 1, '.')) return std::nullopt;
  const std::string_view letters = Text(i);
  const std::string lower = LowerTurkish(letters);
  for (const std::string_view interjection : UnspelledWords()) {
    if (lower == interjection) return std::nullopt;
  }
  std::string reading;
  for (const Measure& unit : Units()) {
    if (unit.written == letters && unit.written.size() >= 2 && unit.per.empty()) {
      reading = unit.reading;
    }
  }
  // An abbreviation written without its dot: "Dr Ahmet", "vb".
  for (const Expansion& e : Abbreviations()) {
    if (e.written.size() == letters.size() + 1 && e.written.back() == '.' &&
        e.written.substr(0, letters.size()) == letters) {
      reading = e.reading;
    }
  }
  if (reading.empty()) reading = Spell(word);
  std::size_t end = i + 1;
  if (const auto suffix = SuffixAt(i + 1)) {
    reading = AttachSuffix(reading, *suffix);
    end = i + 3;
  }
  Count(ReadingRule::kAcronym);
  out += reading;
  return end;
}

// A foreign word of the lexicon, as Turkish speakers say it: "WhatsApp'tan" -> "vatsaptan".
std::optional<std::size_t> LineReader::ReadForeignWord(std::size_t i, std::string& out) {
  std::string lower = LowerAscii(Text(i));
  std::size_t end = i + 1;
  const Expansion* found = nullptr;
  if (IsChar(i + 1, '-') && IsKind(i + 2, TokenKind::kWord) && tokens_[i + 2].ascii) {
    found = FindForeignWord(lower + "-" + LowerAscii(Text(i + 2)));  // "e-mail", "Wi-Fi"
    if (found != nullptr) end = i + 3;
  }
  if (found == nullptr) found = FindForeignWord(lower);
  if (found == nullptr) return std::nullopt;
  std::string reading(found->reading);
  if (const auto suffix = SuffixAt(end)) {
    reading += Level() == Punctuation::kAll ? " kesme işareti " + *suffix : *suffix;
    end += 2;
  }
  Count(ReadingRule::kForeignWord);
  out += reading;
  return end;
}

// A suffix after an apostrophe joins its word: "Türkiye'de" -> "Türkiyede". At the punctuation
// level "all" the apostrophe is named: "Türkiye kesme işareti de". The word stays a name to
// word stress: the name mark goes before it.
std::optional<std::size_t> LineReader::ReadSuffixedWord(std::size_t i, const std::u32string& word,
                                                        std::string& out) {
  if (!SuffixAt(i + 1) || !(tokens_[i + 2].all_lower || tokens_[i].all_upper)) {
    return std::nullopt;
  }
  Count(ReadingRule::kSuffix);
  // Before the whole word: a prefix may be written already ("e-Devlet'e" -> "eDevlete").
  std::size_t word_start = out.size();
  while (word_start > 0 && IsWordByte(out[word_start - 1])) --word_start;
  out.insert(word_start, 1, frontend::kNameMark);
  if (Level() == Punctuation::kAll) {
    WriteWord(word, i + 1, out);
    out += " kesme işareti ";
    return WriteWord(DecodeAll(Text(i + 2)), i + 3, out);
  }
  if (tokens_[i].circumflex || tokens_[i + 2].circumflex) {
    return WriteWord(word + DecodeAll(Text(i + 2)), i + 3, out);
  }
  out += Raw(i);
  out += Raw(i + 2);
  return i + 3;
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
