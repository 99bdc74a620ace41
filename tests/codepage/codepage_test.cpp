#include "codepage/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace orvanel::codepage {
namespace {

std::string ToCp(std::string_view utf8) {
  std::string out;
  DecodeError error;
  EXPECT_TRUE(Utf8ToCp1254(utf8, out, error)) << "offset " << error.offset;
  return out;
}

// What glibc's converter makes of one byte, or nothing where it has no mapping.
std::optional<std::string> IconvByte(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1254");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inp = in;
  char* outp = out;
  std::size_t inLeft = 1, outLeft = sizeof out;
  const std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return std::nullopt;
  return std::string(out, sizeof out - outLeft);
}

TEST(Codepage, MatchesIconvOnEveryByteItDefines) {
  int compared = 0;
  for (int b = 1; b < 256; ++b) {
    const auto expected = IconvByte(static_cast<unsigned char>(b));
    if (!expected) continue;
    ++compared;
    EXPECT_EQ(Cp1254ToUtf8(std::string(1, static_cast<char>(b))), *expected) << "byte " << b;
  }
  // 255 non-zero bytes less the seven the code page leaves undefined.
  EXPECT_EQ(compared, 248);
}

TEST(Codepage, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const auto back = CodePointToCp1254(Cp1254ToCodePoint(byte));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, byte);
  }
}

TEST(Codepage, TurkishLettersTakeTheirOwnBytes) {
  EXPECT_EQ(ToCp("ĞİŞğış"), "\xD0\xDD\xDE\xF0\xFD\xFE");
  EXPECT_EQ(ToCp("ÇÖÜçöü"), "\xC7\xD6\xDC\xE7\xF6\xFC");
  EXPECT_EQ(Cp1254ToUtf8("T\xFCrk\xE7"
                         "e"),
            "Türkçe");
  // The Latin-1 letters that Windows-1254 replaces have no place in it.
  for (char32_t cp : {U'Ð', U'Ý', U'Þ', U'ð', U'ý', U'þ'}) EXPECT_FALSE(CodePointToCp1254(cp));
}

struct Conversion {
  const char* name;
  std::string utf8;
  std::string cp1254;
};

class CodepageInput : public testing::TestWithParam<Conversion> {};

TEST_P(CodepageInput, Converts) { EXPECT_EQ(ToCp(GetParam().utf8), GetParam().cp1254); }

INSTANTIATE_TEST_SUITE_P(
    LineBreaksAndUnmappable, CodepageInput,
    testing::Values(Conversion{"BareLineFeedGainsCarriageReturn", "a\nb", "a\r\nb"},
                    Conversion{"PairStaysOnePair", "a\r\nb", "a\r\nb"},
                    Conversion{"LoneCarriageReturnStays", "a\rb", "a\rb"},
                    Conversion{"LeadingLineFeed", "\n\n", "\r\n\r\n"},
                    Conversion{"EmojiBecomesBlank",
                               "a\xF0\x9F\x98\x80"
                               "b",
                               "a b"},
                    Conversion{"CjkBecomesBlank", "\xE4\xB8\xAD", " "},
                    Conversion{"ZeroByteBecomesBlank", std::string("a\0b", 3), "a b"},
                    Conversion{"NeverAQuestionMark", "\xE2\x9C\x93", " "},
                    Conversion{"EuroSign", "\xE2\x82\xAC", "\x80"}),
    [](const auto& info) { return info.param.name; });

struct Invalid {
  const char* name;
  std::string utf8;
  std::size_t offset;
};

class CodepageInvalid : public testing::TestWithParam<Invalid> {};

TEST_P(CodepageInvalid, RefusedWithOffset) {
  std::string out;
  DecodeError error;
  EXPECT_FALSE(Utf8ToCp1254(GetParam().utf8, out, error));
  EXPECT_EQ(error.offset, GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(Utf8, CodepageInvalid,
                         testing::Values(Invalid{"Latin1Byte", "ab\xFC", 2},
                                         Invalid{"StrayContinuation", "\x80", 0},
                                         Invalid{"Truncated", "xy\xC3", 2},
                                         Invalid{"Overlong", "a\xC0\xAF", 1},
                                         Invalid{"Surrogate", "\xED\xA0\x80", 0},
                                         Invalid{"AboveUnicode", "\xF4\x90\x80\x80", 0},
                                         Invalid{"BadContinuation", "ok\xE2\x28\xA1", 2}),
                         [](const auto& info) { return info.param.name; });

TEST(Codepage, OutputTurnsPairsIntoLineFeeds) {
  EXPECT_EQ(Cp1254ToUtf8("a\r\nb\r\n"), "a\nb\n");
  EXPECT_EQ(Cp1254ToUtf8("a\rb"), "a\rb");
}

}  // namespace
}  // namespace orvanel::codepage
