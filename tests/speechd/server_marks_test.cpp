// The server's marks after a dot that the reading stage reads through: the text around them is
// joined and the marks follow it; everywhere else the pieces stay as they are. The pieces are
// taken in order as the worker takes them, and the texts left empty dropped.
#include "speechd/server_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvanel::speechd {
namespace {

SsmlPiece Text(std::string t) { return {PieceKind::kText, std::move(t), 0}; }
SsmlPiece Mark(std::string t) { return {PieceKind::kMark, std::move(t), 0}; }
SsmlPiece Break(std::uint32_t ms) { return {PieceKind::kBreak, "", ms}; }

struct JoinCase {
  const char* name;
  std::vector<SsmlPiece> pieces;
  std::vector<SsmlPiece> joined;  // empty: as they are
};

class JoinTable : public testing::TestWithParam<JoinCase> {};

// The pieces as the worker speaks them: each text with what it joined, the emptied texts gone.
std::vector<SsmlPiece> Spoken(std::vector<SsmlPiece> pieces) {
  std::vector<SsmlPiece> spoken;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].kind == PieceKind::kText && pieces[i].text.empty()) continue;
    const std::size_t last = JoinReadingCutByMarks(pieces, i);
    EXPECT_GE(last, i);
    for (std::size_t j = i + 1; j <= last; ++j) {
      EXPECT_TRUE(pieces[j].kind == PieceKind::kMark || pieces[j].text.empty()) << j;
    }
    spoken.push_back(pieces[i]);
  }
  return spoken;
}

TEST_P(JoinTable, JoinsWhatIsReadAsOne) {
  const JoinCase& c = GetParam();
  EXPECT_EQ(Spoken(c.pieces), c.joined.empty() ? c.pieces : c.joined);
}

TEST(JoinReadingCutByMarks, JoinsAtMostSixteenTextsAtOnce) {
  std::vector<SsmlPiece> pieces = {Text("Dr.")};
  for (int i = 0; i < 40; ++i) {
    pieces.push_back(Mark("__spd_" + std::to_string(i)));
    pieces.push_back(Text(" Dr."));
  }
  EXPECT_EQ(JoinReadingCutByMarks(pieces, 0), 32u);
  EXPECT_EQ(pieces[0].text.size(), 3u + 16 * 4);
  EXPECT_EQ(pieces[34].text, " Dr.");
  EXPECT_EQ(JoinReadingCutByMarks(pieces, 1), 1u);  // a mark joins nothing
}

const JoinCase kCases[] = {
    {"Ordinal",
     {Text("7."), Mark("__spd_0"), Text(" kat bu.")},
     {Text("7. kat bu."), Mark("__spd_0")}},
    {"OrdinalInASentence",
     {Text("Bu 3."), Mark("__spd_0"), Text(" kez."), Mark("__spd_1"), Text(" Sonra gel.")},
     {Text("Bu 3. kez."), Mark("__spd_0"), Mark("__spd_1"), Text(" Sonra gel.")}},
    {"Abbreviation",
     {Text("Dr."), Mark("__spd_0"), Text(" Ahmet geldi."), Mark("__spd_1"), Text(" Gitti.")},
     {Text("Dr. Ahmet geldi."), Mark("__spd_0"), Mark("__spd_1"), Text(" Gitti.")}},
    {"AbbreviationsInARow",
     {Text("Gn."), Mark("__spd_0"), Text(" Md."), Mark("__spd_1"), Text(" geldi.")},
     {Text("Gn. Md. geldi."), Mark("__spd_0"), Mark("__spd_1")}},
    {"AdjacentMarks",
     {Text("7."), Mark("__spd_0"), Mark("__spd_1"), Text(" kat")},
     {Text("7. kat"), Mark("__spd_0"), Mark("__spd_1")}},
    {"SentencesStay",
     {Text("Bir."), Mark("__spd_0"), Text(" İki."), Mark("__spd_1"), Text(" Üç.")},
     {}},
    {"ProseStays", {Text("Merhaba dünya."), Mark("__spd_0"), Text(" Bugün hava çok güzel.")}, {}},
    {"QuestionStays", {Text("Ne?"), Mark("__spd_0"), Text(" kat")}, {}},
    {"ClientMarkStays", {Text("7."), Mark("m1"), Text(" kat")}, {}},
    {"BreakStays", {Text("7."), Mark("__spd_0"), Break(100), Text(" kat")}, {}},
    {"NothingAfter", {Text("7."), Mark("__spd_0"), Text("  ")}, {}},
    {"MarkFirst", {Mark("__spd_0"), Text(" kat")}, {}},
};

INSTANTIATE_TEST_SUITE_P(Table, JoinTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvanel::speechd
