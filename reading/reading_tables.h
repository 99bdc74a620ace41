// The word lists of the reading stage: abbreviations, known acronyms, units, currencies, months.
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

// Abbreviations that end in a dot, longest first where one begins another.
std::span<const Expansion> Abbreviations();
// Acronyms whose reading the general rule would get wrong, and the common ones.
std::span<const Acronym> KnownAcronyms();
// Units of measure written after a number ("km", "°C", "m²"); the reading is the unit's name.
std::span<const Expansion> Units();
// Currency signs and abbreviations, before or after a number; the reading is the currency's
// name. CurrencyFraction names the hundredth ("kuruş", "sent"), or is empty.
std::span<const Expansion> Currencies();
std::string_view CurrencyFraction(std::string_view currency_reading);
// "ocak" to "aralık", by month number 1 to 12 (entry 0 is empty).
std::string_view MonthName(int month);

}  // namespace orvanel::reading
