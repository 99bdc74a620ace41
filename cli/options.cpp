#include "cli/options.h"

#include <getopt.h>

#include <charconv>

namespace orvanel::cli {
namespace {

bool ParseNumber(const char* text, unsigned lo, unsigned hi, unsigned& value) {
  const std::string_view s(text);
  unsigned v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v < lo || v > hi)
    return false;
  value = v;
  return true;
}

enum LongOnly {
  kPhonetic = 256,
  kPhoneticInput,
  kSegments,
  kRaw,
  kUnits,
  kUnit,
  kVersion,
  kLiteral,
  kSemitones,
  kProsody,
  kNoProsody,
  kPunct,
};

// A decimal number such as "-2.5" in [lo, hi].
bool ParseDecimal(const char* text, float lo, float hi, float& value) {
  const std::string_view s(text);
  float v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || !(v >= lo) || !(v <= hi))
    return false;
  value = v;
  return true;
}

}  // namespace

std::string UsageText() {
  return "Usage: orvanel-say [OPTION]... [TEXT]...\n"
         "Speak Turkish TEXT, or standard input when no TEXT is given.\n"
         "\n"
         "  -f, --file=FILE       read the text from FILE ('-' is standard input)\n"
         "  -w, --wave=FILE       write the speech to FILE as WAV instead of speaking\n"
         "                        ('-' writes to standard output, as it is rendered)\n"
         "      --raw             with -w, write headerless 16-bit mono PCM\n"
         "  -s, --speed=N         0 (fastest) to 99 (slowest); default 50\n"
         "  -p, --pitch=N         1 (lowest) to 100 (highest); default 50\n"
         "  -a, --volume=PERCENT  0 to 200; default 100 (louder saturates)\n"
         "  -r, --rate=PERCENT    speaking rate, 25 to 400 percent of normal; default 100\n"
         "                        (scales the timing that --speed gives, without a pitch change;\n"
         "                        above 100 closures and noise shrink most, bursts and two\n"
         "                        periods of every vowel stay)\n"
         "      --semitones=N     pitch shift, -6 to 6 (decimals allowed); default 0 (keeps the\n"
         "                        tempo and the vowels' formants; --pitch still applies on top)\n"
         "      --literal         read the text exactly as written, without the Turkish\n"
         "                        reading of numbers, dates, abbreviations and signs, in the\n"
         "                        flat voice (no prosody unless --prosody is given)\n"
         "      --punct=LEVEL     punctuation said aloud: none (default; prose punctuation\n"
         "                        is heard as pauses), some (also signs such as # * _ by\n"
         "                        name), all (every mark by name)\n"
         "      --no-prosody      a flat voice: no word stress and no sentence intonation\n"
         "      --prosody         Turkish word stress and sentence intonation (the default\n"
         "                        but with --literal): statements fall, questions with mI\n"
         "                        peak before it, phrases rise or fall at their punctuation\n"
         "      --phonetic        print the phonetic transcription and exit\n"
         "                        (with prosody, with the stress marks)\n"
         "      --phonetic-input  the text is already phonetic notation\n"
         "      --segments        print the planned segments of every stretch\n"
         "                        (with prosody, each vowel's pitch targets)\n"
         "      --units           list the 56 built-in sound units\n"
         "      --unit=NAME       with -w, write one sound unit\n"
         "  -h, --help            show this help and exit\n"
         "      --version         show the version and exit\n"
         "\n"
         "Typing rules: \\c \\g \\i \\o \\s \\u (and capitals) give ç ğ ı ö ş ü;\n"
         "{...} passes phonetic notation through unchanged.\n"
         "A WAV stream to a pipe, FIFO or device has no exact length (its sizes are\n"
         "0xFFFFFFFF); a file gets its sizes filled in and is replaced only when complete.\n"
         "Environment: ORVANEL_PCM names the ALSA device to play on (default \"default\").\n"
         "Exit status: 0 on success, 1 on failure, 2 on bad usage.\n";
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  static const option kLong[] = {
      {"wave", required_argument, nullptr, 'w'},
      {"file", required_argument, nullptr, 'f'},
      {"volume", required_argument, nullptr, 'a'},
      {"rate", required_argument, nullptr, 'r'},
      {"semitones", required_argument, nullptr, kSemitones},
      {"literal", no_argument, nullptr, kLiteral},
      {"prosody", no_argument, nullptr, kProsody},
      {"no-prosody", no_argument, nullptr, kNoProsody},
      {"punct", required_argument, nullptr, kPunct},
      {"speed", required_argument, nullptr, 's'},
      {"pitch", required_argument, nullptr, 'p'},
      {"help", no_argument, nullptr, 'h'},
      {"phonetic", no_argument, nullptr, kPhonetic},
      {"phonetic-input", no_argument, nullptr, kPhoneticInput},
      {"segments", no_argument, nullptr, kSegments},
      {"raw", no_argument, nullptr, kRaw},
      {"units", no_argument, nullptr, kUnits},
      {"unit", required_argument, nullptr, kUnit},
      {"version", no_argument, nullptr, kVersion},
      {nullptr, 0, nullptr, 0},
  };
  Options o;
  std::optional<bool> prosody;  // as the last of --prosody and --no-prosody asked
  opterr = 0;
  optind = 0;  // also resets getopt's state, so parsing can run more than once
  int c;
  while ((c = getopt_long(argc, argv, ":w:f:a:r:s:p:h", kLong, nullptr)) != -1) {
    switch (c) {
      case 'w':
        o.waveFile = optarg;
        break;
      case 's':
        if (!ParseNumber(optarg, 0, 99, o.speed)) {
          error = std::string("speed must be a whole number from 0 to 99, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      case 'p':
        if (!ParseNumber(optarg, 1, 100, o.pitch)) {
          error = std::string("pitch must be a whole number from 1 to 100, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      case 'f':
        o.textFile = optarg;
        break;
      case 'a':
        if (!ParseNumber(optarg, 0, 200, o.volume)) {
          error = std::string("volume must be a whole number from 0 to 200, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      case 'r':
        if (!ParseNumber(optarg, 25, 400, o.ratePercent)) {
          error = std::string("rate must be a whole number from 25 to 400, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      case kSemitones:
        if (!ParseDecimal(optarg, -6.f, 6.f, o.semitones)) {
          error = std::string("semitones must be a number from -6 to 6, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      case kLiteral:
        o.literal = true;
        break;
      case kProsody:
        prosody = true;
        break;
      case kNoProsody:
        prosody = false;
        break;
      case kPunct: {
        const std::string_view level(optarg);
        if (level == "none") {
          o.punctuation = reading::Punctuation::kNone;
        } else if (level == "some") {
          o.punctuation = reading::Punctuation::kSome;
        } else if (level == "all") {
          o.punctuation = reading::Punctuation::kAll;
        } else {
          error = std::string("punctuation must be none, some or all, not '") + optarg + "'";
          return std::nullopt;
        }
        break;
      }
      case 'h':
        o.mode = Mode::Help;
        break;
      case kVersion:
        o.mode = Mode::Version;
        break;
      case kPhonetic:
        o.mode = Mode::Phonetic;
        break;
      case kSegments:
        o.mode = Mode::Segments;
        break;
      case kUnits:
        o.mode = Mode::Units;
        break;
      case kPhoneticInput:
        o.phoneticInput = true;
        break;
      case kRaw:
        o.raw = true;
        break;
      case kUnit:
        o.unit = optarg;
        break;
      case ':':
        error = std::string("option '") + argv[optind - 1] + "' needs a value";
        return std::nullopt;
      default: {
        const std::string opt =
            optopt ? std::string("-") + static_cast<char>(optopt) : std::string(argv[optind - 1]);
        error = "unknown option '" + opt + "'";
        return std::nullopt;
      }
    }
  }
  for (int i = optind; i < argc; ++i) o.text.emplace_back(argv[i]);
  o.prosody = prosody.value_or(!o.literal);
  if (o.mode == Mode::Help || o.mode == Mode::Version) return o;
  if (o.raw && !o.waveFile) {
    error = "--raw needs -w FILE";
    return std::nullopt;
  }
  if (o.unit && !o.waveFile) {
    error = "--unit needs -w FILE";
    return std::nullopt;
  }
  if (o.textFile && !o.text.empty()) {
    error = "-f FILE and text arguments exclude each other";
    return std::nullopt;
  }
  if (o.unit && o.textFile) {
    error = "--unit takes no text";
    return std::nullopt;
  }
  if (o.unit && !o.text.empty()) {
    error = "--unit takes no text";
    return std::nullopt;
  }
  if (o.phoneticInput && o.mode == Mode::Phonetic) {
    error = "--phonetic and --phonetic-input exclude each other";
    return std::nullopt;
  }
  if (o.waveFile && o.mode != Mode::Speak) {
    error = "-w cannot be combined with --phonetic, --segments or --units";
    return std::nullopt;
  }
  return o;
}

}  // namespace orvanel::cli
