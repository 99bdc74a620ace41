// orvanel-say: the command-line face of the engine, for scripts and other programs.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "cli/options.h"
#include "cli/render.h"
#include "cli/speak.h"
#include "cli/wav_file.h"
#include "frontend/text_to_phonetic.h"
#include "frontend/unit_names.h"
#include "platform/codepage.h"
#include "platform/embedded_units.h"
#include "synth/sample_buffer.h"
#include "synth/unit_inventory.h"

namespace {

using namespace orvanel;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message) {
  std::cerr << "orvanel-say: " << message << '\n';
  return kExitFailure;
}

// The text as the engine takes it: arguments joined by single blanks, or standard input.
bool ReadText(const cli::Options& o, std::string& cp1254, std::string& error) {
  std::string utf8;
  if (o.text.empty()) {
    utf8.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    for (std::size_t i = 0; i < o.text.size(); ++i) {
      if (i > 0) utf8 += ' ';
      utf8 += o.text[i];
    }
  }
  platform::DecodeError bad;
  if (!platform::Utf8ToCp1254(utf8, cp1254, bad)) {
    error = "input is not valid UTF-8 (byte offset " + std::to_string(bad.offset) + ")";
    return false;
  }
  return true;
}

bool WriteStdout(const std::string& text) {
  std::cout << text;
  std::cout.flush();
  return static_cast<bool>(std::cout);
}

int ListUnits() {
  std::string out;
  char line[96];
  for (const auto& unit : platform::EmbeddedUnitStore::All()) {
    std::snprintf(line, sizeof line, "%-9s %6zu bytes %6zu samples %7.1f ms\n", unit.name,
                  unit.size, unit.size / 2, unit.size / 2 * 1000.0 / synth::kBaseSampleRate);
    out += line;
  }
  return WriteStdout(out) ? 0 : Fail("cannot write to standard output");
}

int WriteUnit(const cli::Options& o) {
  platform::EmbeddedUnitStore store;
  std::uint16_t size = 0;
  const synth::UnitHandle handle = synth::LoadUnit(store, *o.unit, size);
  const std::int16_t* samples = synth::LockUnit(handle);
  if (samples == nullptr) return Fail("no sound unit named '" + *o.unit + "' (see --units)");
  const std::vector<std::int16_t> pcm(samples, samples + size / 2);
  std::string error;
  if (!cli::WriteSpeechFile(*o.waveFile, o.raw, synth::kBaseSampleRate, pcm, error))
    return Fail(error);
  return 0;
}

int WriteSpeech(const cli::Options& o, const std::string& phonetic) {
  platform::EmbeddedUnitStore store;
  synth::UnitInventory units;
  std::string error;
  if (!synth::LoadUnits(store, units, error)) return Fail(error);
  const cli::RenderedSpeech speech = cli::RenderPhoneticText(phonetic, o.speed, o.pitch, units);
  for (const auto& cut : speech.cut) {
    std::fprintf(stderr,
                 "orvanel-say: warning: stretch %zu is longer than one stretch can hold "
                 "(about 47.5 s at the base rate); its last %.2f s were cut\n",
                 cut.stretch, static_cast<double>(cut.droppedSamples) / synth::kBaseSampleRate);
  }
  if (!cli::WriteSpeechFile(*o.waveFile, o.raw, speech.sampleRate, speech.samples, error))
    return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = cli::ParseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "orvanel-say: " << error << "\nTry 'orvanel-say --help' for more information.\n";
    return kExitUsage;
  }
  const cli::Options& o = *options;
  switch (o.mode) {
    case cli::Mode::Help:
      return WriteStdout(cli::UsageText()) ? 0 : kExitFailure;
    case cli::Mode::Version:
      return WriteStdout("orvanel-say (Orvanel) 2.3\n") ? 0 : kExitFailure;
    case cli::Mode::Units:
      return ListUnits();
    default:
      break;
  }
  if (o.unit) return WriteUnit(o);

  std::string text;
  if (!ReadText(o, text, error)) return Fail(error);
  if (o.mode == cli::Mode::Speak && !o.waveFile)
    return cli::Speak(o.phoneticInput ? cli::AsLiteralText(text) : text, o.speed, o.pitch);
  std::string phonetic;
  if (o.phoneticInput) {
    phonetic = text;
  } else {
    frontend::TextToPhonetic(text, phonetic);
  }
  switch (o.mode) {
    case cli::Mode::Phonetic: {
      // One transcription per line, as a terminal and line-based readers expect.
      std::string out = platform::Cp1254ToUtf8(phonetic);
      if (!out.empty() && out.back() != '\n') out += '\n';
      return WriteStdout(out) ? 0 : Fail("cannot write output");
    }
    case cli::Mode::Segments:
      return WriteStdout(cli::DescribeStretches(phonetic)) ? 0 : Fail("cannot write output");
    default:
      break;
  }
  return WriteSpeech(o, phonetic);
}
