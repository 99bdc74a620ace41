// Roman numerals, acronyms and circumflex words.
#include "reading/word_forms.h"

#include <algorithm>
#include <bitset>
#include <utility>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/letter_tables.h"
#include "frontend/word_transcription.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

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

// Where the front end's transcription of typed puts the letter of each marked typed letter: x
// gives two letters, a soft g after a vowel one (the vowel again), any other soft g none.
std::vector<std::size_t> TranscribedPositions(const std::string& typed,
                                              const std::vector<bool>& palatal) {
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
  return wanted;
}

}  // namespace

const ForeignCandidateBits& ForeignCandidates() {
  static const ForeignCandidateBits kCandidates = [] {
    ForeignCandidateBits bits;
    for (const Expansion& e : ForeignWords()) {
      bits.set(ForeignCandidateBit(e.written.substr(0, e.written.find('-'))));
    }
    return bits;
  }();
  return kCandidates;
}

bool BeginsAbbreviation(std::string_view word) {
  static const std::vector<std::string_view> kFirstWords = [] {
    std::vector<std::string_view> words;
    for (const Expansion& e : Abbreviations()) {
      words.push_back(e.written.substr(0, e.written.find('.')));
    }
    std::sort(words.begin(), words.end());
    return words;
  }();
  return std::binary_search(kFirstWords.begin(), kFirstWords.end(), word);
}

const Expansion* FindForeignWord(std::string_view lower) {
  const std::span<const Expansion> words = ForeignWords();
  const auto found =
      std::lower_bound(words.begin(), words.end(), lower,
                       [](const Expansion& e, std::string_view word) { return e.written < word; });
  return found != words.end() && found->written == lower ? &*found : nullptr;
}

const Acronym* FindAcronym(std::string_view word) {
  for (const Acronym& acronym : KnownAcronyms()) {
    if (acronym.written == word) return &acronym;
  }
  return nullptr;
}

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
  const std::vector<std::size_t> wanted = TranscribedPositions(typed, palatal);
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

}  // namespace orvanel::reading
