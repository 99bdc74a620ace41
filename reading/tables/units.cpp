// Units of measure, currencies and months. Units: the SI units and their Turkish names as the
// Turkish Standards Institution (TSE) and school science books write them (metre, gram, litre,
// saniye, vat, volt, hertz, paskal), with the prefixes kilo, mega, giga, mili, mikro, nano; the
// units of weather, markets, medicine and technology that Turkish news writes after numbers
// (kWh, mmHg, kcal, GB, Mbps). Only those that cannot be misread as a word after a number are
// listed: no "A" (amper), "t" (ton), "mi" (mil, also the question particle). Currencies: the
// Turkish lira and the currencies of market news.
#include <array>

#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

// clang-format off
constexpr Measure kUnits[] = {
    // Rates.
    {"km/sa", "kilometre", "saatte"}, {"km/s", "kilometre", "saatte"},
    {"km/h", "kilometre", "saatte"}, {"m/sn", "metre", "saniyede"}, {"m/s", "metre", "saniyede"},
    // Length, area, volume.
    {"km²", "kilometrekare"}, {"m²", "metrekare"}, {"m³", "metreküp"},
    {"cm²", "santimetrekare"}, {"cm³", "santimetreküp"}, {"mm²", "milimetrekare"},
    {"km", "kilometre"}, {"cm", "santimetre"}, {"mm", "milimetre"}, {"m", "metre"},
    {"µm", "mikrometre"}, {"μm", "mikrometre"}, {"nm", "nanometre"}, {"ha", "hektar"},
    {"lt", "litre"}, {"ml", "mililitre"}, {"mL", "mililitre"}, {"cl", "santilitre"},
    {"dl", "desilitre"}, {"l", "litre"}, {"L", "litre"},
    // Mass.
    {"kg", "kilogram"}, {"gr", "gram"}, {"g", "gram"}, {"mg", "miligram"},
    {"µg", "mikrogram"}, {"μg", "mikrogram"}, {"ng", "nanogram"},
    // Temperature, pressure, energy, power.
    {"°C", "derece"}, {"°F", "derece fahrenhayt"}, {"°", "derece"},
    {"mmHg", "milimetre cıva"}, {"hPa", "hektopaskal"}, {"kPa", "kilopaskal"},
    {"kcal", "kilokalori"}, {"cal", "kalori"}, {"kWh", "kilovatsaat"},
    {"MWh", "megavatsaat"}, {"GWh", "gigavatsaat"}, {"kW", "kilovat"}, {"MW", "megavat"},
    {"GW", "gigavat"}, {"W", "vat"}, {"kV", "kilovolt"}, {"mV", "milivolt"}, {"V", "volt"},
    {"mAh", "miliamper saat"}, {"mA", "miliamper"}, {"Ω", "ohm"}, {"kΩ", "kiloohm"},
    {"hp", "beygir gücü"}, {"BG", "beygir gücü"},
    // Time and frequency.
    {"dk", "dakika"}, {"sn", "saniye"}, {"sa", "saat"}, {"ms", "milisaniye"},
    {"µs", "mikrosaniye"}, {"μs", "mikrosaniye"}, {"ns", "nanosaniye"}, {"Hz", "hertz"},
    {"kHz", "kilohertz"}, {"MHz", "megahertz"}, {"GHz", "gigahertz"}, {"dB", "desibel"},
    // Data.
    {"KB", "kilobayt"}, {"kB", "kilobayt"}, {"MB", "megabayt"}, {"GB", "gigabayt"},
    {"TB", "terabayt"}, {"kbps", "kilobit"}, {"Mbps", "megabit"}, {"Gbps", "gigabit"},
    // Parts.
    {"ppm", "pe pe me"},
};

constexpr Expansion kCurrencies[] = {
    {"TL", "lira"}, {"₺", "lira"}, {"YTL", "yeni lira"}, {"€", "avro"}, {"EUR", "avro"},
    {"$", "dolar"}, {"USD", "dolar"}, {"£", "sterlin"},
};

constexpr std::array<std::string_view, 13> kMonths = {
    "", "ocak", "şubat", "mart", "nisan", "mayıs", "haziran", "temmuz", "ağustos", "eylül",
    "ekim", "kasım", "aralık"};
// clang-format on

}  // namespace

std::span<const Measure> Units() { return kUnits; }
std::span<const Expansion> Currencies() { return kCurrencies; }

std::string_view CurrencyFraction(std::string_view currency_reading) {
  if (currency_reading == "lira" || currency_reading == "yeni lira") return "kuruş";
  if (currency_reading == "avro" || currency_reading == "dolar") return "sent";
  if (currency_reading == "sterlin") return "peni";
  return {};
}

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonths[static_cast<std::size_t>(month)] : std::string_view();
}

}  // namespace orvanel::reading
