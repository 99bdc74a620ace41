#include "cli/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orvanel::cli {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string& error) {
  args.insert(args.begin(), "orvanel-say");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return ParseOptions(static_cast<int>(args.size()), argv.data(), error);
}

TEST(Options, DefaultsSpeakAtFifty) {
  std::string error;
  const auto o = Parse({"merhaba", "dünya"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->mode, Mode::Speak);
  EXPECT_EQ(o->speed, 50u);
  EXPECT_EQ(o->pitch, 50u);
  EXPECT_FALSE(o->waveFile);
  EXPECT_EQ(o->text, (std::vector<std::string>{"merhaba", "dünya"}));
}

TEST(Options, OptionsMayFollowTheText) {
  std::string error;
  const auto o = Parse({"merhaba", "-w", "x.wav", "--speed=0", "-p", "100", "--raw"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(*o->waveFile, "x.wav");
  EXPECT_EQ(o->speed, 0u);
  EXPECT_EQ(o->pitch, 100u);
  EXPECT_TRUE(o->raw);
  EXPECT_EQ(o->text, std::vector<std::string>{"merhaba"});
}

TEST(Options, RangesAreTheSliders) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
  };
  const Case cases[] = {
      {{"-s", "0"}, true},    {{"-s", "99"}, true},
      {{"-s", "100"}, false}, {{"-s", ""}, false},
      {{"-s", "5x"}, false},  {{"-p", "1"}, true},
      {{"-p", "100"}, true},  {{"-p", "0"}, false},
      {{"-p", "+5"}, false},  {{"-p", "99999999999"}, false},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(Parse(c.args, error).has_value(), c.ok) << c.args[0] << " '" << c.args[1] << "'";
    if (!c.ok) {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(Options, PunctuationLevels) {
  struct Case {
    std::vector<std::string> args;
    std::optional<reading::Punctuation> level;  // none: a usage error
  };
  const Case cases[] = {
      {{}, reading::Punctuation::kNone},
      {{"--punct=none"}, reading::Punctuation::kNone},
      {{"--punct", "some"}, reading::Punctuation::kSome},
      {{"--punct=all", "--literal"}, reading::Punctuation::kAll},
      {{"--punct=most"}, std::nullopt},
      {{"--punct="}, std::nullopt},
      {{"--punct"}, std::nullopt},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = Parse(c.args, error);
    ASSERT_EQ(o.has_value(), c.level.has_value()) << (c.args.empty() ? "" : c.args[0]);
    if (o) {
      EXPECT_EQ(o->punctuation, *c.level);
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
}

// Prosody is on by default and off with --literal; the last of --prosody and --no-prosody wins.
TEST(Options, ProsodyIsTheDefaultButForTheLiteralReading) {
  struct Case {
    std::vector<std::string> args;
    bool prosody;
    bool literal;
  };
  const Case cases[] = {
      {{}, true, false},
      {{"--no-prosody"}, false, false},
      {{"--prosody"}, true, false},
      {{"--literal"}, false, true},
      {{"--literal", "--prosody"}, true, true},
      {{"--prosody", "--literal"}, true, true},
      {{"--prosody", "--no-prosody"}, false, false},
      {{"--no-prosody", "--prosody"}, true, false},
      {{"--literal", "--no-prosody"}, false, true},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = Parse(c.args, error);
    ASSERT_TRUE(o) << error;
    std::string args;
    for (const auto& a : c.args) args += a + " ";
    EXPECT_EQ(o->prosody, c.prosody) << args;
    EXPECT_EQ(o->literal, c.literal) << args;
  }
}

TEST(Options, ParsingTwiceGivesTheSameResult) {
  std::string error;
  ASSERT_TRUE(Parse({"-w", "a.wav", "x"}, error));
  const auto o = Parse({"-w", "b.wav", "y"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(*o->waveFile, "b.wav");
  EXPECT_EQ(o->text, std::vector<std::string>{"y"});
}

}  // namespace
}  // namespace orvanel::cli
