// The module as the server meets it: the module binary (over a fake voice) driven through its
// standard input and output, with every reply and event checked in order.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "library/built_in_units.h"
#include "library/synthesizer.h"
#include "speechd/audio_event.h"
#include "speechd/module_settings.h"

extern char** environ;

namespace orvanel::speechd {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The module process, with its events read back as tokens: each text line as it is, and each
// 705 event as "AUDIO n" (n samples at 22050 Hz, all 0x7D0A) or "AUDIO n @rate", or "BAD AUDIO".
class ModuleProcess {
 public:
  explicit ModuleProcess(int stretchMs = 5, bool initError = false,
                         const char* binary = SD_ORVANEL_FAKE, std::string extraEnv = {}) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    env.push_back("FAKE_STRETCH_MS=" + std::to_string(stretchMs));
    if (initError) env.push_back("FAKE_INIT_ERROR=1");
    if (!extraEnv.empty()) env.push_back(extraEnv);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const char* argv[] = {binary, nullptr};
    if (posix_spawn(&pid_, binary, &actions, nullptr, const_cast<char* const*>(argv),
                    envp.data()) != 0)
      pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toModule_ = in[1];
    fromModule_ = out[0];
    signal(SIGPIPE, SIG_IGN);
  }
  ~ModuleProcess() {
    CloseInput();
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (fromModule_ >= 0) close(fromModule_);
  }

