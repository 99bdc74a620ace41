// The word lists of the reading stage: abbreviations, acronyms, units, currencies, months, the
// words around ordinals, Roman numerals and times, foreign words, and the parts of file names
// and web addresses. The lists live in reading/tables/, one file each; reading/tables/README.md
// says where each comes from.
#pragma once

#include <span>
#include <string_view>

namespace orvanel::reading {

struct Expansion {
  std::string_view written;  // UTF-8, as it stands in text (an abbreviation with its dots)
  std::string_view reading;  // lower-case UTF-8 words
};

enum class AcronymReading { kSpelled, kWord };

struct Acronym {
  std::string_view written;  // upper-case UTF-8
  AcronymReading reading;
};

// A unit of measure: its name, and for a rate the word said before the number ("saatte 90
// kilometre").
struct Measure {
  std::string_view written;
  std::string_view reading;
  std::string_view per = {};
};

// Abbreviations that end in a dot, longest first where one begins another.
std::span<const Expansion> Abbreviations();
// Acronyms whose reading the general rule would get wrong, and the common ones.
std::span<const Acronym> KnownAcronyms();
// Units of measure written after a number ("km", "°C", "m²", "kWh", "µg").
std::span<const Measure> Units();
// Currency signs and abbreviations, before or after a number; the reading is the currency's
// name. CurrencyFraction names the hundredth ("kuruş", "sent"), or is empty.
std::span<const Expansion> Currencies();
std::string_view CurrencyFraction(std::string_view currency_reading);
// "ocak" to "aralık", by month number 1 to 12 (entry 0 is empty).
std::string_view MonthName(int month);

// Words around numbers, all lower case (compare with LowerTurkish of the text):
// nouns that follow an ordinal with a capital ("3. Cadde", "5. Murat");
std::span<const std::string_view> OrdinalHeads();
// words that begin a sentence, so that "5. Sonra" is a number at a sentence end;
std::span<const std::string_view> SentenceStarters();
// words after which a number is counted, never an ordinal ("Saat 5.", "sayfa 12.");
std::span<const std::string_view> CountingWords();
// nouns numbered by a Roman numeral read as a cardinal ("Bölüm IV" -> "Bölüm dört");
std::span<const std::string_view> NumberedNouns();
// words of the time of day before a time written with a dot ("akşam 19.15").
std::span<const std::string_view> TimeOfDayWords();

// Foreign words and brands as Turkish speakers say them; written is lower-case ASCII and
// matches the word in any case ("WhatsApp", "whatsapp").
std::span<const Expansion> ForeignWords();
// Lower-case words without a vowel that are said, not spelled ("hmm").
std::span<const std::string_view> UnspelledWords();

// File name extensions (lower-case) with their reading ("pdf" -> "pe de fe").
std::span<const Expansion> FileExtensions();
// Parts of web addresses with a reading of their own ("www", "com", "tr"); the last part of a
// domain must be one of the top-level domains among them.
std::span<const Expansion> WebWords();
bool IsTopLevelDomain(std::string_view lower);

// The Turkish name of an ASCII punctuation mark or sign ("(" -> "parantez aç"), or empty.
std::string_view SignName(char32_t cp);
// A quotation mark, straight or typographic (and the guillemets).
bool IsQuote(char32_t cp);

}  // namespace orvanel::reading
