// Number words, ordinals, letter names and suffix fitting.
#include "reading/turkish_words.h"

#include <array>

#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

constexpr std::array<std::string_view, 10> kOnes = {"sıfır", "bir",  "iki",  "üç",    "dört",
                                                    "beş",   "altı", "yedi", "sekiz", "dokuz"};
constexpr std::array<std::string_view, 10> kTens = {"",     "on",     "yirmi",  "otuz",   "kırk",
                                                    "elli", "altmış", "yetmiş", "seksen", "doksan"};
constexpr std::array<std::string_view, 5> kScales = {"", "bin", "milyon", "milyar", "trilyon"};
constexpr std::size_t kMaxWordDigits = 3 * kScales.size();

void AddWord(std::string& out, std::string_view word) {
  if (word.empty()) return;
  if (!out.empty()) out += ' ';
  out += word;
}

bool IsVoiceless(char32_t cp) {
  // f s t k ç ş h p
  return cp == U'f' || cp == U's' || cp == U't' || cp == U'k' || cp == U'ç' || cp == U'ş' ||
         cp == U'h' || cp == U'p';
}

bool IsHighVowel(char32_t cp) { return cp == U'ı' || cp == U'i' || cp == U'u' || cp == U'ü'; }

char32_t HighVowelAfter(char32_t vowel) {
  if (IsBackVowel(vowel)) return IsRoundedVowel(vowel) ? U'u' : U'ı';
  return IsRoundedVowel(vowel) ? U'ü' : U'i';
}

char32_t LowVowelAfter(char32_t vowel) { return IsBackVowel(vowel) ? U'a' : U'e'; }

}  // namespace

std::string NumberWords(std::string_view digits) {
  std::string out;
  if (digits.empty()) return out;
  if ((digits.size() > 1 && digits[0] == '0') || digits.size() > kMaxWordDigits) {
    for (const char d : digits) AddWord(out, kOnes[static_cast<std::size_t>(d - '0') % 10]);
    return out;
  }
  const std::size_t groups = (digits.size() + 2) / 3;
  std::size_t start = 0;
  std::size_t first = digits.size() - 3 * (groups - 1);
  for (std::size_t g = 0; g < groups; ++g) {
    const std::size_t len = g == 0 ? first : 3;
    int value = 0;
    for (std::size_t k = 0; k < len; ++k) value = value * 10 + (digits[start + k] - '0');
    start += len;
    const std::size_t scale = groups - 1 - g;
    if (value == 0) continue;
    const int h = value / 100, t = value / 10 % 10, u = value % 10;
    if (h > 1) AddWord(out, kOnes[h]);
    if (h > 0) AddWord(out, "yüz");
    if (t > 0) AddWord(out, kTens[t]);
    // One thousand is "bin", never "bir bin"; higher scales keep "bir".
    if (u > 0 && !(scale == 1 && value == 1)) AddWord(out, kOnes[u]);
    AddWord(out, kScales[scale]);
  }
  if (out.empty()) out = kOnes[0];
  return out;
}

bool SplitOrdinalSuffix(std::string_view suffix, std::string_view& rest) {
  std::u32string s = DecodeAll(suffix);
  std::size_t i = 0;
  if (i < s.size() && IsHighVowel(s[i])) ++i;
  if (i + 2 < s.size() + 0 && s[i] == U'n' && s[i + 1] == U'c' && IsHighVowel(s[i + 2])) {
    const std::string head = EncodeAll(std::u32string_view(s).substr(0, i + 3));
    rest = suffix.substr(head.size());
    return true;
  }
  return false;
}