  bool Running() const { return pid_ > 0; }
  void Send(std::string_view text) {
    while (!text.empty()) {
      const ssize_t n = write(toModule_, text.data(), text.size());
      if (n <= 0) return;
      text.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  void CloseInput() {
    if (toModule_ >= 0) close(toModule_);
    toModule_ = -1;
  }

  // The next token, or nothing when none came within timeout.
  std::optional<std::string> Next(std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
      if (auto token = Parse()) return token;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left <= 0ms) return std::nullopt;
      pollfd p{fromModule_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[65536];
      const ssize_t n = read(fromModule_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Reads tokens until one equal to last (included), at most within timeout.
  std::vector<std::string> ReadUntil(const std::string& last,
                                     std::chrono::milliseconds timeout = 5000ms) {
    std::vector<std::string> tokens;
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
      auto t = Next(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
      if (!t) break;
      tokens.push_back(*t);
      if (*t == last) break;
    }
    return tokens;
  }
  // The exit status once the process has ended within timeout, or -1.
  int WaitExit(std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(5ms);
    }
    return -1;
  }
  bool Alive() { return pid_ > 0 && !exited_ && waitpid(pid_, nullptr, WNOHANG) == 0; }
  // The samples of every audio event read so far, in order; emptied.
  std::vector<std::int16_t> TakeSamples() { return std::exchange(samples_, {}); }

 private:
  std::optional<std::string> Parse() {
    const std::string audio = std::string("705-AUDIO") + '\0';
    if (buffer_.starts_with(audio)) {
      const std::size_t end = buffer_.find('\n');
      const std::string tail = "\n705 AUDIO\n";
      if (end == std::string::npos || buffer_.size() < end + tail.size()) return std::nullopt;
      std::string bytes;
      const bool unescaped =
          Unescape(std::string_view(buffer_).substr(audio.size(), end - audio.size()), bytes);
      const bool framed = buffer_.compare(end, tail.size(), tail) == 0;
      buffer_.erase(0, end + tail.size());
      bool samplesRight = bytes.size() % 2 == 0;
      for (std::size_t i = 0; samplesRight && i < bytes.size(); i += 2)
        samplesRight = bytes[i] == '\x0A' && bytes[i + 1] == '\x7D';
      const std::string n = std::to_string(bytes.size() / 2);
      const std::string expected =
          "bits=16,num_channels=1,sample_rate=" + rate_ + ",num_samples=" + n + ",big_endian=0,";
      std::string token = header_ == expected && unescaped && framed ? "AUDIO " + n : "BAD AUDIO";
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples_.push_back(static_cast<std::int16_t>(
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
      if (token != "BAD AUDIO" && !samplesRight) token += " (other samples)";
      if (token != "BAD AUDIO" && rate_ != "22050") token += " @" + rate_;
      header_.clear();
      return token;
    }
    const std::size_t end = buffer_.find('\n');
    if (end == std::string::npos) return std::nullopt;
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    if (line.starts_with("705-") && line.find('=') != std::string::npos) {
      header_ += line.substr(4) + ",";
      if (line.starts_with("705-sample_rate=")) rate_ = line.substr(16);
      return Parse();
    }
    return line;
  }

  pid_t pid_ = 0;
  bool exited_ = false;
  int toModule_ = -1;
  int fromModule_ = -1;
  std::string buffer_;
  std::string header_;
  std::string rate_;
  std::vector<std::int16_t> samples_;
};

using Tokens = std::vector<std::string>;

const std::string kSetDefaults =
    "SET\npitch=0\npitch_range=0\nrate=0\nvolume=100\npunctuation_mode=none\n"
    "spelling_mode=off\ncap_let_recogn=none\nvoice=male1\nlanguage=tr\nsynthesis_voice=\n.\n";

std::string Speak(const std::string& ssml) { return "SPEAK\n" + ssml + "\n.\n"; }

std::string Words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "kelime ";
  return text;
}

class ModuleConversation : public testing::Test {
 protected:
  // INIT and AUDIO as the server starts a module.
  static void Start(ModuleProcess& m) {
    ASSERT_TRUE(m.Running());
    m.Send("INIT\nAUDIO\naudio_output_method=server\n.\n");
    EXPECT_EQ(m.ReadUntil("203 OK AUDIO INITIALIZED"),
              (Tokens{"299-Orvanel: Turkish synthesis ready", "299 OK LOADED SUCCESSFULLY",
                      "207 OK RECEIVING AUDIO SETTINGS", "203 OK AUDIO INITIALIZED"}));
  }
  // Checks one whole message: its start, any audio, and exactly one terminal event.
  static void ExpectOneMessage(const Tokens& tokens, const std::string& terminal) {
    ASSERT_GE(tokens.size(), 4u);
    EXPECT_EQ(tokens[0], "202 OK RECEIVING MESSAGE");
    EXPECT_EQ(tokens[1], "200 OK SPEAKING");
    EXPECT_EQ(tokens[2], "701 BEGIN");
    EXPECT_EQ(tokens.back(), terminal);
    for (std::size_t i = 3; i + 1 < tokens.size(); ++i) EXPECT_EQ(tokens[i], "AUDIO 600") << i;
  }
};

TEST_F(ModuleConversation, AnswersTheServersSetUp) {
  ModuleProcess m;
  Start(m);
  m.Send("LOGLEVEL\nlog_level=5\n.\nLIST VOICES\n" + kSetDefaults +
         "DEBUG ON /tmp/x\nDEBUG OFF\nHELLO\n");
  EXPECT_EQ(
      m.ReadUntil("300 ERR UNKNOWN COMMAND"),
      (Tokens{"207 OK RECEIVING LOGLEVEL SETTINGS", "203 OK LOGLEVEL SET", "200-Orvanel\ttr\tnone",
              "200 OK VOICE LIST SENT", "207 OK RECEIVING SETTINGS", "203 OK SETTINGS RECEIVED",
              "200 OK DEBUGGING ON", "200 OK DEBUGGING OFF", "300 ERR UNKNOWN COMMAND"}));
}

TEST_F(ModuleConversation, RefusesToPlayItselfWithoutAPlayer) {
  ModuleProcess m;
  ASSERT_TRUE(m.Running());
  m.Send("AUDIO\naudio_output_method=pulse\n.\n");
  EXPECT_EQ(m.ReadUntil("300 MODULE ERROR"), (Tokens{"207 OK RECEIVING AUDIO SETTINGS",
                                                     "300-only server audio", "300 MODULE ERROR"}));
}

TEST_F(ModuleConversation, SpeaksEachStretchAsAnAudioEvent) {
  ModuleProcess m;
  Start(m);
  m.Send(kSetDefaults + Speak("<speak>bir iki üç</speak>"));
  EXPECT_EQ(
      m.ReadUntil("702 END"),
      (Tokens{"207 OK RECEIVING SETTINGS", "203 OK SETTINGS RECEIVED", "202 OK RECEIVING MESSAGE",
              "200 OK SPEAKING", "701 BEGIN", "AUDIO 300", "AUDIO 300", "AUDIO 400", "702 END"}));
}

TEST_F(ModuleConversation, SendsEachMarkAfterTheAudioBeforeIt) {
  ModuleProcess m;
  Start(m);
  m.Send(
      Speak("<speak><mark name=\"m0\"/>bir.<mark name=\"__spd_0\"/> iki üç."
            "<mark name=\"__spd_1\"/><mark name=\"__spd_2\"/>dört</speak>"));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "700-m0",
                    "700 INDEX MARK", "AUDIO 400", "700-__spd_0", "700 INDEX MARK", "AUDIO 300",
                    "AUDIO 500", "700-__spd_1", "700 INDEX MARK", "700-__spd_2", "700 INDEX MARK",
                    "AUDIO 500", "702 END"}));
}

TEST_F(ModuleConversation, BreaksAreSilenceOfTheirLengthAndEmptyMessagesStillEnd) {
  ModuleProcess m;
  Start(m);
  // The server sends a message only after the previous one has ended.
  m.Send(Speak("a<break time=\"100ms\"/>b"));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 100",
                    "AUDIO 735 (other samples)", "AUDIO 735 (other samples)",
                    "AUDIO 735 (other samples)", "AUDIO 100", "702 END"}));
  m.Send(Speak("<speak></speak>"));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "702 END"}));
  m.Send("CHAR\n\xFF\n.\n");
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "702 END"}));
}

