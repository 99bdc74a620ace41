#include "speechd/audio_event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvanel::speechd {
namespace {

struct EscapeCase {
  std::string raw;
  std::string escaped;
};

TEST(AudioEscaping, EscapesLineFeedAndTheEscapeByteOnly) {
  const EscapeCase cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"\n", "}*"},
      {"}", "}]"},
      {"\n}\n", "}*}]}*"},
      {std::string("\0\r*]", 4), std::string("\0\r*]", 4)},
      {"\xFF\x0A\x7D\x5D", "\xFF}*}]\x5D"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendEscaped(c.raw, out);
    EXPECT_EQ(out, c.escaped);
    std::string back;
    EXPECT_TRUE(Unescape(out, back));
    EXPECT_EQ(back, c.raw);
  }
}

TEST(AudioEscaping, EveryByteRoundTripsAndNoLineFeedRemains) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string escaped;
  AppendEscaped(all, escaped);
  EXPECT_EQ(escaped.size(), 258u);
  EXPECT_EQ(escaped.find('\n'), std::string::npos);
  std::string back;
  ASSERT_TRUE(Unescape(escaped, back));
  EXPECT_EQ(back, all);
}

TEST(AudioEscaping, AnEscapeAtTheEndIsAnError) {
  std::string out;
  EXPECT_FALSE(Unescape("ab}", out));
}

TEST(AudioEvent, HasTheServersExactFraming) {
  const std::vector<std::int16_t> samples = {0x0102, 0x7D0A, -1};
  std::string event;
  AppendAudioEvent(samples.data(), samples.size(), 16538, event);
  const std::string expected = std::string(
                                   "705-bits=16\n705-num_channels=1\n705-sample_rate=16538\n"
                                   "705-num_samples=3\n705-big_endian=0\n705-AUDIO") +
                               '\0' + "\x02\x01}*}]\xFF\xFF\n705 AUDIO\n";
  EXPECT_EQ(event, expected);
}

TEST(AudioEvent, NoSamplesStillFramesAnEvent) {
  std::string event;
  AppendAudioEvent(nullptr, 0, 22050, event);
  EXPECT_NE(event.find("705-num_samples=0\n"), std::string::npos);
  EXPECT_TRUE(event.ends_with(std::string("705-AUDIO") + '\0' + "\n705 AUDIO\n"));
}

}  // namespace
}  // namespace orvanel::speechd
