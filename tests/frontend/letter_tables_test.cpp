// The letter tables and their lookups, and the notation's front-marked consonant slots.
#include <gtest/gtest.h>

#include "frontend/letter_tables.h"
#include "frontend/unit_names.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;

struct LookupCase {
  const char8_t* letter;
  int vowel;
  int consonant;
  int front;
};

TEST(LetterTables, LookupsOfSingleLetters) {
  const LookupCase cases[] = {
      {u8"A", 0, -1, 0},  {u8"a", 1, -1, 0},  {u8"I", 4, -1, 0},  {u8"ı", 5, -1, 0},
      {u8"İ", 6, -1, 1},  {u8"i", 7, -1, 1},  {u8"E", 2, -1, 1},  {u8"ö", 11, -1, 1},
      {u8"Ü", 14, -1, 1}, {u8"u", 13, -1, 0}, {u8"B", -1, 0, 0},  {u8"ç", -1, 5, 0},
      {u8"Ğ", -1, 12, 0}, {u8"ğ", -1, 13, 0}, {u8"Q", -1, 28, 0}, {u8"x", -1, 43, 0},
      {u8"Ş", -1, 34, 0}, {u8"z", -1, 47, 0}, {u8"â", -1, -1, 0}, {u8"û", -1, -1, 0},
  };
  for (const auto& c : cases) {
    const std::string letter = Cp(c.letter);
    ASSERT_EQ(letter.size(), 1u);
    SCOPED_TRACE(reinterpret_cast<const char*>(c.letter));
    EXPECT_EQ(VowelLookup(letter[0]), c.vowel);
    EXPECT_EQ(ConsonantLookup(letter[0]), c.consonant);
    EXPECT_EQ(IsFrontVowel(letter[0]), c.front);
  }
}

TEST(LetterTables, DigitsBlanksPunctuationAndZeroAreNoLetters) {
  for (const char ch : std::string_view("0123456789 \t\n\r.,;:!?'\"-+{}~`^|\\")) {
    EXPECT_EQ(VowelLookup(ch), -1) << int(ch);
    EXPECT_EQ(ConsonantLookup(ch), -1) << int(ch);
  }
  EXPECT_EQ(VowelLookup('\0'), -1);
  EXPECT_EQ(ConsonantLookup('\0'), -1);
  EXPECT_EQ(IsFrontVowel('\0'), 0);
}

TEST(LetterTables, CaseFollowsTableParity) {
  EXPECT_EQ(ToUpperLetter('i'), '\xDD');  // i -> İ
  EXPECT_EQ(ToUpperLetter('\xFD'), 'I');  // ı -> I
  EXPECT_EQ(ToLowerLetter('I'), '\xFD');
  EXPECT_EQ(ToLowerLetter('\xDD'), 'i');
  EXPECT_EQ(ToUpperLetter('\xF0'), '\xD0');
  EXPECT_EQ(ToUpperLetter('7'), '7');
  for (int v = 0; v < kVowelCount; ++v) {
    EXPECT_EQ(ToUpperLetter(kVowelTable[v]), kVowelTable[v & ~1]);
    EXPECT_EQ(ToLowerLetter(kVowelTable[v]), kVowelTable[v | 1]);
  }
  for (int c = 0; c < kConsonantCount; ++c) {
    EXPECT_EQ(ToUpperLetter(kConsonantTable[c]), kConsonantTable[c & ~1]);
    EXPECT_EQ(ToLowerLetter(kConsonantTable[c]), kConsonantTable[c | 1]);
  }
}

TEST(LetterTables, FrontMarkedSlotsAreBDGGsoftKLP) {
  std::string marked;
  for (int slot = 0; slot < kConsonantSlotCount; ++slot) {
    if (IsFrontMarkedSlot(slot)) marked += kConsonantTable[2 * slot];
  }
  EXPECT_EQ(marked, Cp(u8"BDGĞKLP"));
  EXPECT_FALSE(IsFrontMarkedSlot(-1));
  EXPECT_FALSE(IsFrontMarkedSlot(24));
}

}  // namespace
}  // namespace orvanel::frontend