TEST_F(ModuleConversation, OnlyThePausesAfterTheMessagesLastSoundAreLeftOut) {
  // Each sentence's pause is a block of 50 silent samples; the last one is not sent, unless a
  // break still follows it.
  ModuleProcess m(5, false, SD_ORVANEL_FAKE, "FAKE_SENTENCE_PAUSE=1");
  Start(m);
  m.Send(Speak("<speak>bir. iki.<mark name=\"__spd_0\"/> üç.<mark name=\"__spd_1\"/></speak>"));
  EXPECT_EQ(
      m.ReadUntil("702 END"),
      (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 400",
              "AUDIO 50 (other samples)", "AUDIO 400", "AUDIO 50 (other samples)", "700-__spd_0",
              "700 INDEX MARK", "AUDIO 500", "700-__spd_1", "700 INDEX MARK", "702 END"}));
  m.Send(Speak("<speak>bir.<break time=\"10ms\"/></speak>"));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 400",
                    "AUDIO 50 (other samples)", "AUDIO 220 (other samples)", "702 END"}));
}

// The silence a token stream begins with after 701 BEGIN, in samples, and the token after it.
std::pair<std::size_t, std::string> LeadingSilence(const Tokens& tokens) {
  std::size_t samples = 0, i = 3;
  for (; i < tokens.size() && tokens[i].ends_with("(other samples)"); ++i)
    samples += std::stoul(tokens[i].substr(6));
  return {samples, i < tokens.size() ? tokens[i] : ""};
}

