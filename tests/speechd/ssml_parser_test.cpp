#include "speechd/ssml_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvanel::speechd {
namespace {

SsmlPiece Text(std::string t) { return {PieceKind::kText, std::move(t), 0}; }
SsmlPiece Mark(std::string t) { return {PieceKind::kMark, std::move(t), 0}; }
SsmlPiece Break(std::uint32_t ms) { return {PieceKind::kBreak, {}, ms}; }
SsmlPiece Spell(std::string t) { return {PieceKind::kCharacters, std::move(t), 0}; }

struct SsmlCase {
  const char* name;
  std::string input;
  std::vector<SsmlPiece> pieces;
};

class SsmlParser : public testing::TestWithParam<SsmlCase> {};

TEST_P(SsmlParser, GivesThePieces) { EXPECT_EQ(ParseSsml(GetParam().input), GetParam().pieces); }

const SsmlCase kCases[] = {
    {"Plain", "<speak>Merhaba dünya</speak>", {Text("Merhaba dünya")}},
    {"Empty", "<speak></speak>", {}},
    {"NoMarkupAtAll", "ağaç", {Text("ağaç")}},
    {"Entities",
     "<speak>a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos;</speak>",
     {Text("a & b <c> \"d\" 'e'")}},
    {"NumericEntities", "&#287;&#x15F;&#X130;", {Text("ğşİ")}},
    {"UnknownEntityIsText", "a &nbsp; b &amp c", {Text("a &nbsp; b &amp c")}},
    {"ZeroEntityIsABlank", "a&#0;b", {Text("a b")}},
    {"SurrogateEntityIsABlank", "a&#xD800;b", {Text("a b")}},
    {"TooLargeEntityIsText", "&#x110000;", {Text("&#x110000;")}},
    {"ServerMarks",
     "<speak>Bir.<mark name=\"__spd_0\"/> İki.<mark name=\"__spd_1\"/></speak>",
     {Text("Bir."), Mark("__spd_0"), Text(" İki."), Mark("__spd_1")}},
    {"AdjacentMarks",
     "a<mark name='x'/><mark name='y'/>b",
     {Text("a"), Mark("x"), Mark("y"), Text("b")}},
    {"MarkWithoutNameIsDropped", "a<mark/>b", {Text("ab")}},
    {"MarkNameEntities", "<mark name=\"a&amp;b\"/>", {Mark("a&b")}},
    {"BreakMs", "a<break time=\"250ms\"/>b", {Text("a"), Break(250), Text("b")}},
    {"BreakSeconds", "a<break time='1.5s'/>", {Text("a"), Break(1500)}},
    {"BreakStrength", "<break strength=\"strong\"/>", {Break(700)}},
    {"BreakNoneIsDropped", "a<break strength=\"none\"/>b", {Text("ab")}},
    {"BreakWithoutTimeIsMedium", "<break/>", {Break(400)}},
    {"BreakIsCut", "<break time=\"3600s\"/>", {Break(kMaxBreakMs)}},
    {"SayAsCharacters",
     "Kod <say-as interpret-as=\"characters\">AB1</say-as> bu",
     {Text("Kod "), Spell("AB1"), Text(" bu")}},
    {"SayAsOtherIsText", "<say-as interpret-as=\"date\">1.2.2024</say-as>", {Text("1.2.2024")}},
    {"NestedSayAs",
     "<say-as interpret-as=\"characters\">a<say-as interpret-as=\"date\">b</say-as>c</say-as>d",
     {Spell("abc"), Text("d")}},
    {"UnclosedSayAsSpellsToTheEnd", "<say-as interpret-as='characters'>xy", {Spell("xy")}},
    {"StrayClosingSayAs", "a</say-as>b", {Text("ab")}},
    {"UnknownTagsDropped",
     "<speak><p><s>Bir</s></p><voice name=\"x\">iki</voice></speak>",
     {Text("Biriki")}},
    {"TagNamesAnyCase", "<SPEAK>a<MARK NAME=\"m\"/></SPEAK>", {Text("a"), Mark("m")}},
    {"Comment", "a<!-- <mark name=\"no\"/> -->b", {Text("ab")}},
    {"Declaration", "<?xml version=\"1.0\"?><speak>a</speak>", {Text("a")}},
    {"LessThanAsText", "3 < 5 ve 7 > 2", {Text("3 < 5 ve 7 > 2")}},
    {"UnclosedTagIsText", "<speak>a <b", {Text("a <b")}},
    {"UnquotedAttributeIsText", "<mark name=x/>", {Text("<mark name=x/>")}},
    {"UnterminatedQuoteIsText", "<mark name=\"x/>", {Text("<mark name=\"x/>")}},
    {"TagInterruptedByTag", "a <b <mark name=\"m\"/>", {Text("a <b "), Mark("m")}},
    {"InvalidUtf8Blanked",
     "a\xFF\xC3"
     "b\xE2\x82",
     {Text("a  b  ")}},
    {"OverlongUtf8Blanked", "\xC0\xAF", {Text("  ")}},
    {"ZeroByteBlanked", std::string("a\0b", 3), {Text("a b")}},
};

INSTANTIATE_TEST_SUITE_P(Table, SsmlParser, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SsmlParser, LongRunsOfOpenBracketsStayLinear) {
  const std::string input(1 << 20, '<');
  const auto pieces = ParseSsml(input);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].text, input);
}

struct BreakTimeCase {
  const char* value;
  std::int64_t ms;
};

TEST(BreakTime, ReadsTheUnits) {
  const BreakTimeCase cases[] = {{"300", 300},
                                 {"300ms", 300},
                                 {" 2s ", 2000},
                                 {"0.25s", 250},
                                 {"1.25s", 1250},
                                 {"5MS", 5},
                                 {"", -1},
                                 {"ms", -1},
                                 {"3m", -1},
                                 {"-1s", -1},
                                 {"99999999999s", kMaxBreakMs}};
  for (const auto& c : cases) EXPECT_EQ(ParseBreakTime(c.value), c.ms) << c.value;
}

}  // namespace
}  // namespace orvanel::speechd
