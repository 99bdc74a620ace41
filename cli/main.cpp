// orvanel-say: the command-line face of the engine, for scripts and other programs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
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
#include "library/synthesizer.h"
#include "library/text_feed.h"
#include "prosody/stress_cache.h"
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
  return {o.speed,     o.pitch,    o.volume,      o.ratePercent,
          o.semitones, !o.literal, o.punctuation, o.prosody};
}

// Synthesis stops at a signal, so that a file being written is removed, not left half done.
bool Interrupted(std::size_t, std::size_t) { return cli::Interrupted() != 0; }

// -w: every stretch is written as soon as it is rendered.
int WriteSpeech(const cli::Options& o, cli::TextInput& input) {
  library::BuiltInVoice builtIn;
  std::string error;
  if (!library::LoadBuiltInVoice(builtIn, error)) return Fail(error);
  library::Synthesizer synthesizer(builtIn.units, &builtIn.voice);
  library::VoiceSettings voice;
  SetVoice(o, voice);

  cli::CatchInterrupts();
  cli::SpeechOutput out;
  if (!out.Open(*o.waveFile, o.raw, synth::RateForPitch(static_cast<std::uint16_t>(o.pitch)),
                error))
    return Fail(error);
  std::string writeError;
  const library::StretchSink sink = [&](const library::Stretch& s) {
    if (s.dropped.samples > 0) std::cerr << cli::DroppedWarning(s.dropped);
    return cli::Interrupted() == 0 && out.Write(s.samples, s.sampleCount, writeError);
  };
  library::Outcome outcome;
  if (o.phoneticInput) {
    std::string text;
    if (!input.ReadAll(text, error)) return Fail(error);
    outcome = synthesizer.SpeakPhonetic(text, voice, sink, Interrupted);
  } else {
    outcome = synthesizer.SpeakFrom(input.Reader(), library::TextEncoding::kUtf8, voice, sink,
                                    Interrupted);
  }
  if (cli::Interrupted() != 0) {
    out.Abandon();
    return 128 + cli::Interrupted();
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

// --phonetic and --segments: the transcription, or the stretches as the planner makes them.
int PrintTranscription(const cli::Options& o, cli::TextInput& input) {
  std::string text;
  std::string error;
  if (!input.ReadAll(text, error)) return Fail(error);
  library::VoiceSettings voice;
  SetVoice(o, voice);
  if (o.mode == cli::Mode::Phonetic) {
    std::string phonetic;
    const auto memo = o.prosody ? std::make_unique<prosody::StressCache>() : nullptr;
    if (!library::TranscribeText(text, library::TextEncoding::kUtf8,
                                 library::ReadingOf(library::TextEncoding::kUtf8, voice),
                                 memo.get(), phonetic, error))
      return Fail(error);
    // One transcription per line, as a terminal and line-based readers expect.
    std::string out = codepage::Cp1254ToUtf8(phonetic);
    if (!out.empty() && out.back() != '\n') out += '\n';
    return WriteStdout(out) ? 0 : Fail("cannot write output");
  }
  library::BuiltInVoice builtIn;
  if (!library::LoadBuiltInVoice(builtIn, error)) return Fail(error);
  library::Synthesizer synthesizer(builtIn.units, &builtIn.voice);
  std::string out;
  library::Delivery delivery;
  delivery.render = false;
  delivery.plan = [&](const library::PlannedStretch& stretch) {
    out += cli::DescribeStretch(stretch);
    return true;
  };
  library::Outcome outcome;
  if (o.phoneticInput) {
    std::string phonetic;
    codepage::DecodeError bad;
    if (!codepage::Utf8ToCp1254(text, phonetic, bad))
      return Fail(library::InvalidInputText(bad.offset));
    outcome = synthesizer.SpeakPhonetic(phonetic, voice, delivery);
  } else {
    outcome = synthesizer.Speak(text, library::TextEncoding::kUtf8, voice, delivery);
  }
  if (outcome != library::Outcome::kFinished) return Fail(synthesizer.error());
  return WriteStdout(out) ? 0 : Fail("cannot write output");
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
  if (o.mode != cli::Mode::Speak) return PrintTranscription(o, input);

  engine::SpeechRequest request;
  if (o.phoneticInput) {
    // PhoneticText as it stands.
    std::string text, error;
    if (!input.ReadAll(text, error)) return Fail(error);
    codepage::DecodeError bad;
    if (!codepage::Utf8ToCp1254(text, request.text, bad))
      return Fail(library::InvalidInputText(bad.offset));
    request.phonetic = true;
  } else {
    // Read as it is spoken, so that a long text is never held whole.
    request.encoding = library::TextEncoding::kUtf8;
    request.reader = input.Reader();
  }
  return cli::Speak(std::move(request), SpokenVoiceOf(o), &input);
}
