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

}  // namespace
}  // namespace orvanel::speechd