TEST_F(ModuleConversation, AMessageRightAfterTheLastOneBeginsWithAShortGap) {
  ModuleProcess m(5, false, SD_ORVANEL_FAKE, "FAKE_MESSAGE_GAP_MS=250");
  Start(m);
  m.Send(Speak("bir"));
  EXPECT_EQ(m.ReadUntil("702 END").back(), "702 END");
  // The first message's 300 samples are still playing: 250 ms of silence lead, less the little
  // time since their end.
  m.Send(Speak("iki"));
  Tokens tokens = m.ReadUntil("702 END");
  auto [lead, next] = LeadingSilence(tokens);
  EXPECT_GE(lead, 22050u / 5) << tokens.size();
  EXPECT_LE(lead, 22050u / 4);
  EXPECT_EQ(next, "AUDIO 300");
  // A message sent more than 100 ms after that audio ended (about 264 ms from its start) was not
  // waiting behind it and starts at once, though less than the gap has passed; so does one
  // after a stop.
  std::this_thread::sleep_for(420ms);
  m.Send(Speak("üç"));
  tokens = m.ReadUntil("702 END");
  ASSERT_GE(tokens.size(), 4u);
  EXPECT_EQ(tokens[3], "AUDIO 400");
  m.Send(Speak(Words(500)));
  EXPECT_EQ(m.ReadUntil("AUDIO 600").back(), "AUDIO 600");
  m.Send("STOP\n");
  EXPECT_EQ(m.ReadUntil("703 STOP").back(), "703 STOP");
  m.Send(Speak("dört"));
  tokens = m.ReadUntil("702 END");
  ASSERT_GE(tokens.size(), 4u);
  EXPECT_EQ(tokens[3], "AUDIO 500");
  // At four times the rate, a quarter of the gap.
  m.Send("SET\nrate=100\n.\n" + Speak("beş"));
  tokens = m.ReadUntil("702 END");
  m.Send(Speak("altı"));
  tokens = m.ReadUntil("702 END");
  std::tie(lead, next) = LeadingSilence(tokens);
  EXPECT_GE(lead, 22050u / 20);
  EXPECT_LE(lead, 22050u / 16 + 1);
}

TEST_F(ModuleConversation, APauseDuringTheGapStillEndsAtTheNextMark) {
  // A gap longer than the second of audio the pacing sends ahead, so that the pause comes while
  // the gap is being sent.
  ModuleProcess m(5, false, SD_ORVANEL_FAKE, "FAKE_MESSAGE_GAP_MS=1500");
  Start(m);
  m.Send(Speak("bir"));
  EXPECT_EQ(m.ReadUntil("702 END").back(), "702 END");
  m.Send(Speak("iki.<mark name=\"__spd_0\"/> üç."));
  EXPECT_EQ(m.ReadUntil("701 BEGIN"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN"}));
  std::this_thread::sleep_for(200ms);
  m.Send("PAUSE\n");
  const Tokens rest = m.ReadUntil("704 PAUSE", 5000ms);
  ASSERT_GE(rest.size(), 4u);
  EXPECT_EQ(Tokens(rest.end() - 4, rest.end()),
            (Tokens{"AUDIO 400", "700-__spd_0", "700 INDEX MARK", "704 PAUSE"}));
}

TEST_F(ModuleConversation, CharKeyAndSoundIconAreSpoken) {
  ModuleProcess m;
  Start(m);
  // "yumuşak ge", "sayfa aşağı", "message new": two stretches each (100 samples a byte).
  const std::pair<const char*, const char*> messages[] = {
      {"CHAR\nğ\n.\n", "AUDIO 200"},
      {"KEY\nnext\n.\n", "AUDIO 800"},
      {"SOUND_ICON\nmessage-new\n.\n", "AUDIO 300"}};
  for (const auto& [message, second] : messages) {
    m.Send(message);
    const Tokens tokens = m.ReadUntil("702 END");
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[2], "701 BEGIN");
    EXPECT_EQ(tokens[4], second);
    EXPECT_EQ(tokens[5], "702 END");
  }
}

TEST_F(ModuleConversation, StopEndsTheMessageAtOnceAndTheNextOnePlays) {
  ModuleProcess m(20);
  Start(m);
  m.Send(Speak(Words(500)));
  EXPECT_EQ(m.ReadUntil("AUDIO 600"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 600"}));
  const auto stopped = Clock::now();
  m.Send("STOP\n");
  const Tokens rest = m.ReadUntil("703 STOP", 2000ms);
  const auto took = Clock::now() - stopped;
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.back(), "703 STOP");
  EXPECT_LE(rest.size(), 2u);  // at most the stretch already under way
  EXPECT_LT(took, 200ms);
  m.Send(Speak("bir"));
  EXPECT_EQ(m.ReadUntil("702 END"), (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING",
                                            "701 BEGIN", "AUDIO 300", "702 END"}));
}

TEST_F(ModuleConversation, StopAndPauseWhenIdleSayNothing) {
  ModuleProcess m;
  Start(m);
  m.Send("STOP\nPAUSE\nSTOP\nLIST VOICES\n");
  EXPECT_EQ(m.Next(), "200-Orvanel\ttr\tnone");
  m.Send(Speak("bir"));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"200 OK VOICE LIST SENT", "202 OK RECEIVING MESSAGE", "200 OK SPEAKING",
                    "701 BEGIN", "AUDIO 300", "702 END"}));
}

