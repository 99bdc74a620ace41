// What the module says for a single character, a key or a sound icon, for spelling, and for
// punctuation at each punctuation level: Turkish names as UTF-8 text for the synthesizer.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::speechd {

enum class PunctuationMode { kNone, kSome, kMost, kAll };

// "ğ" -> "yumuşak ge", "Ş" -> "büyük şe" (capitals on) or "şe", "7" -> "yedi", "?" -> "soru
// işareti", "space" or " " -> "boşluk". A character without a name comes back as it is.
std::string CharacterName(std::string_view utf8Character, bool capitals);

// "enter" -> "giriş", "shift_a" -> "üst karakter a", "f5" -> "fe beş"; unknown names are spelled.
std::string KeyName(std::string_view key);

// "message-new" -> "message new": the icon's name with its separators read as blanks.
std::string SoundIconName(std::string_view icon);

// Every character of text by its name, separated by commas so that each is read on its own:
// "Ab" -> "a, be" ("büyük a, be" with capitals on). Blanks between words become "boşluk".
std::string SpellText(std::string_view text, bool capitals);

// The text as the punctuation level reads it. kSome leaves it to the front end, which names its
// own nineteen symbols; kMost also names the symbols it does not, except the marks of ordinary
// prose (. , ! ? '); kAll names every mark, keeping . , ! ? behind the name for the intonation;
// kNone blanks out the front end's symbols unless they touch a digit ("%50", "3-5" stay).
std::string ApplyPunctuation(std::string_view text, PunctuationMode mode);

}  // namespace orvanel::speechd
