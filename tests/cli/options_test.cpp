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

// How the text is read: the punctuation level, the literal reading and prosody, which is on by
// default and off with --literal; the last of --prosody and --no-prosody wins.
TEST(Options, ReadingPunctuationAndProsody) {
  using P = reading::Punctuation;
  struct Case {
    std::vector<std::string> args;
    bool ok;
    P level = P::kNone;
    bool prosody = true;
    bool literal = false;
  };
  const Case cases[] = {
      {{}, true},
      {{"--punct=none"}, true, P::kNone},
      {{"--punct", "some"}, true, P::kSome},
      {{"--punct=all", "--literal"}, true, P::kAll, false, true},
      {{"--punct=most"}, false},
      {{"--punct="}, false},
      {{"--punct"}, false},
      {{"--no-prosody"}, true, P::kNone, false},
      {{"--prosody"}, true},
      {{"--literal"}, true, P::kNone, false, true},
      {{"--literal", "--prosody"}, true, P::kNone, true, true},
      {{"--prosody", "--literal"}, true, P::kNone, true, true},
      {{"--prosody", "--no-prosody"}, true, P::kNone, false},
      {{"--no-prosody", "--prosody"}, true},
      {{"--literal", "--no-prosody"}, true, P::kNone, false, true},
  };
  for (const auto& c : cases) {
    std::string error, args;
    for (const auto& a : c.args) args += a + " ";
    const auto o = Parse(c.args, error);
    ASSERT_EQ(o.has_value(), c.ok) << args;
    if (!o) {
      EXPECT_FALSE(error.empty()) << args;
      continue;
    }
    EXPECT_EQ(o->punctuation, c.level) << args;
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