TEST_F(ModuleConversation, PauseStopsAtTheNextMarkAfterItsAudio) {
  ModuleProcess m(20);
  Start(m);
  m.Send(
      Speak("bir iki üç dört beş altı.<mark name=\"__spd_0\"/> yedi sekiz."
            "<mark name=\"__spd_1\"/> dokuz."));
  EXPECT_EQ(m.ReadUntil("AUDIO 300"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 300"}));
  m.Send("PAUSE\n");
  const Tokens rest = m.ReadUntil("704 PAUSE");
  EXPECT_EQ(rest, (Tokens{"AUDIO 300", "AUDIO 400", "AUDIO 500", "AUDIO 400", "AUDIO 600",
                          "700-__spd_0", "700 INDEX MARK", "704 PAUSE"}));
  m.Send("LIST VOICES\n");
  EXPECT_EQ(m.Next(), "200-Orvanel\ttr\tnone");  // nothing more of the paused message
}

TEST_F(ModuleConversation, PauseWithoutAMarkAheadPausesAtOnce) {
  ModuleProcess m(20);
  Start(m);
  m.Send(Speak("bir.<mark name=\"__spd_0\"/> " + Words(500)));
  EXPECT_EQ(m.ReadUntil("AUDIO 600"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 400",
                    "700-__spd_0", "700 INDEX MARK", "AUDIO 600"}));
  m.Send("PAUSE\n");
  const Tokens rest = m.ReadUntil("704 PAUSE", 1000ms);
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.back(), "704 PAUSE");
  EXPECT_LE(rest.size(), 2u);
}

TEST_F(ModuleConversation, ASpeakWhileSpeakingStopsTheFirstMessage) {
  ModuleProcess m(20);
  Start(m);
  m.Send(Speak(Words(500)));
  EXPECT_EQ(m.ReadUntil("AUDIO 600").size(), 4u);
  m.Send(Speak("bir"));
  Tokens rest = m.ReadUntil("702 END");
  ASSERT_GE(rest.size(), 6u);
  EXPECT_EQ(rest[0], "202 OK RECEIVING MESSAGE");
  rest.erase(rest.begin(), rest.end() - 5);
  EXPECT_EQ(rest, (Tokens{"703 STOP", "200 OK SPEAKING", "701 BEGIN", "AUDIO 300", "702 END"}));
}

