// Runs the built orvanel-say on real input and compares what it prints and writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "library/built_in_units.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"

namespace {

namespace fs = std::filesystem;

struct SayResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class Cli : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("orvanel-cli-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  SayResult Say(const std::vector<std::string>& args, const std::string& input = "") {
    std::ofstream(dir_ / "stdin", std::ios::binary) << input;
    std::string cmd = Quote(ORVANEL_SAY);
    for (const auto& a : args) cmd.append(1, ' ').append(Quote(a));
    cmd.append(" < ").append(Quote((dir_ / "stdin").string()));
    cmd.append(" > ").append(Quote((dir_ / "stdout").string()));
    cmd.append(" 2> ").append(Quote((dir_ / "stderr").string()));
    const int raw = std::system(cmd.c_str());
    SayResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(dir_ / "stdout");
    r.err = ReadFile(dir_ / "stderr");
    return r;
  }

  fs::path dir_;
};

struct PhoneticCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  std::string expected;
};

class CliPhonetic : public Cli, public testing::WithParamInterface<PhoneticCase> {};

// The transcriptions of the flat voice: the stress marks of the default prosody are left out.
TEST_P(CliPhonetic, PrintsTranscription) {
  const auto& c = GetParam();
  std::vector<std::string> args = c.args;
  args.insert(args.begin(), "--no-prosody");
  const SayResult r = Say(args, c.input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, c.expected);
  EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    EndToEnd, CliPhonetic,
    testing::Values(
        PhoneticCase{"SampleSentencesFromArguments",
                     {"--phonetic", "Türkçe Konuşma Programı.", "Törkiş TextTuSpiiç Sintisayzır."},
                     "",
                     "Tür~kÇe KoNuşMa PRogRaMı. Tör~Kiş Te~kstTus~Piİç SinTiSayZır.\n"},
        PhoneticCase{
            "ArgumentsJoinedBySingleBlanks", {"--phonetic", "kitap", "12"}, "", "~KiTap Onİ~ki\n"},
        PhoneticCase{"StandardInputLineBreaksComeBackAsLineFeeds",
                     {"--phonetic"},
                     "12\nbilgi\n",
                     "Onİ~ki\x18\n~Bi~l~Gi\x18\n"},
        PhoneticCase{
            "ExistingCarriageReturnLineFeedStaysOnePair", {"--phonetic"}, "12\r\n", "Onİ~ki\x18\n"},
        PhoneticCase{"EscapesAndBraces", {"--phonetic", "\\s \\su {DoKuz}"}, "", "şee Şu DoKuz\n"},
        PhoneticCase{"ProsePunctuationIsAPause",
                     {"--phonetic", "Bu (ara) söz."},
                     "",
                     "Bu \x11"
                     "ARa\x12 Söz.\n"},
        PhoneticCase{"PunctuationLevelAllNamesIt",
                     {"--phonetic", "--punct=all", "Bu; söz."},
                     "",
                     "Bu NokTaLı Vir~Gü~l\x16 Söz NokTa.\n"},
        PhoneticCase{"LiteralNamesThePunctuation",
                     {"--phonetic", "--literal", "--punct=none", "Bu; söz."},
                     "",
                     "BuNokTaLı` Vir~Gü~l Söz.\n"},
        PhoneticCase{"EmojiBecomesABlankNotAQuestionMark",
                     {"--phonetic",
                      "a\xF0\x9F\x98\x80"
                      "b"},
                     "",
                     "aa Bee\n"},
        PhoneticCase{
            "ZeroByteOnInputBecomesABlank", {"--phonetic"}, std::string("a\0b", 3), "aa Bee\n"},
        PhoneticCase{"DoubleDashEndsOptions", {"--phonetic", "--", "-5"}, "", "E~kSi~Beş\n"}),
    [](const auto& info) { return info.param.name; });

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

