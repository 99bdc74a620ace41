// The word lists of the reading stage. Kept small on purpose: the abbreviations are those of
// addresses, titles, ranks and running text in Turkish news and official writing (the forms the
// Turkish spelling guide lists); the acronyms are the institutions, parties and companies that
// come up most in Turkish news, with the reading Turkish speakers give them (spelled with
// letter names, or said as a word). An acronym that is not listed follows the general rule in
// turkish_reading.cpp.
#include "reading/reading_tables.h"

#include <array>

namespace orvanel::reading {

namespace {

// clang-format off
constexpr Expansion kAbbreviations[] = {
    {"A.Ş.", "anonim şirketi"}, {"T.C.", "te ce"}, {"Ltd.", "limited"}, {"Şti.", "şirketi"},
    {"Müh.", "mühendis"}, {"Bşk.", "başkan"}, {"Bşk.lığı", "başkanlığı"}, {"Gn.", "genel"},
    {"Md.", "müdür"}, {"Müd.", "müdür"}, {"Sk.", "sokak"}, {"Cd.", "caddesi"},
    {"Cad.", "caddesi"}, {"Blv.", "bulvarı"}, {"Mah.", "mahallesi"},
    {"Mh.", "mahallesi"}, {"Apt.", "apartmanı"}, {"Org.", "orgeneral"}, {"Korg.", "korgeneral"},
    {"Tümg.", "tümgeneral"}, {"Tuğg.", "tuğgeneral"}, {"Alb.", "albay"}, {"Yb.", "yarbay"},
    {"Bnb.", "binbaşı"}, {"Yzb.", "yüzbaşı"}, {"Tğm.", "teğmen"}, {"Ütğm.", "üsteğmen"},
    {"Ora.", "oramiral"}, {"Dr.", "doktor"}, {"Prof.", "profesör"},
    {"Doç.", "doçent"}, {"Yrd.", "yardımcı"}, {"Öğr.", "öğretim"}, 
    {"Av.", "avukat"}, {"Uzm.", "uzman"}, {"Hz.", "hazreti"}, {"Sn.", "sayın"},
    {"No.", "numara"}, {"Tel.", "telefon"}, {"Üniv.", "üniversitesi"}, {"Bkz.", "bakınız"},
    {"bkz.", "bakınız"}, {"vb.", "ve benzeri"}, {"vd.", "ve diğerleri"}, {"vs.", "vesaire"},
    {"örn.", "örneğin"}, {"Örn.", "örneğin"}, {"yy.", "yüzyıl"}, 
    {"Fak.", "fakültesi"}, {"Enst.", "enstitüsü"}, {"Vak.", "vakfı"},
    {"Koop.", "kooperatifi"}, {"Gen.", "genel"},
};

constexpr Acronym kAcronyms[] = {
    // Said as words.
    {"HAVELSAN", AcronymReading::kWord}, {"ASELSAN", AcronymReading::kWord},
    {"ROKETSAN", AcronymReading::kWord}, {"BOTAŞ", AcronymReading::kWord},
    {"TÜBİTAK", AcronymReading::kWord}, {"TÜSİAD", AcronymReading::kWord},
    {"MÜSİAD", AcronymReading::kWord}, {"TOKİ", AcronymReading::kWord},
    {"NATO", AcronymReading::kWord}, {"UNESCO", AcronymReading::kWord},
    {"UNICEF", AcronymReading::kWord}, {"TÜİK", AcronymReading::kWord},
    {"SPOR", AcronymReading::kWord},
    {"İSKİ", AcronymReading::kWord}, {"ASKİ", AcronymReading::kWord},
    {"TEKEL", AcronymReading::kWord}, {"OPEC", AcronymReading::kWord},
    {"SEKA", AcronymReading::kWord}, {"TÖMER", AcronymReading::kWord},
    {"KOSGEB", AcronymReading::kWord}, {"DİSK", AcronymReading::kWord},
    // Spelled, though the general rule would say them as words.
    {"ODTÜ", AcronymReading::kSpelled}, {"İTÜ", AcronymReading::kSpelled},
    {"AB", AcronymReading::kSpelled}, {"AÖF", AcronymReading::kSpelled},
    {"DSİ", AcronymReading::kSpelled}, {"SSK", AcronymReading::kSpelled},
    {"TPAO", AcronymReading::kSpelled}, {"AİHM", AcronymReading::kSpelled},
    {"AİHS", AcronymReading::kSpelled}, {"BM", AcronymReading::kSpelled},
    {"ABD", AcronymReading::kSpelled}, {"AKP", AcronymReading::kSpelled},
    {"CHP", AcronymReading::kSpelled}, {"MHP", AcronymReading::kSpelled},
    {"DYP", AcronymReading::kSpelled}, {"ANAP", AcronymReading::kWord},
    {"TBMM", AcronymReading::kSpelled}, {"TCDD", AcronymReading::kSpelled},
    {"BDDK", AcronymReading::kSpelled}, {"KYK", AcronymReading::kSpelled},
    {"YÖK", AcronymReading::kWord}, {"YSK", AcronymReading::kSpelled},
    {"TRT", AcronymReading::kSpelled}, {"PTT", AcronymReading::kSpelled},
    {"THY", AcronymReading::kSpelled}, {"AİDS", AcronymReading::kWord},
    {"SGK", AcronymReading::kSpelled}, {"MEB", AcronymReading::kWord},
    {"MİT", AcronymReading::kWord}, {"İMKB", AcronymReading::kSpelled},
    {"TL", AcronymReading::kSpelled}, {"TV", AcronymReading::kSpelled},
    {"CD", AcronymReading::kSpelled}, {"DVD", AcronymReading::kSpelled},
    {"PKK", AcronymReading::kSpelled}, {"AGİT", AcronymReading::kWord},
};

constexpr Expansion kUnits[] = {
    {"km/sa", "kilometre"}, {"km/s", "kilometre"}, {"km²", "kilometrekare"},
    {"m²", "metrekare"}, {"m³", "metreküp"}, {"cm²", "santimetrekare"}, {"cm³", "santimetreküp"},
    {"°C", "derece"}, {"°F", "derece fahrenhayt"}, {"°", "derece"},
    {"km", "kilometre"}, {"cm", "santimetre"}, {"mm", "milimetre"}, {"m", "metre"},
    {"kg", "kilogram"}, {"gr", "gram"}, {"g", "gram"}, {"mg", "miligram"},
    {"lt", "litre"}, {"ml", "mililitre"}, {"l", "litre"}, {"ha", "hektar"},
    {"dk", "dakika"}, {"sn", "saniye"}, {"sa", "saat"}, {"kW", "kilovat"}, {"MW", "megavat"},
    {"GB", "gigabayt"}, {"MB", "megabayt"},
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

std::span<const Expansion> Abbreviations() { return kAbbreviations; }
std::span<const Acronym> KnownAcronyms() { return kAcronyms; }
std::span<const Expansion> Units() { return kUnits; }
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