TEST_F(ModuleConversation, BadInputNeverLosesTheProtocol) {
  ModuleProcess m;
  Start(m);
  m.Send("\x01\x02garbage\n\xFF\xFE\n");
  EXPECT_EQ(m.ReadUntil("300 ERR UNKNOWN COMMAND"), (Tokens{"300 ERR UNKNOWN COMMAND"}));
  EXPECT_EQ(m.ReadUntil("300 ERR UNKNOWN COMMAND"), (Tokens{"300 ERR UNKNOWN COMMAND"}));
  // Malformed markup is read as text: "a", "<b", "c", "<mark", "name=x/>", "&bogus;", "</speak".
  m.Send(Speak("<speak>a <b c <mark name=x/> &bogus; </say-as></speak"));
  EXPECT_EQ(
      m.ReadUntil("702 END"),
      (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 100", "AUDIO 200",
              "AUDIO 100", "AUDIO 500", "AUDIO 800", "AUDIO 700", "AUDIO 700", "702 END"}));
  // Invalid UTF-8 and the zero byte become blanks.
  m.Send(Speak(std::string("bir \xC3\x28 \0 iki", 12)));
  EXPECT_EQ(m.ReadUntil("702 END"),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 300",
                    "AUDIO 100", "AUDIO 300", "702 END"}));
  m.Send("SET\nrate=fast\nvolume=\nnoequals\n=\n.\nLIST VOICES\n");
  EXPECT_EQ(m.ReadUntil("200 OK VOICE LIST SENT"),
            (Tokens{"207 OK RECEIVING SETTINGS", "203 OK SETTINGS RECEIVED",
                    "200-Orvanel\ttr\tnone", "200 OK VOICE LIST SENT"}));
}

TEST_F(ModuleConversation, AMegabyteMessageIsTakenAndStopped) {
  ModuleProcess m(2);
  Start(m);
  const std::string text = Words((1 << 20) / 7 + 1);
  m.Send(Speak("<speak>" + text + "</speak>"));
  const Tokens first = m.ReadUntil("AUDIO 600");
  EXPECT_EQ(first,
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "AUDIO 600"}));
  m.Send("STOP\n");
  const Tokens rest = m.ReadUntil("703 STOP");
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.back(), "703 STOP");
}

TEST_F(ModuleConversation, AHundredSpeakStopPairsEachEndOnce) {
  ModuleProcess m(2);
  Start(m);
  int terminals = 0;
  for (int i = 0; i < 100; ++i) {
    m.Send(Speak(Words(50)) + "STOP\n");
    Tokens tokens;
    while (auto t = m.Next()) {
      tokens.push_back(*t);
      if (*t == "702 END" || *t == "703 STOP" || *t == "704 PAUSE") break;
    }
    ASSERT_FALSE(tokens.empty()) << "message " << i;
    ExpectOneMessage(tokens, tokens.back() == "702 END" ? "702 END" : "703 STOP");
    ++terminals;
  }
  EXPECT_EQ(terminals, 100);
  m.Send("LIST VOICES\n");
  EXPECT_EQ(m.Next(), "200-Orvanel\ttr\tnone");
  EXPECT_TRUE(m.Alive());
}

TEST_F(ModuleConversation, ExitsCleanlyWhenTheServerClosesItsEnd) {
  ModuleProcess m(20);
  Start(m);
  m.Send(Speak(Words(500)));
  EXPECT_EQ(m.ReadUntil("AUDIO 600").size(), 4u);
  m.CloseInput();
  const Tokens rest = m.ReadUntil("703 STOP");
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.back(), "703 STOP");
  EXPECT_EQ(m.WaitExit(), 0);
}

TEST_F(ModuleConversation, QuitAnswersAndExits) {
  ModuleProcess m;
  Start(m);
  m.Send("QUIT\n");
  EXPECT_EQ(m.Next(), "210 OK QUIT");
  EXPECT_EQ(m.WaitExit(), 0);
}

