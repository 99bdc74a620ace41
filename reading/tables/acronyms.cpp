// Acronyms with the reading Turkish speakers give them: said as a word, or spelled with the
// Turkish letter names. Sources: the institutions, parties and companies that come up most in
// Turkish news (ministries, state companies and utilities, parties, courts, exams), and the
// acronyms of the 979 bench sentences. An acronym that is not listed follows the general rule of
// word_forms.cpp (spelled when it cannot be a Turkish word); it is listed here when that rule
// would get it wrong, or so that a line with it is not taken for a heading.
#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

constexpr AcronymReading kWord = AcronymReading::kWord;
constexpr AcronymReading kSpelled = AcronymReading::kSpelled;

// clang-format off
constexpr Acronym kAcronyms[] = {
    // Said as words.
    {"HAVELSAN", kWord}, {"ASELSAN", kWord}, {"ROKETSAN", kWord}, {"BOTAŞ", kWord},
    {"TÜBİTAK", kWord}, {"TÜSİAD", kWord}, {"MÜSİAD", kWord}, {"TOKİ", kWord}, {"NATO", kWord},
    {"UNESCO", kWord}, {"TÜİK", kWord}, {"SPOR", kWord}, {"İSKİ", kWord},
    {"ASKİ", kWord}, {"TEKEL", kWord}, {"OPEC", kWord}, {"SEKA", kWord}, {"TÖMER", kWord},
    {"KOSGEB", kWord}, {"DİSK", kWord}, {"ANAP", kWord}, {"YÖK", kWord}, {"AİDS", kWord},
    {"MEB", kWord}, {"MİT", kWord}, {"AGİT", kWord}, {"TEDAŞ", kWord}, {"TEİAŞ", kWord},
    {"TÜPRAŞ", kWord}, {"PETKİM", kWord}, {"TÜRKSAT", kWord}, {"İZBAN", kWord}, {"EGO", kWord},
    {"ESHOT", kWord}, {"İGDAŞ", kWord}, {"BEDAŞ", kWord}, {"İSPARK", kWord}, {"TEMA", kWord},
    {"AFAD", kWord}, {"AKUT", kWord}, {"NASA", kWord}, {"UEFA", kWord},
    {"İHA", kWord}, {"SİHA", kWord}, {"TÜFE", kWord}, {"ÜFE", kWord}, {"BİST", kWord},
    {"FETÖ", kWord}, {"DEAŞ", kWord}, {"ALES", kWord}, {"TUS", kWord},
    {"DEVA", kWord}, {"İYİ", kWord}, {"BUSKİ", kWord}, {"İZSU", kWord}, {"TÜRKAK", kWord},
    // Spelled, though the general rule would say them as words.
    {"ODTÜ", kSpelled}, {"İTÜ", kSpelled}, {"AB", kSpelled}, {"AÖF", kSpelled},
    {"DSİ", kSpelled}, {"SSK", kSpelled}, {"TPAO", kSpelled}, {"AİHM", kSpelled},
    {"AİHS", kSpelled}, {"BM", kSpelled}, {"ABD", kSpelled}, {"AKP", kSpelled},
    {"CHP", kSpelled}, {"MHP", kSpelled}, {"DYP", kSpelled}, {"TBMM", kSpelled},
    {"TCDD", kSpelled}, {"BDDK", kSpelled}, {"KYK", kSpelled}, {"YSK", kSpelled},
    {"TRT", kSpelled}, {"PTT", kSpelled}, {"THY", kSpelled}, {"SGK", kSpelled},
    {"İMKB", kSpelled}, {"TL", kSpelled}, {"TV", kSpelled}, {"CD", kSpelled}, {"DVD", kSpelled},
    {"PKK", kSpelled}, {"TSE", kSpelled}, {"SPK", kSpelled}, {"TSK", kSpelled},
    {"MGK", kSpelled}, {"MHK", kSpelled}, {"TMSF", kSpelled}, {"ÖTV", kSpelled},
    {"KDV", kSpelled}, {"İETT", kSpelled}, {"ÖSYM", kSpelled}, {"KPSS", kSpelled},
    {"YKS", kSpelled}, {"LGS", kSpelled}, {"HDP", kSpelled}, {"TCMB", kSpelled},
    {"TFF", kSpelled}, {"DSÖ", kSpelled}, {"AK", kSpelled},
    {"AVM", kSpelled}, {"ATM", kSpelled}, {"GSYH", kSpelled}, {"GSYİH", kSpelled},
    {"EKG", kSpelled}, {"TC", kSpelled}, {"ÇKP", kSpelled},
};
// clang-format on

}  // namespace

std::span<const Acronym> KnownAcronyms() { return kAcronyms; }

}  // namespace orvanel::reading
