#include <gtest/gtest.h>

#include <string>

#include "cli/speak.h"
#include "frontend/text_to_phonetic.h"

namespace orvanel::cli {
namespace {

TEST(AsLiteralText, FrontEndGivesBackExactlyThePhoneticText) {
  const std::string cases[] = {
      "Bee.",       "~KiTap Onİ~ki", "a}b",        "}}x{y",     "Ka\r\nYa",
      "\\",         "a\\\\b\\",      "{{{",        "",          "\r",
      "x\\}\\\r\\", "Da`BIlYuu^|~",  "12 + 3 = 4", "\\C\\s\\u",
  };
  for (const auto& phonetic : cases) {
    std::string typed = AsLiteralText(phonetic);
    std::string back;
    frontend::TextToPhonetic(typed, back);
    EXPECT_EQ(back, phonetic) << "typed: " << AsLiteralText(phonetic);
  }
}

}  // namespace
}  // namespace orvanel::cli