TEST_F(ModuleConversation, AFailedInitIsReportedAndEndsTheModule) {
  ModuleProcess m(5, true);
  ASSERT_TRUE(m.Running());
  m.Send("INIT\n");
  EXPECT_EQ(m.ReadUntil("399 ERR CANT INIT MODULE"),
            (Tokens{"399-no units", "399 ERR CANT INIT MODULE"}));
  EXPECT_EQ(m.WaitExit(), 1);
}

// What the library renders for text at the voice that the server's SET of volume gives, the
// silence after its last sound left out when trim is set.
std::vector<std::int16_t> LibrarySamples(std::string_view text, int volume, bool trim) {
  static library::BuiltInVoice builtIn;
  static std::string error;
  static const int loaded = library::LoadBuiltInVoice(builtIn, error);
  EXPECT_EQ(loaded, 1) << error;
  library::Synthesizer synthesizer(builtIn.units, &builtIn.voice);
  library::VoiceSettings voice;
  ApplyVoiceControls(MapVoiceControls(0, 0, volume), voice);
  std::vector<std::int16_t> samples;
  library::Delivery delivery;
  delivery.stretch = [&](const library::Stretch& s) {
    samples.insert(samples.end(), s.samples, s.samples + s.sampleCount);
    return true;
  };
  delivery.trimFinalSilence = trim;
  synthesizer.Speak(text, library::TextEncoding::kUtf8, voice, delivery);
  return samples;
}

// Speech that the literal reading could not hold is logged with where it begins, whether the
// server takes the audio in blocks or the module plays whole stretches.
TEST_F(ModuleConversation, LostSpeechIsLoggedByLineAndColumn) {
  const std::string log = testing::TempDir() + "sd_orvanel_lost_" + std::to_string(getpid());
  std::remove(log.c_str());
  {
    ModuleProcess m(0, false, SD_ORVANEL_FAKE, "FAKE_LOG_FILE=" + log);
    Start(m);
    m.Send(Speak("bir iki"));
    EXPECT_EQ(m.ReadUntil("702 END").back(), "702 END");
    m.Send(Speak("bir LOST iki"));
    EXPECT_EQ(m.ReadUntil("702 END").back(), "702 END");
  }
  std::ifstream in(log);
  ASSERT_TRUE(in) << log;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(log.c_str());
  EXPECT_EQ(text.find("speech lost"), text.rfind("speech lost")) << text;  // once
  EXPECT_NE(text.find("speech lost: 1234 samples from line 1, column 5"), std::string::npos)
      << text;
}

