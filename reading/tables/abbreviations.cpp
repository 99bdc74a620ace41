// Abbreviations that end in a dot. Sources: the abbreviation list of TDK's spelling guide (Yazım
// Kılavuzu, "Kısaltmalar") for titles, ranks, institutions and running text; the address forms
// of Turkish postal addresses (Mah., Cd., Sk., Blv., No.); company names as trade registers
// write them (A.Ş., Ltd. Şti., San. ve Tic.); and the titles of medicine and universities as
// Turkish news writes them (Op. Dr., Uzm. Dr., Arş. Gör.). See README.md beside this file.
#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

// clang-format off
constexpr Expansion kAbbreviations[] = {
    // Companies and institutions.
    {"A.Ş.", "anonim şirketi"}, {"T.C.", "te ce"}, {"Ltd.", "limited"}, {"Şti.", "şirketi"},
    {"San.", "sanayi"}, {"Tic.", "ticaret"}, {"İnş.", "inşaat"}, {"Paz.", "pazarlama"},
    {"Koop.", "kooperatifi"}, {"Der.", "derneği"}, {"Vak.", "vakfı"}, {"Şb.", "şubesi"},
    {"Üniv.", "üniversitesi"}, {"Fak.", "fakültesi"}, {"Enst.", "enstitüsü"},
    {"Hst.", "hastanesi"}, {"Hast.", "hastanesi"},
    {"Gn.", "genel"}, {"Gnl.", "genel"}, {"Gen.", "genel"}, {"Md.", "müdür"}, {"Müd.", "müdür"},
    {"Md.lüğü", "müdürlüğü"}, {"Müd.lüğü", "müdürlüğü"}, {"Bşk.", "başkan"},
    {"Bşk.lığı", "başkanlığı"}, {"Yön. Kur.", "yönetim kurulu"}, {"Yön.", "yönetim"},
    // Addresses.
    {"Mah.", "mahallesi"}, {"Mh.", "mahallesi"}, {"Cad.", "caddesi"}, {"Cd.", "caddesi"},
    {"Sok.", "sokağı"}, {"Sk.", "sokak"}, {"Blv.", "bulvarı"}, {"Bul.", "bulvarı"},
    {"Mey.", "meydanı"}, {"Sit.", "sitesi"}, {"Apt.", "apartmanı"}, {"No.", "numara"},
    {"Nu.", "numara"}, {"P.K.", "posta kutusu"}, {"Tel.", "telefon"}, {"Tlf.", "telefon"},
    // Titles and professions.
    {"Prof.", "profesör"}, {"Doç.", "doçent"}, {"Dr.", "doktor"}, {"Yrd.", "yardımcı"},
    {"Öğr.", "öğretim"}, {"Gör.", "görevlisi"}, {"Arş.", "araştırma"}, {"Op.", "operatör"},
    {"Uzm.", "uzman"}, {"Av.", "avukat"}, {"Müh.", "mühendis"}, {"Mim.", "mimar"},
    {"Ecz.", "eczacı"}, {"Dt.", "diş hekimi"}, {"Psk.", "psikolog"}, {"Dyt.", "diyetisyen"},
    {"Hemş.", "hemşire"}, {"Vet.", "veteriner"}, {"Müş.", "müşavir"}, {"Hz.", "hazreti"},
    {"Sn.", "sayın"},
    // Ranks.
    {"Org.", "orgeneral"}, {"Korg.", "korgeneral"}, {"Tümg.", "tümgeneral"},
    {"Tuğg.", "tuğgeneral"}, {"Ora.", "oramiral"}, {"Kora.", "koramiral"},
    {"Tüma.", "tümamiral"}, {"Tuğa.", "tuğamiral"}, {"Alb.", "albay"}, {"Yb.", "yarbay"},
    {"Bnb.", "binbaşı"}, {"Yzb.", "yüzbaşı"}, {"Tğm.", "teğmen"}, {"Ütğm.", "üsteğmen"},
    {"Asb.", "astsubay"}, {"Bçvş.", "başçavuş"}, {"Çvş.", "çavuş"}, {"Kd.", "kıdemli"},
    // Running text and books.
    {"Bkz.", "bakınız"}, {"bkz.", "bakınız"}, {"vb.", "ve benzeri"}, {"vd.", "ve diğerleri"},
    {"vs.", "vesaire"}, {"örn.", "örneğin"}, {"Örn.", "örneğin"}, {"yy.", "yüzyıl"},
    {"M.Ö.", "milattan önce"}, {"M.S.", "milattan sonra"}, {"Çev.", "çeviren"},
    {"Haz.", "hazırlayan"}, {"Yay.", "yayınları"}, {"sf.", "sayfa"}, {"syf.", "sayfa"},
    {"a.g.e.", "adı geçen eser"},
};
// clang-format on

}  // namespace

std::span<const Expansion> Abbreviations() { return kAbbreviations; }

}  // namespace orvanel::reading
