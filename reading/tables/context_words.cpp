// Words that decide how a number or a Roman numeral next to them is read. Chosen by hand from
// Turkish news and address writing: the nouns that Turkish writes after an ordinal with a
// capital (street and district names, army units, leagues, courts, congresses, and the Ottoman
// sultans' names, "3. Murat"; the abbreviations of addresses, "5. Sk."); the words that open a
// Turkish sentence (pronouns, conjunctions, adverbs), so that "Saat 5. Sonra gel." keeps its
// sentence end; the words after which a number is a count; the nouns numbered with Roman numerals
// ("Bölüm IV", "Cilt II"); and the words of the time of day before a time written with a dot. All
// lower case.
#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

// clang-format off
constexpr std::string_view kOrdinalHeads[] = {
    "cadde", "caddesi", "sokak", "sokağı", "bulvar", "bulvarı", "mahalle", "mahallesi", "kat",
    "cd", "cad", "sk", "sok", "blv", "bul", "mh", "mah",
    "blok", "etap", "kısım", "bölge", "bölgesi", "bölüm", "sınıf", "ordu", "kolordu", "tümen",
    "tugay", "alay", "tabur", "filo", "lig", "ligi", "dünya", "kurultay", "kurultayı", "kongre",
    "kongresi", "dönem", "meclis", "cumhuriyet", "meşrutiyet", "asliye", "ağır", "sulh", "idare",
    "icra", "noter", "noterliği", "daire", "dairesi", "şube", "şubesi", "levent", "köprü",
    "havalimanı", "nesil", "kuşak", "uluslararası", "ulusal", "olağan", "olağanüstü", "yıl",
    "murat", "mehmet", "selim", "ahmet", "mustafa", "osman", "mahmut", "bayezid", "beyazıt",
    "süleyman", "abdülhamit", "abdülhamid", "abdülmecit", "ibrahim", "kılıçarslan", "louis",
    "henry", "charles", "george", "ramses",
};

constexpr std::string_view kSentenceStarters[] = {
    "bu", "şu", "o", "bunu", "bunun", "bunlar", "bunları", "onu", "onun", "onlar", "ben", "sen",
    "biz", "siz", "ama", "fakat", "ancak", "lakin", "ve", "veya", "ya", "sonra", "önce", "daha",
    "şimdi", "artık", "hem", "her", "hiç", "hiçbir", "bir", "çünkü", "yani", "ayrıca", "böylece",
    "oysa", "hatta", "yine", "işte", "evet", "hayır", "peki", "neden", "niçin", "nasıl", "ne",
    "kim", "nerede", "eğer", "belki", "zaten", "sadece", "yalnız", "bence", "bugün", "dün",
    "yarın", "diğer", "bazı", "birçok", "tüm", "bütün", "çok", "en", "kendi",
};

constexpr std::string_view kCountingWords[] = {
    "saat", "sayfa", "madde", "yaş", "skor", "sonuç", "toplam", "puan", "no", "numara", "sayı",
    "sayısı", "oranı", "kez", "kere", "adet", "tane", "bölüm", "kısım",
};

constexpr std::string_view kNumberedNouns[] = {
    "bölüm", "cilt", "kısım", "madde", "sınıf", "kat", "ek", "tablo", "şekil", "sayı", "dönem",
    "perde", "sahne", "faz", "etap", "tip", "seviye", "derece", "grup", "kitap", "cüz", "fasıl",
    "ünite", "kademe", "evre", "blok", "paragraf", "fıkra", "bent",
};

constexpr std::string_view kTimeOfDayWords[] = {
    "saat", "sabah", "akşam", "öğle", "öğlen", "öğleden", "gece", "yarısı", "sonra",
    "sabahı", "akşamı",
};
// clang-format on

}  // namespace

std::span<const std::string_view> OrdinalHeads() { return kOrdinalHeads; }
std::span<const std::string_view> SentenceStarters() { return kSentenceStarters; }
std::span<const std::string_view> CountingWords() { return kCountingWords; }
std::span<const std::string_view> NumberedNouns() { return kNumberedNouns; }
std::span<const std::string_view> TimeOfDayWords() { return kTimeOfDayWords; }

}  // namespace orvanel::reading