// The real module, with the library's voice: the same conversation, real speech, in events of
// at most 40 ms, sample for sample what the library renders.
TEST_F(ModuleConversation, TheRealModuleSpeaksStopsAndExits) {
  ModuleProcess m(0, false, SD_ORVANEL);
  Start(m);
  m.Send(kSetDefaults + "LIST VOICES\n" +
         Speak("<speak>Merhaba.<mark name=\"__spd_0\"/> Bir iki."
               "</speak>"));
  const Tokens tokens = m.ReadUntil("702 END", 20000ms);
  ASSERT_GT(tokens.size(), 12u);
  EXPECT_EQ(Tokens(tokens.begin(), tokens.begin() + 7),
            (Tokens{"207 OK RECEIVING SETTINGS", "203 OK SETTINGS RECEIVED",
                    "200-Orvanel\ttr\tnone", "200 OK VOICE LIST SENT", "202 OK RECEIVING MESSAGE",
                    "200 OK SPEAKING", "701 BEGIN"}));
  // Audio, the mark, audio, the end; every event holds at most 882 samples.
  std::size_t mark = 0;
  for (std::size_t i = 7; i + 1 < tokens.size(); ++i) {
    if (tokens[i] == "700-__spd_0") {
      EXPECT_EQ(mark, 0u);
      mark = i;
    } else if (i != mark + 1 || mark == 0) {
      ASSERT_TRUE(tokens[i].starts_with("AUDIO ") && tokens[i].ends_with("(other samples)"))
          << tokens[i];
      EXPECT_LE(std::stoul(tokens[i].substr(6)), 882u) << i;
    }
  }
  ASSERT_GT(mark, 7u);
  EXPECT_EQ(tokens[mark + 1], "700 INDEX MARK");
  EXPECT_LT(mark + 2, tokens.size() - 1);
  EXPECT_EQ(tokens.back(), "702 END");
  // "Merhaba." with the pause after it, " Bir iki." without: the message's last pause is left
  // out, and the rest is the library's rendering.
  std::vector<std::int16_t> expected = LibrarySamples("Merhaba.", 100, false);
  const std::vector<std::int16_t> last = LibrarySamples(" Bir iki.", 100, true);
  EXPECT_LT(last.size(), LibrarySamples(" Bir iki.", 100, false).size());
  expected.insert(expected.end(), last.begin(), last.end());
  const std::vector<std::int16_t> got = m.TakeSamples();
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << i;

  // A long message is stopped at once; a closed input then ends the module.
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Bu uzun bir denemedir, otuz saniye kadar sürecek. ";
  m.Send(Speak(text));
  EXPECT_EQ(m.ReadUntil("701 BEGIN", 20000ms),
            (Tokens{"202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN"}));
  m.Send("STOP\n");
  const Tokens rest = m.ReadUntil("703 STOP", 5000ms);
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.back(), "703 STOP");
  // The pacing keeps at most a second of audio ahead of playback (counted from the first event).
  std::size_t ahead = 0;
  for (const std::string& t : rest)
    if (t.starts_with("AUDIO ")) ahead += std::stoul(t.substr(6));
  EXPECT_LE(ahead, 22050u + 882u);
  m.CloseInput();
  EXPECT_EQ(m.WaitExit(10000ms), 0);
}

// Without server audio the module plays through the ALSA device itself (here a file PCM that
// appends every stretch): the same events, and the samples the server would have had.
TEST_F(ModuleConversation, TheRealModulePlaysItselfWhenTheServerTakesNoAudio) {
  const std::string raw = testing::TempDir() + "sd_orvanel_alsa_" + std::to_string(getpid());
  std::remove(raw.c_str());
  const std::string message = Speak("<speak>Merhaba.<mark name=\"__spd_0\"/> Bir iki.</speak>");
  std::size_t serverSamples = 0;
  {
    ModuleProcess m(0, false, SD_ORVANEL);
    Start(m);
    m.Send(message);
    for (const std::string& t : m.ReadUntil("702 END", 20000ms))
      if (t.starts_with("AUDIO ")) serverSamples += std::stoul(t.substr(6));
  }
  ModuleProcess m(0, false, SD_ORVANEL, "ORVANEL_PCM=file:'|cat >> " + raw + "',raw");
  ASSERT_TRUE(m.Running());
  m.Send("INIT\nAUDIO\naudio_output_method=alsa\n.\n" + message);
  EXPECT_EQ(m.ReadUntil("702 END", 20000ms),
            (Tokens{"299-Orvanel: Turkish synthesis ready", "299 OK LOADED SUCCESSFULLY",
                    "207 OK RECEIVING AUDIO SETTINGS", "203 OK AUDIO INITIALIZED",
                    "202 OK RECEIVING MESSAGE", "200 OK SPEAKING", "701 BEGIN", "700-__spd_0",
                    "700 INDEX MARK", "702 END"}));
  m.CloseInput();
  EXPECT_EQ(m.WaitExit(10000ms), 0);
  std::FILE* f = std::fopen(raw.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  const long bytes = std::ftell(f);
  std::fclose(f);
  std::remove(raw.c_str());
  EXPECT_GT(serverSamples, 22050u / 2);
  EXPECT_EQ(static_cast<std::size_t>(bytes), 2 * serverSamples);
}

}  // namespace
}  // namespace orvanel::speechd
