// Turkish words the reading stage writes: number words, ordinals, spelled letters, and suffixes
// fitted to a new reading (vowel harmony, buffer consonants, d/t after voiceless consonants and
// the softening of "dört"). All text is lower-case UTF-8 with words between single blanks.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::reading {

// "3750000" -> "üç milyon yedi yüz elli bin", "1000" -> "bin", "0" -> "sıfır"; a string that
// begins with "0" (and is longer than one digit) or has more than 15 digits digit by digit:
// "05" -> "sıfır beş".
std::string NumberWords(std::string_view digits);

// The ordinal of a reading: its last word takes "-(i)nci": "yedi" -> "yedinci",
// "üç yüz" -> "üç yüzüncü", "dört" -> "dördüncü".
std::string OrdinalWords(std::string_view reading);

// Appends a suffix to the last word of a reading so that it fits that word: the buffer
// consonant follows the word's last sound, the vowels follow harmony, "d"/"c" become "t"/"ç"
// after a voiceless consonant, and "dört" softens before a vowel. "beş" + "e" -> "beşe",
// "altı" + "a" -> "altıya", "dört" + "ü" -> "dördü", "lira" + "ye" -> "liraya",
// "üç" + "de" -> "üçte", "iki" + "nci" -> "ikinci".
std::string AttachSuffix(std::string_view reading, std::string_view suffix);

// True when a suffix (lower-case) begins with the ordinal ending: "nci", "üncü", "inci", "ıncı".
// Sets rest to what follows the ordinal ending ("üncüsü" -> "sü").
bool SplitOrdinalSuffix(std::string_view suffix, std::string_view& rest);

// The Turkish name of one upper- or lower-case letter, for spelling: "B" -> "be", "K" -> "ke",
// "İ" -> "i"; empty for a character that is not a letter.
std::string_view LetterName(char32_t letter);

}  // namespace orvanel::reading
