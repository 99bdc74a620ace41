#include "speechd/protocol_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvanel::speechd {
namespace {

using Type = ProtocolEvent::Type;

// The events as short strings: "+SPEAK" when a block starts, "SPEAK[data]" or
// "SET{k=v,...}" when a command is complete.
std::vector<std::string> Describe(const std::vector<ProtocolEvent>& events) {
  std::vector<std::string> out;
  for (const auto& e : events) {
    if (e.type == Type::kBlockStarted) {
      out.push_back("+" + e.command.line);
      continue;
    }
    std::string d = e.command.line;
    if (!e.command.values.empty()) {
      d += "{";
      for (const auto& [k, v] : e.command.values) d += k + "=" + v + ",";
      d += "}";
    }
    const auto k = e.command.kind;
    if (k == CommandKind::kSpeak || k == CommandKind::kChar || k == CommandKind::kKey ||
        k == CommandKind::kSoundIcon)
      d += "[" + e.command.data + "]";
    if (e.command.truncated) d += "(cut)";
    out.push_back(d);
  }
  return out;
}

std::vector<std::string> Read(const std::string& input) {
  ProtocolReader reader;
  std::vector<ProtocolEvent> events;
  reader.Feed(input, events);
  return Describe(events);
}

struct ReaderCase {
  const char* name;
  std::string input;
  std::vector<std::string> events;
};

class ProtocolReading : public testing::TestWithParam<ReaderCase> {};

TEST_P(ProtocolReading, GivesTheEvents) { EXPECT_EQ(Read(GetParam().input), GetParam().events); }

// Split at every byte, the same input gives the same events.
TEST_P(ProtocolReading, DoesNotDependOnHowTheBytesArrive) {
  ProtocolReader reader;
  std::vector<ProtocolEvent> events;
  for (const char c : GetParam().input) reader.Feed(std::string_view(&c, 1), events);
  EXPECT_EQ(Describe(events), GetParam().events);
}

const ReaderCase kCases[] = {
    {"Init", "INIT\n", {"INIT"}},
    {"SimpleCommands",
     "STOP\nPAUSE\nQUIT\nLIST VOICES\n",
     {"STOP", "PAUSE", "QUIT", "LIST VOICES"}},
    {"CarriageReturnsAndBlanks", "INIT\r\n  STOP \n", {"INIT", "  STOP "}},
    {"EmptyLinesIgnored", "\n\nINIT\n", {"INIT"}},
    {"Unknown", "HELLO\nspeak\n", {"HELLO", "speak"}},
    {"Audio",
     "AUDIO\naudio_output_method=server\n.\n",
     {"+AUDIO", "AUDIO{audio_output_method=server,}"}},
    {"Set",
     "SET\nrate=-20\npitch = 5\nvoice=male1\nnonsense\n.\n",
     {"+SET", "SET{rate=-20,pitch=5,voice=male1,}"}},
    {"ValueWithEquals", "SET\nsynthesis_voice=a=b\n.\n", {"+SET", "SET{synthesis_voice=a=b,}"}},
    {"Speak", "SPEAK\n<speak>Merhaba</speak>\n.\n", {"+SPEAK", "SPEAK[<speak>Merhaba</speak>]"}},
    {"SpeakManyLines", "SPEAK\nbir\n\niki\n.\n", {"+SPEAK", "SPEAK[bir\n\niki]"}},
    {"DoubledDots",
     "SPEAK\n..\n...x\n..<mark name=\"a\"/>\n.\n",
     {"+SPEAK", "SPEAK[.\n..x\n.<mark name=\"a\"/>]"}},
    {"DotWithBlankIsData", "SPEAK\n. \n.\n", {"+SPEAK", "SPEAK[. ]"}},
    {"CommandsInsideDataAreData", "SPEAK\nSTOP\nQUIT\n.\n", {"+SPEAK", "SPEAK[STOP\nQUIT]"}},
    {"EmptyMessage", "SPEAK\n.\n", {"+SPEAK", "SPEAK[]"}},
    {"CharKeyIcon",
     "CHAR\nğ\n.\nKEY\nshift_a\n.\nSOUND_ICON\nmessage\n.\n",
     {"+CHAR", "CHAR[ğ]", "+KEY", "KEY[shift_a]", "+SOUND_ICON", "SOUND_ICON[message]"}},
    {"Debug", "DEBUG ON /tmp/x\nDEBUG OFF\n", {"DEBUG ON /tmp/x", "DEBUG OFF"}},
    {"UnfinishedLineWaits", "SPEAK\nabc", {"+SPEAK"}},
    {"InvalidUtf8IsData", "SPEAK\n\xFF\xFE\n.\n", {"+SPEAK", "SPEAK[\xFF\xFE]"}},
    {"ZeroBytesAreData",
     std::string("SPEAK\na\0b\n.\n", 12),
     {"+SPEAK", std::string("SPEAK[a\0b]", 10)}},
};

INSTANTIATE_TEST_SUITE_P(Table, ProtocolReading, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProtocolReader, KindsOfLines) {
  const std::pair<const char*, CommandKind> cases[] = {
      {"INIT", CommandKind::kInit},
      {"AUDIO", CommandKind::kAudio},
      {"LOGLEVEL", CommandKind::kLogLevel},
      {"SET", CommandKind::kSet},
      {"LIST VOICES", CommandKind::kListVoices},
      {"SPEAK", CommandKind::kSpeak},
      {"CHAR", CommandKind::kChar},
      {"KEY", CommandKind::kKey},
      {"SOUND_ICON", CommandKind::kSoundIcon},
      {"STOP", CommandKind::kStop},
      {"PAUSE", CommandKind::kPause},
      {"QUIT", CommandKind::kQuit},
      {"DEBUG ON f", CommandKind::kDebug},
      {"LIST", CommandKind::kUnknown},
      {"SPEAKX", CommandKind::kUnknown},
      {"DEBUGGER", CommandKind::kUnknown},
      {"", CommandKind::kUnknown},
  };
  for (const auto& [line, kind] : cases) EXPECT_EQ(KindOfLine(line), kind) << line;
}

TEST(ProtocolReader, AMegabyteMessageArrivesWhole) {
  std::string text;
  while (text.size() < (1u << 20)) text += "Merhaba dünya, bu bir denemedir. ";
  ProtocolReader reader;
  std::vector<ProtocolEvent> events;
  const std::string input = "SPEAK\n" + text + "\n.\n";
  for (std::size_t i = 0; i < input.size(); i += 4093)
    reader.Feed(std::string_view(input).substr(i, 4093), events);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].command.data, text);
  EXPECT_FALSE(events[1].command.truncated);
  EXPECT_FALSE(reader.InBlock());
}

TEST(ProtocolReader, AMessagePastTheLimitIsCutAndTheProtocolGoesOn) {
  ProtocolReader reader;
  std::vector<ProtocolEvent> events;
  reader.Feed("SPEAK\n", events);
  const std::string chunk(1 << 20, 'a');
  for (std::size_t sent = 0; sent < kMaxMessageBytes + (2u << 20); sent += chunk.size())
    reader.Feed(chunk, events);
  reader.Feed("\nsecond line\n.\nSTOP\n", events);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_TRUE(events[1].command.truncated);
  EXPECT_LE(events[1].command.data.size(), kMaxMessageBytes);
  EXPECT_EQ(events[2].command.kind, CommandKind::kStop);
}

}  // namespace
}  // namespace orvanel::speechd
