// What speech-dispatcher 0.11.4 hands the module under Debian's default configuration
// (SymbolsPreproc "char"), captured with tools/speechd_capture.py at the client's punctuation
// levels, and what the module reads of it.
#include "speechd/server_text.h"

#include <gtest/gtest.h>

#include <string>

namespace orvanel::speechd {
namespace {

struct Captured {
  const char* level;   // the client's punctuation level (the module is told "none" at every one)
  const char* typed;   // what the client sent
  const char* server;  // what reached the module, inside <speak>
};

std::string Trimmed(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The rewrites that leave a mark of their own: the module reads what the client typed.
TEST(ServerText, ReadsWhatTheClientTypedWhereTheRewriteIsRecognisable) {
  const Captured cases[] = {
      // Grouping and decimals.
      {"some", "1.250,50 TL", "1 .250,50 TL"},
      {"all", "1.250,50 TL", "1 .250 virgül,50 TL"},
      {"some", "1.000.000", "1 .000 .000"},
      {"all", "12.345,67", "12 .345 virgül,67"},
      {"all", "3,14", "3 virgül,14"},
      {"all", "−12,5", " eksi 12 virgül,5"},
      {"some", ".5", " .5"},
      {"some", "1 .5", "1  .5"},
      {"some", "a .5", "a  .5"},
      // Dates, times, versions.
      {"some", "29.10.2023", "29 .10 .2023"},
      {"some", "29.10.2023 tarihinde", "29 .10 .2023 tarihinde"},
      {"some", "29/10/2023", "29 bölü 10 bölü 2023"},
      {"some", "29 / 10", "29  bölü  10"},
      {"most", "2023-10-29", "2023 tire 10 tire 29"},
      {"all", "3 - 5", "3  tire  5"},
      {"some", "Saat 14.30'da", "Saat 14 .30'da"},
      {"most", "14:30", "14 ikinokta 30"},
      {"most", "09:15:30", "09 ikinokta 15 ikinokta 30"},
      {"all", "14 : 30", "14  ikinokta  30"},
      {"some", "Sürüm 2.3.1 çıktı.", "Sürüm 2 .3 .1 çıktı."},
      {"some", "v2.3.1", "v2 .3 .1"},
      // Prices.
      {"some", "₺99,90", " Türk Lirası 99,90"},
      {"all", "₺99,90", " TL 99 virgül,90"},
      {"some", "1.250.000,75 ₺", "1 .250 .000,75  Türk Lirası "},
      {"all", "1.250.000,75 ₺", "1 .250 .000 virgül,75  TL "},
      {"some", "$5.99", "$5 .99"},
      {"all", "$5.99", " dolar 5 .99"},
      {"some", "€10", " avro 10"},
      {"all", "€10", " euro 10"},
      {"all", "£5", " paund 5"},
  };
  for (const Captured& c : cases) {
    // The typed text minus the minus sign the server names (the reading stage says "eksi" too).
    std::string typed = c.typed;
    if (typed.starts_with("−")) typed = "eksi " + typed.substr(3);
    EXPECT_EQ(Trimmed(RestoreServerText(c.server)), typed) << c.level << " " << c.server;
  }
}

// What the server removed, or named as the reading stage would name it, is read as it came;
// only the marks of its own rewrite around it go.
TEST(ServerText, LeavesWhatCannotBeRecoveredOrNeedsNothingAsItCame) {
  struct Case {
    Captured captured;
    const char* reads = nullptr;  // null: the server's text as it is
  };
  const Case cases[] = {
      // Lost: the sign is gone at the lowest levels, or a dot became a blank.
      {{"none", "29/10/2023", "29 10 2023"}},
      {{"some", "2023-10-29", "2023 10 29"}},
      {{"none", "%25", " 25"}},
      {{"some", "www.ornek.com.tr", "www ornek com tr"}},
      {{"some", "destek@orvanel.org", "destek et orvanel org"}},
      {{"some", "ali.veli@ornek.com.tr", "ali veli et ornek com tr"}},
      {{"some", "https://www.orvanel.org/indir?surum=2.3",
        "https: bölü  bölü www orvanel org bölü indir surum eşittir 2 .3"},
       "https: bölü  bölü www orvanel org bölü indir surum eşittir 2.3"},
      {{"some", "x.5", "x 5"}},
      // Read the same: the reading stage says "eksi" and "yüzde" too; "yen" it does not know.
      {{"some", "-5", " eksi 5"}},
      {{"some", "%12,5", " yüzde 12,5"}},
      {{"some", "¥5", " yen 5"}},
      // Nothing rewritten.
      {{"some", "3,14", "3,14"}},
      {{"some", "14:30", "14:30"}},
      {{"some", "Saat 12'de", "Saat 12'de"}},
      {{"all", "Saat 12'de", "Saat 12 apostrof de"}},
      {{"some", "0212 555 12 34", "0212 555 12 34"}},
      // Names the client wrote: after a letter or a digit, or away from numbers.
      {{"some", "100 Türk Lirası ödedim", "100 Türk Lirası ödedim"}},
      {{"some", "Türk Lirası 5", "Türk Lirası 5"}},
      {{"all", "Fiyat: 1.250,50 TL.", "Fiyat ikinokta: 1 .250 virgül,50 TL nokta."},
       "Fiyat ikinokta: 1.250,50 TL nokta."},
      {{"some", "5 TL 3 adet", "5 TL 3 adet"}},
      {{"some", "iki tire üç", "iki tire üç"}},
      {{"some", "altı bölü", "altı bölü"}},
      // The one the server's own output cannot be told from: a name written between digits is
      // read as the sign, which means the same ("6/3": "üçte altı").
      {{"some", "6 bölü 3", "6 bölü 3"}, "6/3"},
      {{"none", "Dr. Ahmet geldi.", "Dr. Ahmet geldi."}},
      {{"none", "Bekle...", "Bekle..."}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RestoreServerText(c.captured.server),
              c.reads != nullptr ? c.reads : c.captured.server)
        << c.captured.level << " " << c.captured.typed;
  }
}

TEST(ServerText, EdgesOfTheText) {
  EXPECT_EQ(RestoreServerText(""), "");
  EXPECT_EQ(RestoreServerText(" "), " ");
  EXPECT_EQ(RestoreServerText(" ."), " .");
  EXPECT_EQ(RestoreServerText("1 ."), "1 .");
  EXPECT_EQ(RestoreServerText(" bölü 5"), " bölü 5");
  EXPECT_EQ(RestoreServerText("5 bölü "), "5 bölü ");
  EXPECT_EQ(RestoreServerText(" TL "), " TL ");
  EXPECT_EQ(RestoreServerText("5  TL"), "5  TL");
  EXPECT_EQ(RestoreServerText("-  .5"), "- .5");
}

}  // namespace
}  // namespace orvanel::speechd