std::string AttachSuffix(std::string_view reading, std::string_view suffix) {
  std::u32string word = DecodeAll(reading);
  std::u32string s = DecodeAll(LowerTurkish(suffix));
  if (word.empty()) return EncodeAll(s);
  if (s.empty()) return std::string(reading);
  char32_t last_vowel = U'e';
  for (const char32_t cp : word) {
    if (IsTurkishVowel(cp)) last_vowel = ToLowerTurkish(cp);
  }
  const char32_t last = ToLowerTurkish(word.back());
  const bool ends_in_vowel = IsTurkishVowel(last);
  const bool starts_with_vowel = IsTurkishVowel(s[0]);
  // The buffer consonant: "y" before a vowel, "n" for the genitive and the ordinal "nci".
  if (ends_in_vowel && starts_with_vowel) {
    const bool ordinal = s.size() >= 3 && IsHighVowel(s[0]) && s[1] == U'n' && s[2] == U'c';
    const bool genitive = s.size() >= 2 && IsHighVowel(s[0]) && s[1] == U'n' &&
                          (s.size() == 2 || !IsTurkishVowel(s[2]));
    if (ordinal) {
      s.erase(0, 1);
    } else {
      s.insert(s.begin(), genitive ? U'n' : U'y');
    }
  } else if (!ends_in_vowel && s.size() >= 2 && IsTurkishVowel(s[1])) {
    const bool genitive = s[0] == U'n' && IsHighVowel(s[1]) && s.size() >= 3 && s[2] == U'n';
    if (s[0] == U'y' || genitive) s.erase(0, 1);
  } else if (!ends_in_vowel && s.size() >= 2 && s[0] == U'n' && s[1] == U'c') {
    s.insert(s.begin(), U'i');
  }
  // "d" and "c" at the start follow the voicing of the word's last sound.
  if (!IsTurkishVowel(s[0]) && s.size() >= 2) {
    const bool voiceless = !ends_in_vowel && IsVoiceless(last);
    if (s[0] == U'd' || s[0] == U't') s[0] = voiceless ? U't' : U'd';
    if (s[0] == U'c' || s[0] == U'ç') s[0] = voiceless ? U'ç' : U'c';
  }
  // Harmony: each vowel follows the one before it; "o" and "ö" (as in "-yor") stay; a final
  // "ki" never changes.
  std::size_t harmony_end = s.size();
  if (s.size() >= 2 && s[s.size() - 2] == U'k' && s.back() == U'i') harmony_end = s.size() - 1;
  char32_t previous = last_vowel;
  for (std::size_t i = 0; i < harmony_end; ++i) {
    char32_t& cp = s[i];
    if (cp == U'a' || cp == U'e') {
      cp = LowVowelAfter(previous);
    } else if (IsHighVowel(cp)) {
      cp = HighVowelAfter(previous);
    }
    if (IsTurkishVowel(cp)) previous = cp;
  }
  // "dört" softens before a vowel: "dördü", "dördüncü".
  if (IsTurkishVowel(s[0]) && word.size() >= 4 && word.substr(word.size() - 4) == U"dört") {
    word.back() = U'd';
  }
  return EncodeAll(word) + EncodeAll(s);
}

std::string OrdinalWords(std::string_view reading) { return AttachSuffix(reading, "inci"); }

std::string_view LetterName(char32_t letter) {
  switch (ToLowerTurkish(letter)) {
    case U'a':
      return "a";
    case U'b':
      return "be";
    case U'c':
      return "ce";
    case U'ç':
      return "çe";
    case U'd':
      return "de";
    case U'e':
      return "e";
    case U'f':
      return "fe";
    case U'g':
      return "ge";
    case U'ğ':
      return "yumuşak ge";
    case U'h':
      return "he";
    case U'ı':
      return "ı";
    case U'i':
      return "i";
    case U'j':
      return "je";
    case U'k':
      return "ke";
    case U'l':
      return "le";
    case U'm':
      return "me";
    case U'n':
      return "ne";
    case U'o':
      return "o";
    case U'ö':
      return "ö";
    case U'p':
      return "pe";
    case U'q':
      return "kü";
    case U'r':
      return "re";
    case U's':
      return "se";
    case U'ş':
      return "şe";
    case U't':
      return "te";
    case U'u':
      return "u";
    case U'ü':
      return "ü";
    case U'v':
      return "ve";
    case U'w':
      return "dabılyu";
    case U'x':
      return "iks";
    case U'y':
      return "ye";
    case U'z':
      return "ze";
    case U'â':
      return "a";
    case U'î':
      return "i";
    case U'û':
      return "u";
    default:
      return {};
  }
}

}  // namespace orvanel::reading
