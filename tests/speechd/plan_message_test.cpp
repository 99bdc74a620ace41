#include <gtest/gtest.h>

#include "speechd/output_module.h"

namespace orvanel::speechd {
namespace {

SsmlPiece Text(std::string t) { return {PieceKind::kText, std::move(t), 0}; }
SsmlPiece Mark(std::string t) { return {PieceKind::kMark, std::move(t), 0}; }

struct PlanCase {
  const char* name;
  CommandKind kind;
  std::string data;
  ModuleSettings settings;
  std::vector<SsmlPiece> pieces;
};

ModuleSettings Spelling() {
  ModuleSettings s;
  s.spelling = true;
  s.capitals = true;
  return s;
}
ModuleSettings Capitals() {
  ModuleSettings s;
  s.capitals = true;
  return s;
}
ModuleSettings AllPunctuation() {
  ModuleSettings s;
  s.punctuation = PunctuationMode::kAll;
  return s;
}

class PlanMessageTable : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanMessageTable, GivesThePieces) {
  const auto& c = GetParam();
  EXPECT_EQ(PlanMessage(c.kind, c.data, c.settings).pieces, c.pieces);
}

const PlanCase kCases[] = {
    {"Speak", CommandKind::kSpeak, "<speak>Merhaba</speak>", {}, {Text("Merhaba")}},
    {"SpeakWithMarks",
     CommandKind::kSpeak,
     "a.<mark name=\"__spd_0\"/> b",
     {},
     {Text("a."), Mark("__spd_0"), Text(" b")}},
    {"SpelledRunJoinsTheText",
     CommandKind::kSpeak,
     "Kod <say-as interpret-as=\"characters\">AB</say-as>.",
     Capitals(),
     {Text("Kod  büyük a, büyük be .")}},
    {"SpellingMode",
     CommandKind::kSpeak,
     "<speak>Ab c</speak>",
     Spelling(),
     {Text("büyük a, be, boşluk, ce")}},
    {"PunctuationAll", CommandKind::kSpeak, "a!", AllPunctuation(), {Text("a ünlem! ")}},
    {"ServerSpace", CommandKind::kSpeak, "<speak>space</speak>", {}, {Text("boşluk")}},
    {"ServerRewriteUndone",
     CommandKind::kSpeak,
     "<speak>29 .10 .2023<mark name=\"__spd_0\"/> 1 .250 virgül,50 TL</speak>",
     {},
     {Text("29.10.2023"), Mark("__spd_0"), Text(" 1.250,50 TL")}},
    {"SpelledRunKeptAsSent",
     CommandKind::kSpeak,
     "<say-as interpret-as=\"characters\">1 .5</say-as>",
     {},
     {Text(" bir, boşluk, nokta, beş ")}},
    {"EmptySpeak", CommandKind::kSpeak, "<speak></speak>", {}, {}},
    {"Char", CommandKind::kChar, "ğ", {}, {Text("yumuşak ge")}},
    {"CharCapital", CommandKind::kChar, "Ç", Capitals(), {Text("büyük çe")}},
    {"CharEntity", CommandKind::kChar, "&lt;", {}, {Text("küçüktür")}},
    {"CharLessThan", CommandKind::kChar, "<", {}, {Text("küçüktür")}},
    {"CharSpace", CommandKind::kChar, "space", {}, {Text("boşluk")}},
    {"Key", CommandKind::kKey, "enter", {}, {Text("giriş")}},
    {"SoundIcon", CommandKind::kSoundIcon, "message-new", {}, {Text("message new")}},
    {"KeyInvalidUtf8IsSkipped", CommandKind::kKey, "\xFF", {}, {}},
    {"CharInvalidUtf8IsSkipped", CommandKind::kChar, "a\xC3", {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Table, PlanMessageTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

SsmlPiece Names(std::string text) { return {PieceKind::kCharacters, std::move(text), 0}; }

// With the reading stage the text goes to it as written, whatever the punctuation mode (the
// stage reads the level); names the module made (spelled letters, a character's or a key's name)
// are kept apart, to be read with no punctuation named.
TEST(PlanMessage, WithTheReadingStageTheTextIsLeftToIt) {
  for (const PunctuationMode mode : {PunctuationMode::kNone, PunctuationMode::kSome,
                                     PunctuationMode::kMost, PunctuationMode::kAll}) {
    ModuleSettings s;
    s.punctuation = mode;
    EXPECT_EQ(PlanMessage(CommandKind::kSpeak, "a + b (c)!", s, true).pieces,
              std::vector<SsmlPiece>{Text("a + b (c)!")});
  }
  EXPECT_EQ(PlanMessage(CommandKind::kChar, "ğ", {}, true).pieces,
            std::vector<SsmlPiece>{Names("yumuşak ge")});
  EXPECT_EQ(PlanMessage(CommandKind::kKey, "enter", {}, true).pieces,
            std::vector<SsmlPiece>{Names("giriş")});
  EXPECT_EQ(PlanMessage(CommandKind::kSpeak, "<speak>Ab c</speak>", Spelling(), true).pieces,
            std::vector<SsmlPiece>{Names("büyük a, be, boşluk, ce")});
  EXPECT_EQ(PlanMessage(CommandKind::kSpeak, "Kod <say-as interpret-as=\"characters\">AB</say-as>.",
                        Capitals(), true)
                .pieces,
            (std::vector<SsmlPiece>{Text("Kod "), Names(" büyük a, büyük be "), Text(".")}));
}

}  // namespace
}  // namespace orvanel::speechd
