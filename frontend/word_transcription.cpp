#include "frontend/word_transcription.h"

#include <array>

#include "frontend/letter_tables.h"
#include "frontend/unit_names.h"

namespace orvanel::frontend {
namespace {

constexpr char kSoftGUpper = '\xD0';
constexpr char kSoftGLower = '\xF0';
constexpr char kNoVowel = '\0';

bool IsVowel(char ch) noexcept { return VowelLookup(ch) >= 0; }
bool IsConsonant(char ch) noexcept { return ConsonantLookup(ch) >= 0; }
bool IsUpperLetter(int index) noexcept { return index % 2 == 0; }

// Bytes of consonants whose slot is front-marked, from the unit names.
constexpr std::array<bool, 256> BuildFrontMarkedBytes() {
  std::array<bool, 256> marked{};
  for (int c = 0; c < kConsonantCount; ++c) {
    marked[static_cast<unsigned char>(kConsonantTable[c])] = IsFrontMarkedSlot(c / 2);
  }
  return marked;
}

constexpr auto kFrontMarkedBytes = BuildFrontMarkedBytes();

// Scans the syllable that starts at position (which must be inside the word and not a zero
// byte) and returns the index just past it.
std::size_t SyllableEnd(std::string_view word, std::size_t position, char& deciding_vowel) {
  deciding_vowel = IsVowel(word[position]) ? word[position] : kNoVowel;
  ++position;
  while (position < word.size() && word[position] != '\0') {
    const char ch = word[position];
    if (const int v = VowelLookup(ch); v >= 0) {
      deciding_vowel = ch;
      if (IsUpperLetter(v)) break;
    } else if (const int c = ConsonantLookup(ch); c >= 0 && IsUpperLetter(c)) {
      break;
    }
    ++position;
  }
  return position;
}

void AppendSyllable(std::string_view syllable, char deciding_vowel, std::string& out) {
  if (deciding_vowel == kNoVowel || !IsFrontVowel(deciding_vowel)) {
    out.append(syllable);
    return;
  }
  for (const char ch : syllable) {
    if (kFrontMarkedBytes[static_cast<unsigned char>(ch)]) out.push_back(kFrontMark);
    out.push_back(ch);
  }
}

}  // namespace

void AppendRewrittenLetters(std::string_view word, std::string& out) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char ch = word[i];
    if (ch == 'X' || ch == 'x') {
      out.push_back(ch == 'X' ? 'K' : 'k');
      out.push_back('s');
    } else if (ch == kSoftGUpper || ch == kSoftGLower) {
      // Lengthens the vowel typed before it; after anything else it leaves no trace.
      if (i > 0 && IsVowel(word[i - 1])) {
        out.push_back(word[i - 1]);
        out.push_back(kLateGlideMark);
      }
    } else {
      out.push_back(ch);
    }
  }
}

std::string RewriteLetters(std::string_view word) {
  std::string result;
  AppendRewrittenLetters(word, result);
  return result;
}

void MarkSyllables(std::string& word) {
  const std::size_t n = word.size();
  // Decisions look only at whether neighbours are consonants, which no case change alters.
  for (std::size_t p = 0; p < n; ++p) {
    const char ch = word[p];
    if (IsConsonant(ch)) {
      const bool onset = p == 0 || (p + 1 < n && !IsConsonant(word[p + 1]));
      word[p] = onset ? ToUpperLetter(ch) : ToLowerLetter(ch);
    } else if (IsVowel(ch)) {
      if (p == 0 || !IsConsonant(word[p - 1])) word[p] = ToUpperLetter(ch);
    }
  }
}

bool NextSyllable(std::string_view word, std::size_t& position, std::string& syllable,
                  char& deciding_vowel) {
  deciding_vowel = kNoVowel;
  if (position >= word.size() || word[position] == '\0') return false;
  const std::size_t end = SyllableEnd(word, position, deciding_vowel);
  syllable.assign(word.substr(position, end - position));
  position = end;
  return true;
}

std::string FrontMarkConsonant(int consonant_index, char letter) {
  std::string result;
  if (consonant_index >= 0 && IsFrontMarkedSlot(consonant_index / 2)) result.push_back(kFrontMark);
  result.push_back(letter);
  return result;
}

void AppendFrontMarked(std::string_view word, std::string& out) {
  std::size_t position = 0;
  while (position < word.size() && word[position] != '\0') {
    char deciding_vowel = kNoVowel;
    const std::size_t end = SyllableEnd(word, position, deciding_vowel);
    AppendSyllable(word.substr(position, end - position), deciding_vowel, out);
    position = end;
  }
}

std::string MarkFrontConsonants(std::string_view word) {
  std::string result;
  AppendFrontMarked(word, result);
  return result;
}

void AppendTranscribedWord(std::string_view word, std::string& scratch, std::string& out) {
  scratch.clear();
  AppendRewrittenLetters(word, scratch);
  MarkSyllables(scratch);
  AppendFrontMarked(scratch, out);
}

std::string TranscribeWord(std::string_view word) {
  std::string scratch;
  std::string result;
  AppendTranscribedWord(word, scratch, result);
  return result;
}

}  // namespace orvanel::frontend
