// Digit groups, group words, scale words and the long-number limits.
#include <gtest/gtest.h>

#include <string>

#include "frontend/number_reading.h"
#include "tests/frontend/cp1254_text.h"
#include "tests/frontend/reference_transcriber.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;
using testing::Show;

std::string Repeat(std::string_view s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

TEST(NextDigitGroup, TakesThreeDigitsFromTheRight) {
  const std::string digits = "12345";
  std::ptrdiff_t position = 4;
  DigitGroup group;
  int value = -1;
  ASSERT_TRUE(NextDigitGroup(digits, position, group, value));
  EXPECT_EQ(value, 345);
  EXPECT_EQ(group.count, 3);
  EXPECT_EQ(group.digits[0], 5);
  EXPECT_EQ(group.digits[2], 3);
  EXPECT_EQ(position, 1);
  ASSERT_TRUE(NextDigitGroup(digits, position, group, value));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(group.count, 2);
  EXPECT_EQ(position, -1);
  EXPECT_FALSE(NextDigitGroup(digits, position, group, value));
  std::ptrdiff_t beyond = 99;
  ASSERT_TRUE(NextDigitGroup(digits, beyond, group, value));
  EXPECT_EQ(value, 345);
  std::ptrdiff_t in_empty = 0;
  EXPECT_FALSE(NextDigitGroup("", in_empty, group, value));
}

TEST(ReadGroup, HundredsTensOnes) {
  struct Case {
    int hundreds, tens, ones, count;
    const char8_t* words;
  };
  const Case cases[] = {
      {0, 0, 0, 3, u8""},
      {1, 0, 0, 3, u8"Yüz"},
      {2, 0, 5, 3, u8"İ~kiYüz~Beş"},
      {9, 9, 9, 3, u8"DoKuzYüzDokSanDoKuz"},
      {0, 4, 0, 2, u8"Kırk"},
      {0, 0, 8, 1, u8"Se~Kiz"},
      {0, 6, 3, 2, u8"AltMışÜç"},
      {1, 1, 1, 3, u8"YüzOn~Bir"},
  };
  for (const auto& c : cases) {
    DigitGroup group;
    group.digits = {c.ones, c.tens, c.hundreds};
    group.count = c.count;
    EXPECT_EQ(Show(ReadGroup(group)), Show(Cp(c.words))) << c.hundreds << c.tens << c.ones;
  }
}

TEST(ScaleWord, SeparatorAndName) {
  EXPECT_EQ(ScaleWord(0), "");
  EXPECT_EQ(ScaleWord(1), "`~Bin");
  EXPECT_EQ(ScaleWord(3), "`~Mi~l~Yar");
  EXPECT_EQ(ScaleWord(21), "`ViJin~Ti~lYon");
  EXPECT_EQ(ScaleWord(22), "");
  EXPECT_EQ(ScaleWord(-1), "");
}

TEST(ReadNumber, EveryScaleNameIsReached) {
  for (std::size_t k = 1; k < ScaleNames.size(); ++k) {
    std::string digits(3 * k + 1, '0');
    digits[0] = '2';
    std::string expected = Cp(u8"İ~ki`");
    expected.append(ScaleNames[k]);
    EXPECT_EQ(Show(ReadNumber(digits)), Show(expected)) << k;
  }
}

TEST(ReadNumber, SixtySixNinesAreGroupedAndSixtySevenDigitsAreNot) {
  const std::string nines = std::string(66, '9');
  const std::string group = Cp(u8"DoKuzYüzDokSanDoKuz");
  const std::string read = ReadNumber(nines);
  const std::string top_scale = "`ViJin~Ti~lYon";
  EXPECT_EQ(read.substr(0, group.size() + top_scale.size()), group + top_scale);
  EXPECT_EQ(read.substr(read.size() - group.size()), group);
  EXPECT_EQ(read, testing::ReferenceReadNumber(nines));

  const std::string long_number = "1" + std::string(66, '0');
  EXPECT_EQ(Show(ReadNumber(long_number)), Show("~Bir" + Repeat(Cp(u8"SıFır"), 66)));
  EXPECT_EQ(ReadNumber(std::string(1000, '7')), Repeat("Ye~Di", 1000));
}

TEST(ReadNumber, ZeroGroupsAddNothing) {
  EXPECT_EQ(Show(ReadNumber("5000000007")), Show(Cp(u8"~Beş`~Mi~l~YarYe~Di")));
  EXPECT_EQ(Show(ReadNumber("1000000001000")), Show(Cp(u8"~Bir`~Tri~lYon`~Bin")));
}

TEST(ReadNumber, AgreesWithReferenceOnAllNumbersBelowTwentyThousand) {
  for (int n = 0; n < 20000; ++n) {
    const std::string digits = std::to_string(n);
    ASSERT_EQ(ReadNumber(digits), testing::ReferenceReadNumber(digits)) << n;
  }
}

TEST(ReadNumber, NonDigitsReadAsZeroDigits) {
  EXPECT_EQ(ReadNumber("1x"), "On");
  EXPECT_EQ(Show(ReadDigitByDigit("0a")), Show(Cp(u8"SıFırSıFır")));
}

}  // namespace
}  // namespace orvanel::frontend
