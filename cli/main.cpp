// orvanel-say: the command-line face of the engine, for scripts and other programs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/options.h"
#include "cli/render.h"
#include "cli/speak.h"
#include "cli/speech_output.h"
#include "cli/text_input.h"
#include "cli/wav_file.h"
#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/unit_names.h"
#include "library/built_in_units.h"
#include "library/reading_stage.h"
#include "library/synthesizer.h"
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

bool WriteStdout(const std::string& text) {
  std::cout << text;
  std::cout.flush();
  return static_cast<bool>(std::cout);
}

int ListUnits() {
  std::string out;
  char line[96];
  for (const auto& unit : embedded::EmbeddedUnitStore::All()) {
    std::snprintf(line, sizeof line, "%-9s %6zu bytes %6zu samples %7.1f ms\n", unit.name,
                  unit.size, unit.size / 2, unit.size / 2 * 1000.0 / synth::kBaseSampleRate);
    out += line;
  }
  return WriteStdout(out) ? 0 : Fail("cannot write to standard output");
}

int WriteUnit(const cli::Options& o) {
  embedded::EmbeddedUnitStore store;
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

void SetVoice(const cli::Options& o, library::VoiceSettings& voice) {
  voice.speed = static_cast<std::uint16_t>(o.speed);
  voice.pitch = static_cast<std::uint16_t>(o.pitch);
  voice.volume = static_cast<std::uint16_t>(o.volume);
  voice.reading = !o.literal;
  voice.punctuation = o.punctuation;
  voice.ratePercent = static_cast<std::uint16_t>(o.ratePercent);
  voice.semitones = o.semitones;
  voice.prosody = o.prosody;
}

cli::SpokenVoice SpokenVoiceOf(const cli::Options& o) {
  return {o.speed, o.pitch, o.volume, o.ratePercent, o.semitones, o.prosody};
}

void WarnIfCut(const library::Stretch& s) {
  if (s.droppedSamples == 0) return;
  std::fprintf(stderr,
               "orvanel-say: warning: stretch %zu is longer than one stretch can hold "
               "(about 47.5 s at the base rate); its last %.2f s were cut\n",
               s.number, static_cast<double>(s.droppedSamples) / synth::kBaseSampleRate);
}

// -w: every stretch is written as soon as it is rendered.
int WriteSpeech(const cli::Options& o, cli::TextInput& input) {
  library::BuiltInVoice builtIn;
  std::string error;
  if (!library::LoadBuiltInVoice(builtIn, error)) return Fail(error);
  library::Synthesizer synthesizer(builtIn.units, &builtIn.voice);
  library::VoiceSettings voice;
  SetVoice(o, voice);

  cli::SpeechOutput out;
  if (!out.Open(*o.waveFile, o.raw, synth::RateForPitch(static_cast<std::uint16_t>(o.pitch)),
                error))
    return Fail(error);
  std::string writeError;
  const library::StretchSink sink = [&](const library::Stretch& s) {
    WarnIfCut(s);
    return out.Write(s.samples, s.sampleCount, writeError);
  };
  library::Outcome outcome;
  if (o.phoneticInput) {
    std::string text;
    if (!input.ReadAll(text, error)) return Fail(error);
    outcome = synthesizer.SpeakPhonetic(text, voice, sink);
  } else {
    outcome = synthesizer.SpeakFrom(input.Reader(), library::TextEncoding::kUtf8, voice, sink);
  }
  switch (outcome) {
    case library::Outcome::kFinished:
      break;
    case library::Outcome::kSinkStopped:
      return Fail(writeError);
    default:
      out.Abandon();
      return Fail(input.Failed() ? input.Error() : synthesizer.error());
  }
  if (!out.Finish(error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away is a write error (EPIPE), reported like any other.
  std::signal(SIGPIPE, SIG_IGN);
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

  cli::TextInput input;
  if (!input.Open(o.text, o.textFile, error)) return Fail(error);
  // Input that is not UTF-8 is refused before anything is written, wherever the input can be
  // read twice; from a pipe, the speech written before the bad byte stays written.
  if (!input.Validate(error)) return Fail(error);

  if (o.mode == cli::Mode::Speak && o.waveFile) return WriteSpeech(o, input);

  std::string utf8;
  if (!input.ReadAll(utf8, error)) return Fail(error);
  std::string text;
  codepage::DecodeError bad;
  if (!codepage::Utf8ToCp1254(utf8, text, bad))
    return Fail("input is not valid UTF-8 (byte offset " + std::to_string(bad.offset) + ")");
  if (o.mode == cli::Mode::Speak) {
    if (o.phoneticInput) return cli::Speak(cli::AsLiteralText(text), SpokenVoiceOf(o));
    if (!o.literal)
      codepage::Utf8ToCp1254(library::ReadForFrontEnd(utf8, {o.punctuation}), text, bad);
    return cli::Speak(text, SpokenVoiceOf(o));
  }
  std::string phonetic;
  if (o.phoneticInput) {
    phonetic = text;
  } else {
    synth::UnitInventory noUnits;
    library::Synthesizer synthesizer(noUnits);
    library::VoiceSettings voice;
    voice.reading = !o.literal;
    voice.punctuation = o.punctuation;
    voice.prosody = o.prosody;
    if (!synthesizer.Transcribe(utf8, library::TextEncoding::kUtf8, voice, phonetic))
      return Fail(synthesizer.error());
  }
  if (o.mode == cli::Mode::Phonetic) {
    // One transcription per line, as a terminal and line-based readers expect.
    std::string out = codepage::Cp1254ToUtf8(phonetic);
    if (!out.empty() && out.back() != '\n') out += '\n';
    return WriteStdout(out) ? 0 : Fail("cannot write output");
  }
  return WriteStdout(cli::DescribeStretches(phonetic, o.prosody)) ? 0 : Fail("cannot write output");
}
