// Foreign words and brands that Turkish text writes in their own spelling, with the
// pronunciation Turkish speakers give them, written in Turkish letters for the front end.
// Chosen by hand: the brands, services and loanwords of computing and the web that come up most
// in Turkish news and everyday writing, and the foreign acronyms that Turkish says with English
// letter names (BBC, CNN) or as words whose capital I is no Turkish "ı" (FIFA, UNICEF). Words that
// the front end already says right as written (internet, instagram, blog, link, tablet) are not
// listed. The written form is matched in any case; the table is kept in byte order for the
// lookup (a test checks it).
#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

// clang-format off
constexpr Expansion kForeignWords[] = {
    {"airbnb", "erbienbi"}, {"apple", "epıl"}, {"bbc", "bi bi si"}, {"bluetooth", "blutut"},
    {"bmw", "be me ve"}, {"browser", "bravzır"}, {"ceo", "si i o"}, {"chat", "çet"},
    {"chrome", "krom"}, {"cia", "si ay ey"}, {"cloud", "klaud"}, {"cnn", "si en en"},
    {"cool", "kul"}, {"download", "davnlod"}, {"e-mail", "imeyl"}, {"ebay", "ibey"},
    {"email", "imeyl"}, {"facebook", "feysbuk"}, {"fbi", "ef bi ay"}, {"fifa", "fifa"},
    {"firefox", "fayırfoks"}, {"google", "gugıl"}, {"gps", "ci pi es"}, {"hashtag", "heştag"},
    {"huawei", "huavey"}, {"ios", "ay o es"}, {"ipad", "aypet"}, {"iphone", "ayfon"},
    {"laptop", "leptop"}, {"like", "layk"}, {"linkedin", "linktin"}, {"macbook", "mekbuk"},
    {"mail", "meyl"}, {"manager", "menecır"}, {"microsoft", "maykrosoft"}, {"nba", "en bi ey"},
    {"netflix", "netfliks"}, {"nvidia", "envidia"}, {"offline", "oflayn"}, {"online", "onlayn"},
    {"outlet", "autlet"}, {"paypal", "peypal"}, {"playstation", "pleysteyşın"},
    {"podcast", "podkest"}, {"selfie", "selfi"}, {"server", "sörvır"}, {"shopping", "şoping"},
    {"show", "şov"}, {"software", "softver"}, {"spotify", "spotifay"}, {"startup", "startap"},
    {"twitch", "tviç"}, {"twitter", "tivitır"}, {"unicef", "yunisef"}, {"update", "apdeyt"},
    {"usb", "yu es bi"}, {"web", "veb"}, {"whatsapp", "vatsap"}, {"wi-fi", "vayfay"},
    {"wifi", "vayfay"}, {"windows", "vindovs"}, {"xbox", "ekboks"}, {"xiaomi", "şaomi"},
    {"youtube", "yutub"}, {"youtuber", "yutubır"}, {"zoom", "zum"},
};

// Lower-case words without a vowel that are said as they are written: interjections.
constexpr std::string_view kUnspelledWords[] = {
    "hm", "hmm", "hmmm", "pst", "pşt", "şşt", "şşş", "cık", "tss", "ıh",
};
// clang-format on

}  // namespace

std::span<const Expansion> ForeignWords() { return kForeignWords; }
std::span<const std::string_view> UnspelledWords() { return kUnspelledWords; }

}  // namespace orvanel::reading