class CliUsage : public Cli, public testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsage, RefusedWithExitTwoAndOneLine) {
  const SayResult r = Say(GetParam().args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("orvanel-say: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("--help"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    BadUsage, CliUsage,
    testing::Values(UsageCase{"SpeedTooHigh", {"--speed", "100", "x"}},
                    UsageCase{"SpeedNotANumber", {"-s", "fast", "x"}},
                    UsageCase{"PitchZero", {"--pitch", "0", "x"}},
                    UsageCase{"PitchTooHigh", {"--pitch=101", "x"}},
                    UsageCase{"RateTooLow", {"-r", "24", "x"}},
                    UsageCase{"RateTooHigh", {"--rate=401", "x"}},
                    UsageCase{"SemitonesTooHigh", {"--semitones=6.5", "x"}},
                    UsageCase{"SemitonesNotANumber", {"--semitones", "up", "x"}},
                    UsageCase{"NegativePitch", {"--pitch", "-5", "x"}},
                    UsageCase{"UnknownOption", {"--loud", "x"}},
                    UsageCase{"MissingValue", {"x", "-w"}},
                    UsageCase{"RawWithoutFile", {"--raw", "x"}},
                    UsageCase{"UnitWithoutFile", {"--unit", "A_1"}},
                    UsageCase{"PhoneticTwice", {"--phonetic", "--phonetic-input", "x"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Cli, HelpAndVersion) {
  SayResult r = Say({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: orvanel-say", 0), 0u);
  r = Say({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "orvanel-say (Orvanel) 2.3\n");
}

TEST_F(Cli, InvalidUtf8IsRefusedWithItsOffsetAndNothingPrinted) {
  const SayResult r = Say({"--phonetic"},
                          "ab\xFC"
                          "cd");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("byte offset 2"), std::string::npos) << r.err;
}

// --- Speech written to a file -----------------------------------------------------------------

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
         static_cast<unsigned char>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::string Unit(const char* name) { return ReadFile(fs::path(ORVANEL_UNITS_DIR) / name); }

// The glide as the renderer defines it, written out independently: how many samples a vowel of
// n samples keeps after a glide of `steps` steps of 0.2 with the early bump.
std::uint32_t GlidedLength(std::uint32_t n, int steps) {
  const double d = static_cast<float>(steps * 0.2);
  double pos = 0.0;
  std::uint32_t i = 0;
  while (pos < n) {
    const float e = static_cast<float>(5.0 * i / n);
    pos += 1.0 +
           d * std::exp(-static_cast<double>(e)) * (1.0 - std::pow(2.0, -static_cast<double>(e)));
    ++i;
  }
  return i;
}

TEST_F(Cli, ConsonantsAndPausesGiveExactlyTheirSamples) {
  const auto file = dir_ / "out.wav";
  const SayResult r = Say({"--phonetic-input", "-w", file.string(), "B, B."});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string wav = ReadFile(file);
  const std::string b = Unit("B_PRE");
  // B, a 100 ms comma (2205 samples), a 1 ms blank (22), B, a 700 ms sentence end (15435).
  const std::size_t samples = b.size() / 2 + 2205 + 22 + b.size() / 2 + 15435;
  ASSERT_EQ(wav.size(), 44 + 2 * samples);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(Le32(wav, 4), 36 + 2 * samples);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le32(wav, 24), 22050u);
  EXPECT_EQ(Le32(wav, 28), 44100u);
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(Le32(wav, 40), 2 * samples);
  const std::string data = wav.substr(44);
  EXPECT_EQ(data.substr(0, b.size()), b);
  EXPECT_EQ(data.substr(b.size(), 2 * 2227), std::string(2 * 2227, '\0'));
  EXPECT_EQ(data.substr(b.size() + 2 * 2227, b.size()), b);
  EXPECT_EQ(data.substr(2 * b.size() + 2 * 2227), std::string(2 * 15435, '\0'));
}

TEST_F(Cli, VowelLengthFollowsSpeedStressAndGlide) {
  // "Bee." at speed 50: B whole, a 255 ms vowel of 28 periods (5432 samples) glided by one step,
  // then 700 ms of silence.
  const auto file = dir_ / "bee.raw";
  const SayResult r =
      Say({"--no-prosody", "--raw", "-w", file.string(), "--phonetic-input", "Bee."});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t b = Unit("B_PRE").size() / 2;
  ASSERT_EQ(Unit("E_1").size(), 388u);
  EXPECT_EQ(ReadFile(file).size() / 2, b + GlidedLength(5432, 1) + 15435);
}

TEST_F(Cli, PitchSetsTheRateAndWavGoesToStandardOutput) {
  const SayResult r = Say({"-w", "-", "--pitch", "100", "--phonetic-input", "B"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_GE(r.out.size(), 44u);
  EXPECT_EQ(Le32(r.out, 24), 33075u);
  EXPECT_EQ(r.out.substr(44), Unit("B_PRE"));
}

TEST_F(Cli, UnwritableFileFailsAndLeavesNothingBehind) {
  const auto file = dir_ / "no-such-dir" / "out.wav";
  const SayResult r = Say({"-w", file.string(), "merhaba"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(file));
  // A failed rename leaves no temporary file beside the target either.
  fs::create_directories(dir_ / "target.wav");
  const SayResult r2 = Say({"-w", (dir_ / "target.wav").string(), "merhaba"});
  EXPECT_EQ(r2.status, 1);
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename().string().find(".target.wav."), std::string::npos);
}

TEST_F(Cli, StretchLongerThanTheBufferIsCutWithAWarning) {
  // One vowel of 30000 merged letters lasts far longer than one stretch holds.
  const auto file = dir_ / "long.raw";
  const SayResult r = Say({"--no-prosody", "--raw", "-w", file.string(), "--phonetic-input",
                           std::string(30000, 'a') + ". B"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: line 1, column 1: "), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  // The vowel takes as many whole periods as the buffer holds (5405 x 194 = 1,048,570 samples)
  // before its glide; the sentence end still fits after the glide has shortened it, and the
  // second stretch (a 1 ms blank and B) follows complete.
  const std::size_t expected = GlidedLength(5405 * 194, 1) + 15435 + 22 + Unit("B_PRE").size() / 2;
  EXPECT_EQ(ReadFile(file).size() / 2, expected);
}

TEST_F(Cli, SegmentsArePrintedPerStretch) {
  const SayResult r = Say({"--no-prosody", "--segments", "--phonetic-input", "Bee.x"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "stretch 1 (characters 0 to 3):\n"
            "  onset      B  index  0  back set\n"
            "  vowel      e  index  3  count 2  length 100%  glide 1 step early\n"
            "  sentence end  700 ms\n"
            "stretch 2 (characters 4 to 4):\n"
            "  coda       x  index 43  back set\n");
}

TEST_F(Cli, UnitsAreListedAndWritten) {
  SayResult r = Say({"--units"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 56);
  EXPECT_NE(r.out.find("A_1          388 bytes    194 samples     8.8 ms\n"), std::string::npos)
      << r.out;
  const auto file = dir_ / "b.wav";
  r = Say({"--unit", "B_PRE", "-w", file.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(file).substr(44), Unit("B_PRE"));
  r = Say({"--unit", "NOPE", "-w", file.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("NOPE"), std::string::npos);
}

// --- Output targets, streaming, -f and volume --------------------------------------------------

constexpr char kTwoSentences[] = "Merhaba d\xC3\xBCnya. Bu bir denemedir.";

// Runs a shell command line with orvanel-say as $SAY; returns its exit status.
int Shell(const std::string& line) {
  const std::string cmd = "SAY=" + Quote(ORVANEL_SAY) + " bash -c " + Quote(line);
  const int raw = std::system(cmd.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Files like ".speech.wav.XXXXXX" that a failed or direct write must not leave behind.
int HiddenTemporaries(const fs::path& dir) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(dir))
    n += entry.path().filename().string().rfind('.', 0) == 0 ? 1 : 0;
  return n;
}

// Reads everything a FIFO or socket receives, on its own thread.
class Drain {
 public:
  explicit Drain(std::function<int()> open) {
    thread_ = std::thread([this, open] {
      const int fd = open();
      char buf[65536];
      for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;) data_.append(buf, n);
      if (fd >= 0) ::close(fd);
    });
  }
  std::string Wait() {
    thread_.join();
    return data_;
  }

 private:
  std::thread thread_;
  std::string data_;
};

TEST_F(Cli, SeekableTargetsGetExactSizesAndStreamsTheLargest) {
  const auto file = dir_ / "speech.wav";
  ASSERT_EQ(Say({"-w", file.string(), kTwoSentences}).status, 0);
  const std::string wav = ReadFile(file);
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(Le32(wav, 40), wav.size() - 44);

  // Standard output redirected to a file can seek too.
  const SayResult toFile = Say({"-w", "-", kTwoSentences});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, wav);

  // Through a pipe the sizes are unknown: 0xFFFFFFFF, and the samples are the same.
  ASSERT_EQ(Shell("$SAY -w - '" + std::string(kTwoSentences) + "' | cat > " +
                  Quote((dir_ / "piped.wav").string())),
            0);
  const std::string piped = ReadFile(dir_ / "piped.wav");
  ASSERT_EQ(piped.size(), wav.size());
  EXPECT_EQ(Le32(piped, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Le32(piped, 40), 0xFFFFFFFFu);
  EXPECT_EQ(piped.substr(8, 32), wav.substr(8, 32));
  EXPECT_EQ(piped.substr(44), wav.substr(44));

  // Appended output cannot be filled in afterwards, so it is a stream too.
  ASSERT_EQ(Shell("echo -n x > " + Quote((dir_ / "a.wav").string()) + "; $SAY -w - '" +
                  kTwoSentences + "' >> " + Quote((dir_ / "a.wav").string())),
            0);
  const std::string appended = ReadFile(dir_ / "a.wav");
  EXPECT_EQ(Le32(appended, 5), 0xFFFFFFFFu);
  EXPECT_EQ(appended.substr(45), wav.substr(44));
}

TEST_F(Cli, AFifoIsWrittenAndStaysAFifo) {
  const auto fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Drain reader([&] { return ::open(fifo.c_str(), O_RDONLY); });
  EXPECT_EQ(Say({"-w", fifo.string(), kTwoSentences}).status, 0);
  const std::string got = reader.Wait();
  ASSERT_EQ(Say({"-w", (dir_ / "file.wav").string(), kTwoSentences}).status, 0);
  const std::string file = ReadFile(dir_ / "file.wav");
  EXPECT_EQ(got.substr(44), file.substr(44));
  EXPECT_EQ(Le32(got, 40), 0xFFFFFFFFu);
  struct stat st {};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Cli, CharacterDevicesAreWrittenNeverReplaced) {
  // Private nodes with the numbers of the null and full devices.
  const auto null = dir_ / "null";
  const auto full = dir_ / "full";
  if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make device nodes here (needs root)";
  }
  const SayResult ok = Say({"-w", null.string(), kTwoSentences});
  EXPECT_EQ(ok.status, 0) << ok.err;
  const SayResult fullResult = Say({"-w", full.string(), kTwoSentences});
  EXPECT_EQ(fullResult.status, 1);
  EXPECT_EQ(fullResult.err,
            "orvanel-say: cannot write " + full.string() + ": No space left on device\n");
  for (const auto& node : {null, full}) {
    struct stat st {};
    ASSERT_EQ(::lstat(node.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << node;
  }
  EXPECT_EQ(HiddenTemporaries(dir_), 0);
}

TEST_F(Cli, ASymbolicLinkIsFollowedAndItsTargetWritten) {
  const auto target = dir_ / "target.wav";
  const auto link = dir_ / "link.wav";
  fs::create_symlink("target.wav", link);  // dangling: the target is made
  ASSERT_EQ(Say({"-w", link.string(), "Bir."}).status, 0);
  EXPECT_TRUE(fs::is_symlink(link));
  ASSERT_TRUE(fs::is_regular_file(target));
  const std::string first = ReadFile(target);
  ASSERT_EQ(Say({"-w", link.string(), kTwoSentences}).status, 0);  // and then replaced
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_GT(ReadFile(target).size(), first.size());
  EXPECT_EQ(Le32(ReadFile(target), 40), ReadFile(target).size() - 44);
}

TEST_F(Cli, ASocketIsConnectedAndWritten) {
  const auto path = dir_ / "sock";
  const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(server, 1), 0);
  Drain reader([&] { return ::accept(server, nullptr, nullptr); });
  EXPECT_EQ(Say({"-w", path.string(), "--raw", kTwoSentences}).status, 0);
  const std::string got = reader.Wait();
  ::close(server);
  ASSERT_EQ(Say({"-w", (dir_ / "file.raw").string(), "--raw", kTwoSentences}).status, 0);
  EXPECT_EQ(got, ReadFile(dir_ / "file.raw"));
}

TEST_F(Cli, AClosedPipeIsAWriteErrorNotADeathBySignal) {
  const std::string status = (dir_ / "status").string();
  const std::string err = (dir_ / "err").string();
  Shell("$SAY -w - '" + std::string(kTwoSentences) + " " + kTwoSentences + "' 2> " + Quote(err) +
        " | head -c 10 > /dev/null; echo ${PIPESTATUS[0]} > " + Quote(status));
  EXPECT_EQ(ReadFile(status), "1\n");
  EXPECT_EQ(ReadFile(err), "orvanel-say: cannot write to standard output: Broken pipe\n");
}

TEST_F(Cli, BadInputFromAPipeLeavesNoFileAndKeepsTheOldOne) {
  const auto file = dir_ / "speech.wav";
  std::ofstream(file) << "old";
  const std::string err = (dir_ / "err").string();
  EXPECT_EQ(
      Shell("printf 'Merhaba.\\n\\377' | $SAY -w " + Quote(file.string()) + " 2> " + Quote(err)),
      1);
  EXPECT_EQ(ReadFile(err), "orvanel-say: input is not valid UTF-8 (byte offset 9)\n");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(HiddenTemporaries(dir_), 0);
}

// 150 words with no sentence end last over a minute, longer than one stretch holds: every word
// is still spoken, at the normal rate and at half of it. The literal reading keeps its cut and
// names where the lost speech begins.
TEST_F(Cli, ALongSentenceIsSpokenWholeAtEveryRate) {
  std::string text;
  for (int k = 0; k < 150; ++k) text += k % 2 ? "masa " : "kalem ";
  struct Case {
    std::vector<std::string> options;
    double atLeastSeconds;
    bool warned;
  };
  const Case cases[] = {
      {{}, 55, false},
      {{"-r", "50"}, 110, false},
      {{"--literal"}, 47, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--raw", "-w", (dir_ / "long.raw").string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(text);
    const SayResult r = Say(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const double seconds = static_cast<double>(fs::file_size(dir_ / "long.raw")) / 2 / 22050;
    EXPECT_GT(seconds, c.atLeastSeconds) << c.options.size();
    EXPECT_EQ(r.err.find("warning: line 1, column ") != std::string::npos, c.warned) << r.err;
  }
}

// Ctrl-C or SIGTERM while a file is written: the hidden temporary goes, the old file stays.
TEST_F(Cli, ASignalDuringWriteLeavesNoTemporary) {
  const auto text = dir_ / "long.txt";
  {
    std::ofstream out(text);
    for (int k = 0; k < 20000; ++k) out << "Bu uzun bir metnin bir cümlesidir.\n";
  }
  for (const int signal : {SIGINT, SIGTERM}) {
    const auto file = dir_ / "speech.wav";
    std::ofstream(file) << "old";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, STDERR_FILENO);
      ::execl(ORVANEL_SAY, ORVANEL_SAY, "-w", file.c_str(), "-f", text.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Wait until it writes.
    for (int k = 0; k < 1000 && HiddenTemporaries(dir_) == 0; ++k)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(HiddenTemporaries(dir_), 1);
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(HiddenTemporaries(dir_), 0) << signal;
    EXPECT_EQ(ReadFile(file), "old");
  }
}

// A file written over keeps its permissions; a new one gets the usual ones.
TEST_F(Cli, AReplacedFileKeepsItsPermissions) {
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0600), fs::perms(0664)}) {
    const auto file = dir_ / "speech.wav";
    std::ofstream(file) << "old";
    fs::permissions(file, mode);
    ASSERT_EQ(Say({"-w", file.string(), "Bir."}).status, 0);
    EXPECT_EQ(fs::status(file).permissions(), mode);
    EXPECT_NE(ReadFile(file), "old");
    fs::remove(file);
  }
  const mode_t mask = ::umask(022);
  ASSERT_EQ(Say({"-w", (dir_ / "new.wav").string(), "Bir."}).status, 0);
  ::umask(mask);
  EXPECT_EQ(fs::status(dir_ / "new.wav").permissions(), fs::perms(0644));
}

TEST_F(Cli, TextFromAFileIsTheSameAsFromArguments) {
  const auto text = dir_ / "text.txt";
  std::ofstream(text) << kTwoSentences;
  const SayResult fromArgs = Say({"--phonetic", kTwoSentences});
  const SayResult fromFile = Say({"--phonetic", "-f", text.string()});
  const SayResult fromStdin = Say({"--phonetic", "--file=-"}, kTwoSentences);
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, fromArgs.out);
  EXPECT_EQ(fromStdin.out, fromArgs.out);
  ASSERT_EQ(Say({"-w", (dir_ / "a.raw").string(), "--raw", "-f", text.string()}).status, 0);
  ASSERT_EQ(Say({"-w", (dir_ / "b.raw").string(), "--raw", kTwoSentences}).status, 0);
  EXPECT_EQ(ReadFile(dir_ / "a.raw"), ReadFile(dir_ / "b.raw"));

  const SayResult missing = Say({"-f", (dir_ / "nope.txt").string(), "-w", "-"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "orvanel-say: cannot read " + (dir_ / "nope.txt").string() +
                             ": No such file or directory\n");
  EXPECT_EQ(missing.out, "");
  const SayResult both = Say({"-f", text.string(), "merhaba"});
  EXPECT_EQ(both.status, 2);
  // A bad byte in a file is found before anything is written.
  std::ofstream(dir_ / "bad.txt") << "Merhaba. Merhaba.\n\xFF";
  const SayResult bad = Say({"-w", "-", "-f", (dir_ / "bad.txt").string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "orvanel-say: input is not valid UTF-8 (byte offset 18)\n");
}

TEST_F(Cli, VolumeScalesTheSamples) {
  std::string pcm[3];
  const char* volumes[] = {"100", "50", "200"};
  for (int k = 0; k < 3; ++k) {
    const auto file = dir_ / (std::string("v") + volumes[k] + ".raw");
    ASSERT_EQ(Say({"--raw", "-w", file.string(), "-a", volumes[k], kTwoSentences}).status, 0);
    pcm[k] = ReadFile(file);
  }
  ASSERT_EQ(Say({"--raw", "-w", (dir_ / "plain.raw").string(), kTwoSentences}).status, 0);
  EXPECT_EQ(pcm[0], ReadFile(dir_ / "plain.raw"));
  ASSERT_EQ(pcm[1].size(), pcm[0].size());
  ASSERT_EQ(pcm[2].size(), pcm[0].size());
  const auto* s = reinterpret_cast<const std::int16_t*>(pcm[0].data());
  const auto* half = reinterpret_cast<const std::int16_t*>(pcm[1].data());
  const auto* twice = reinterpret_cast<const std::int16_t*>(pcm[2].data());
  for (std::size_t i = 0; i < pcm[0].size() / 2; ++i) {
    ASSERT_LE(std::abs(2 * half[i] - s[i]), 1) << i;
    ASSERT_EQ(twice[i], std::clamp(2 * s[i], -32768, 32767)) << i;
  }
  EXPECT_EQ(Say({"-a", "201", "x"}).status, 2);
}

// The designed path, in process: the whole text transcribed, then stretch after stretch.
std::string DesignedPcm(const std::string& utf8, unsigned speed, unsigned pitch) {
  orvanel::synth::UnitInventory units;
  std::string error;
  EXPECT_EQ(orvanel::library::LoadBuiltInUnits(units, error), 1) << error;
  std::string cp, phonetic;
  orvanel::codepage::DecodeError bad;
  EXPECT_TRUE(orvanel::codepage::Utf8ToCp1254(utf8, cp, bad));
  orvanel::frontend::TextToPhonetic(cp, phonetic);
  std::string pcm;
  orvanel::synth::SegmentList list;
  orvanel::synth::SampleBuffer buffer;
  std::int32_t position = 0;
  while (orvanel::synth::PlanStretch(phonetic, position, list)) {
    buffer.Begin(orvanel::synth::kStretchCapacityBytes, static_cast<std::uint16_t>(pitch));
    for (std::size_t i = 0; i < list.Size(); ++i)
      orvanel::synth::RenderSegment(list[i], orvanel::synth::BuildEnvelope(list, i),
                                    static_cast<std::uint16_t>(speed), units, buffer);
    pcm.append(reinterpret_cast<const char*>(buffer.Samples()), buffer.SampleCount() * 2);
    buffer.Release();
  }
  return pcm;
}

TEST_F(Cli, LiteralSpeechIsTheDesignedPcmFromArgumentsFilesAndPipes) {
  std::ifstream sentences(ORVANEL_SENTENCES);
  std::string text, line;
  for (int i = 0; i < 150 && std::getline(sentences, line); ++i) text += line + "\n";
  std::ofstream(dir_ / "text.txt") << text;
  for (const auto& [speed, pitch] : {std::pair{"50", "50"}, {"10", "90"}}) {
    const std::string expected = DesignedPcm(text, std::stoi(speed), std::stoi(pitch));
    const auto file = dir_ / "out.raw";
    ASSERT_EQ(Say({"--literal", "--raw", "-s", speed, "-p", pitch, "-w", file.string(), "-f",
                   (dir_ / "text.txt").string()})
                  .status,
              0);
    EXPECT_TRUE(ReadFile(file) == expected) << "file, speed " << speed;
    const SayResult piped = Say({"--literal", "--raw", "-s", speed, "-p", pitch, "-w", "-"}, text);
    EXPECT_TRUE(piped.out == expected) << "stdin, speed " << speed;
  }
}

TEST_F(Cli, ProsodyShowsStressMarksAndPitchTargets) {
  const SayResult phonetic = Say({"--prosody", "--phonetic", "Eve geliyor musun?"});
  EXPECT_EQ(phonetic.status, 0) << phonetic.err;
  EXPECT_EQ(phonetic.out, "EVe` ~Ge~Li`Yor MuSun?\n");
  // Prosody is the default; --no-prosody and --literal leave the marks out.
  EXPECT_EQ(Say({"--phonetic", "Eve geliyor musun?"}).out, phonetic.out);
  const SayResult plain = Say({"--no-prosody", "--phonetic", "Eve geliyor musun?"});
  EXPECT_EQ(plain.out, "EVe ~Ge~LiYor MuSun?\n");
  EXPECT_EQ(Say({"--literal", "--phonetic", "Eve geliyor musun?"}).out, plain.out);

  const SayResult segments = Say({"--prosody", "--segments", "Eve geliyor musun?"});
  EXPECT_EQ(segments.status, 0);
  EXPECT_NE(segments.out.find("  tune: yes/no question\n"), std::string::npos) << segments.out;
  // "yor", the syllable before the particle, carries the peak at the limit.
  EXPECT_NE(segments.out.find("vowel      o  index  9  count 1  length 100%  glide 0 steps early"
                              "  pitch +6.00 to +6.00 st\n"),
            std::string::npos)
      << segments.out;
  // The last vowel is held longer before the sentence's end (-0 is printed as +0).
  EXPECT_NE(segments.out.find("  pitch +1.00 to -2.00 st  held 140%\n"), std::string::npos)
      << segments.out;
  EXPECT_EQ(segments.out.find("-0.00"), std::string::npos) << segments.out;
  EXPECT_EQ(Say({"--no-prosody", "--segments", "Eve geliyor musun?"}).out.find("pitch"),
            std::string::npos);

  const auto tuned = dir_ / "tuned.raw";
  const auto flat = dir_ / "flat.raw";
  ASSERT_EQ(Say({"--prosody", "--raw", "-w", tuned.string(), "Eve geliyor musun?"}).status, 0);
  const auto byDefault = dir_ / "default.raw";
  ASSERT_EQ(Say({"--no-prosody", "--raw", "-w", flat.string(), "Eve geliyor musun?"}).status, 0);
  ASSERT_EQ(Say({"--raw", "-w", byDefault.string(), "Eve geliyor musun?"}).status, 0);
  EXPECT_NE(ReadFile(tuned), ReadFile(flat));
  EXPECT_EQ(ReadFile(tuned), ReadFile(byDefault));
}

}  // namespace
