// The letter tables of the phonetic notation and the three lookups over them.
// All text is Windows-1254 bytes. Upper case is the even index of a letter's pair, lower case the
// odd one; the half-index names a vowel unit (0..7) or a consonant slot (0..23).
#pragma once

namespace orvanel::frontend {

// "AaEeIıİiOoÖöUuÜü": 16 vowels, upper case before lower case.
inline constexpr char kVowelTable[] = "AaEeI\xFD\xDDiOo\xD6\xF6Uu\xDC\xFC";
// "EeİiÖöÜü": membership only.
inline constexpr char kFrontVowelTable[] = "Ee\xDDi\xD6\xF6\xDC\xFC";
// "BbCcÇçDdFfGgĞğHhJjKkLlMmNnPpQqRrSsŞşTtVvWwXxYyZz": 48 consonants.
inline constexpr char kConsonantTable[] =
    "BbCc\xC7\xE7"
    "DdFfGg\xD0\xF0HhJjKkLlMmNnPpQqRrSs\xDE\xFETtVvWwXxYyZz";

// The marks of the phonetic notation: "~" asks for the next consonant's front-vowel sound, "`"
// stresses the most recent vowel, "^" and "|" give it the late and the early pitch glide.
inline constexpr char kFrontMark = '~';
inline constexpr char kStressMark = '`';
inline constexpr char kLateGlideMark = '^';
inline constexpr char kEarlyGlideMark = '|';

inline constexpr int kVowelCount = 16;
inline constexpr int kConsonantCount = 48;
inline constexpr int kConsonantSlotCount = 24;
inline constexpr int kVowelUnitCount = 8;

// VowelIndex of ch (0..15), or -1. "I" (0x49) is 4, "İ" (0xDD) is 6, "ı" (0xFD) 5, "i" 7.
int VowelLookup(char ch) noexcept;
// ConsonantIndex of ch (0..47), or -1. "Ğ" is 12, "ğ" 13, "Q" 28, "x" 43.
int ConsonantLookup(char ch) noexcept;
// 1 when ch is one of "EeİiÖöÜü", else 0.
int IsFrontVowel(char ch) noexcept;

// Case through the tables, never through a locale: the upper case of "i" is "İ", of "ı" is "I".
// Characters outside the vowel and consonant tables come back unchanged.
char ToUpperLetter(char ch) noexcept;
char ToLowerLetter(char ch) noexcept;

}  // namespace orvanel::frontend
