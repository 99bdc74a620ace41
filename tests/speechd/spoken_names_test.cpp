#include "speechd/spoken_names.h"

#include <gtest/gtest.h>

namespace orvanel::speechd {
namespace {

struct NameCase {
  const char* input;
  const char* name;
};

TEST(CharacterName, NamesLettersDigitsAndSymbols) {
  const NameCase cases[] = {
      {"a", "a"},      {"b", "be"},        {"ç", "çe"},           {"ğ", "yumuşak ge"},
      {"ı", "ı"},      {"i", "i"},         {"ş", "şe"},           {"w", "çift ve"},
      {"q", "kü"},     {"x", "iks"},       {"0", "sıfır"},        {"7", "yedi"},
      {".", "nokta"},  {",", "virgül"},    {"?", "soru işareti"}, {"%", "yüzde"},
      {"@", "et"},     {"_", "alt çizgi"}, {"€", "avro"},         {"space", "boşluk"},
      {" ", "boşluk"}, {"日", "日"},       {"\xFF", "\xFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(CharacterName(c.input, false), c.name) << c.input;
}

TEST(CharacterName, SaysBuyukBeforeACapitalWhenAsked) {
  const NameCase cases[] = {{"A", "a"}, {"Ğ", "yumuşak ge"}, {"I", "ı"}, {"İ", "i"}, {"Ş", "şe"}};
  for (const auto& c : cases) {
    EXPECT_EQ(CharacterName(c.input, false), c.name) << c.input;
    EXPECT_EQ(CharacterName(c.input, true), std::string("büyük ") + c.name) << c.input;
  }
  EXPECT_EQ(CharacterName("a", true), "a");
  EXPECT_EQ(CharacterName("5", true), "beş");
}

TEST(KeyName, NamesTheCommonKeysAndSpellsTheRest) {
  const NameCase cases[] = {
      {"enter", "giriş"},
      {"Return", "giriş"},
      {"space", "boşluk"},
      {"escape", "çıkış"},
      {"tab", "sekme"},
      {"backspace", "geri sil"},
      {"up", "yukarı ok"},
      {"prior", "sayfa yukarı"},
      {"double-quote", "tırnak"},
      {"underscore", "alt çizgi"},
      {"f1", "fe bir"},
      {"f10", "fe on"},
      {"f12", "fe on iki"},
      {"f20", "fe yirmi"},
      {"f", "fe"},
      {"a", "a"},
      {"Ş", "şe"},
      {"5", "beş"},
      {"shift_a", "üst karakter a"},
      {"control_alt_delete", "kontrol alt sil"},
      {"_", "alt çizgi"},
      {"xyz", "iks, ye, ze"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.input), c.name) << c.input;
}

TEST(SoundIconName, ReadsSeparatorsAsBlanks) {
  EXPECT_EQ(SoundIconName("message-new_mail.wav"), "message new mail wav");
  EXPECT_EQ(SoundIconName(""), "");
}

TEST(SpellText, NamesEachCharacter) {
  EXPECT_EQ(SpellText("Ab", false), "a, be");
  EXPECT_EQ(SpellText("Ab", true), "büyük a, be");
  EXPECT_EQ(SpellText("a b", false), "a, boşluk, be");
  EXPECT_EQ(SpellText("  x1. ", false), "iks, bir, nokta");
  EXPECT_EQ(SpellText("", false), "");
}

struct PunctuationCase {
  const char* text;
  const char* none;
  const char* some;
  const char* most;
  const char* all;
};

TEST(Punctuation, EachLevelReadsTheMarksItNames) {
  const PunctuationCase cases[] = {
      {"Merhaba, dünya!", "Merhaba, dünya!", "Merhaba, dünya!", "Merhaba, dünya!",
       "Merhaba virgül,  dünya ünlem! "},
      {"a + b", "a   b", "a + b", "a + b", "a + b"},
      {"%50 ve 3-5", "%50 ve 3-5", "%50 ve 3-5", "%50 ve 3-5", "%50 ve 3-5"},
      {"e-posta", "e posta", "e-posta", "e-posta", "e-posta"},
      {"a # b", "a # b", "a # b", "a  diyez  b", "a  diyez  b"},
      {"Ankara'ya", "Ankara'ya", "Ankara'ya", "Ankara'ya", "Ankara kesme işareti ya"},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyPunctuation(c.text, PunctuationMode::kNone), c.none) << c.text;
    EXPECT_EQ(ApplyPunctuation(c.text, PunctuationMode::kSome), c.some) << c.text;
    EXPECT_EQ(ApplyPunctuation(c.text, PunctuationMode::kMost), c.most) << c.text;
    EXPECT_EQ(ApplyPunctuation(c.text, PunctuationMode::kAll), c.all) << c.text;
  }
}

}  // namespace
}  // namespace orvanel::speechd
