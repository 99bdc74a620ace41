// The synthesizer against the designed path: the same PCM from whole texts, streamed texts and
// the engine; stretch ranges, cancellation, the sink's stop, volume and invalid input.
#include "library/synthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "engine/speech_engine.h"
#include "frontend/phrase_marks.h"
#include "frontend/text_to_phonetic.h"
#include "library/built_in_units.h"
#include "platform/linux_thread.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "tests/support/fake_wave_device.h"
#include "tests/support/recording_notify_target.h"

namespace orvanel::library {
namespace {

struct Rendered {
  std::vector<std::int16_t> samples;
  std::vector<std::uint32_t> rates;
  std::vector<std::size_t> lengths;  // samples per stretch

  friend bool operator==(const Rendered&, const Rendered&) = default;
};

const synth::UnitInventory& Units() {
  static const synth::UnitInventory units = [] {
    synth::UnitInventory u;
    std::string error;
    EXPECT_EQ(LoadBuiltInUnits(u, error), 1) << error;
    return u;
  }();
  return units;
}

// The designed path written out: transcribe the whole text, then plan, render and collect one
// stretch after another.
Rendered Designed(std::string cp1254, unsigned speed, unsigned pitch) {
  std::string phonetic;
  frontend::TextToPhonetic(cp1254, phonetic);
  Rendered out;
  synth::SegmentList list;
  synth::SampleBuffer buffer;
  std::int32_t position = 0;
  while (synth::PlanStretch(phonetic, position, list)) {
    buffer.Begin(synth::kStretchCapacityBytes, static_cast<std::uint16_t>(pitch));
    for (std::size_t i = 0; i < list.Size(); ++i)
      synth::RenderSegment(list[i], synth::BuildEnvelope(list, i),
                           static_cast<std::uint16_t>(speed), Units(), buffer);
    out.samples.insert(out.samples.end(), buffer.Samples(),
                       buffer.Samples() + buffer.SampleCount());
    out.rates.push_back(buffer.Format().samplesPerSec);
    out.lengths.push_back(buffer.SampleCount());
    buffer.Release();
  }
  return out;
}

StretchSink Collect(Rendered& out) {
  return [&out](const Stretch& s) {
    out.samples.insert(out.samples.end(), s.samples, s.samples + s.sampleCount);
    out.rates.push_back(s.sampleRate);
    out.lengths.push_back(s.sampleCount);
    return true;
  };
}

// A reader that hands the text out a few bytes at a time, so that every cut is exercised.
TextReader Trickle(const std::string& text, std::size_t step) {
  auto offset = std::make_shared<std::size_t>(0);
  return [text, step, offset](char* data, std::size_t size) -> std::ptrdiff_t {
    const std::size_t n = std::min({size, step, text.size() - *offset});
    std::copy_n(text.data() + *offset, n, data);
    *offset += n;
    return static_cast<std::ptrdiff_t>(n);
  };
}

std::string Cp(std::string_view utf8) {
  std::string out;
  codepage::DecodeError bad;
  EXPECT_TRUE(codepage::Utf8ToCp1254(utf8, out, bad));
  return out;
}

// The inputs of the front end's golden cases (words, numbers and symbols are texts too), as
// UTF-8; cases that need bytes UTF-8 cannot show are left out.
std::vector<std::string> GoldenTexts() {
  std::ifstream file(ORVANEL_FRONTEND_CASES);
  std::vector<std::string> texts;
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("INPUT:", 0) != 0) continue;
    std::string text = line.size() > 7 ? line.substr(7) : "";
    if (text.find("\xE2\x9F\xA8") != std::string::npos ||
        text.find("\xE2\x90\x80") != std::string::npos)
      continue;
    for (const auto& [picture, byte] : {std::pair<std::string, std::string>{"\xE2\x90\x8D", "\r"},
                                        {"\xE2\x90\x8A", "\n"},
                                        {"\xE2\x90\x89", "\t"},
                                        {"\xE2\x90\xA0", " "}}) {
      for (std::size_t at; (at = text.find(picture)) != std::string::npos;)
        text.replace(at, picture.size(), byte);
    }
    texts.push_back(text);
  }
  return texts;
}

TEST(Synthesizer, GoldenTextsGiveTheDesignedPcmWholeStreamedAndThroughTheEngine) {
  const std::vector<std::string> texts = GoldenTexts();
  ASSERT_GT(texts.size(), 100u);
  std::string all;
  for (const std::string& t : texts) all += t + "\n";

  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  voice.reading = false;
  for (const auto& [speed, pitch] : {std::pair{50u, 50u}, {0u, 1u}, {99u, 100u}}) {
    voice.speed = static_cast<std::uint16_t>(speed);
    voice.pitch = static_cast<std::uint16_t>(pitch);
    const Rendered designed = Designed(Cp(all), speed, pitch);
    Rendered whole, streamed, fromCp1254;
    ASSERT_EQ(synthesizer.Speak(all, TextEncoding::kUtf8, voice, Collect(whole)),
              Outcome::kFinished);
    ASSERT_EQ(synthesizer.SpeakFrom(Trickle(all, 7), TextEncoding::kUtf8, voice, Collect(streamed)),
              Outcome::kFinished);
    ASSERT_EQ(synthesizer.Speak(Cp(all), TextEncoding::kCp1254, voice, Collect(fromCp1254)),
              Outcome::kFinished);
    EXPECT_TRUE(whole == designed) << "speed " << speed << " pitch " << pitch;
    EXPECT_TRUE(streamed == designed) << "speed " << speed << " pitch " << pitch;
    EXPECT_TRUE(fromCp1254 == designed) << "speed " << speed << " pitch " << pitch;
  }

  // The engine plays the same stretches on its device.
  test::FakeAudio audio;
  platform::LinuxThreadFactory threads;
  const embedded::EmbeddedUnitStore store;
  engine::EngineServices services;
  services.units = &store;
  services.threads = &threads;
  services.makeDevice = audio.Factory();
  std::string error;
  ASSERT_NE(engine::CreateSpeechEngine(error, services), nullptr) << error;
  test::RecordingNotifyTarget done;
  engine::SpeakText(Cp(all), &done, engine::kSpeechDoneMessage);
  ASSERT_TRUE(done.WaitFor(1, std::chrono::seconds(60)));
  engine::ShutdownSpeechEngine();
  Rendered played;
  for (const test::WrittenStretch& s : audio.Written()) {
    played.samples.insert(played.samples.end(), s.samples.begin(), s.samples.end());
    played.rates.push_back(s.rate);
    played.lengths.push_back(s.samples.size());
  }
  EXPECT_TRUE(played == Designed(Cp(all), 50, 50));
}

TEST(Synthesizer, BenchSentencesStreamedInOddBlocksGiveTheWholeTextsPcm) {
  std::ifstream file(ORVANEL_SENTENCES);
  std::stringstream s;
  s << file.rdbuf();
  const std::string text = s.str().substr(0, 20000);
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  voice.reading = false;
  const Rendered designed = Designed(Cp(text), 50, 50);
  for (std::size_t step : {1u, 3u, 1000u, 65536u}) {
    Rendered streamed;
    ASSERT_EQ(
        synthesizer.SpeakFrom(Trickle(text, step), TextEncoding::kUtf8, voice, Collect(streamed)),
        Outcome::kFinished);
    EXPECT_TRUE(streamed == designed) << "blocks of " << step;
  }
}

TEST(Synthesizer, StretchesArriveBeforeTheRestOfTheTextIsRead) {
  std::size_t given = 0;
  std::size_t givenAtFirstStretch = 0;
  const std::string sentence = "Bu bir deneme cümlesidir.\n";
  const TextReader reader = [&](char* data, std::size_t size) -> std::ptrdiff_t {
    if (given >= 2'000'000) return 0;
    std::size_t n = 0;
    while (n + sentence.size() <= size) {
      std::copy(sentence.begin(), sentence.end(), data + n);
      n += sentence.size();
    }
    given += n;
    return static_cast<std::ptrdiff_t>(n);
  };
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  std::size_t stretches = 0;
  ASSERT_EQ(synthesizer.SpeakFrom(reader, TextEncoding::kUtf8, voice,
                                  [&](const Stretch&) {
                                    if (stretches++ == 0) givenAtFirstStretch = given;
                                    return stretches < 5;
                                  }),
            Outcome::kSinkStopped);
  EXPECT_EQ(stretches, 5u);
  EXPECT_LE(givenAtFirstStretch, 64u * 1024);
}

struct RangeCase {
  const char* text;
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
};

TEST(Synthesizer, StretchesNameTheInputBytesTheyCameFrom) {
  // Ranges follow the front end's runs: a sentence end and the blank after it are one run.
  const RangeCase cases[] = {
      {"Merhaba.", {{0, 8}}},
      {"Merhaba. Nas\xC4\xB1ls\xC4\xB1n?", {{0, 9}, {7, 20}}},
      {"\xC3\x87ok iyi!\nSa\xC4\x9Fol.", {{0, 9}, {9, 17}}},
      {"{DoKuz.}Bir", {{0, 8}, {8, 11}}},
      {"12 kitap", {{0, 8}}},
  };
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  voice.reading = false;
  for (const RangeCase& c : cases) {
    std::vector<std::pair<std::size_t, std::size_t>> got;
    synthesizer.Speak(c.text, TextEncoding::kUtf8, voice, [&](const Stretch& s) {
      got.emplace_back(s.textBegin, s.textEnd);
      return true;
    });
    EXPECT_EQ(got, c.ranges) << c.text;
  }
}

TEST(Synthesizer, CancelAbandonsTheStretchAfterTheSegmentAndSinkFalseStops) {
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  int stretches = 0;
  std::size_t segmentsSeen = 0;
  const Outcome cancelled = synthesizer.Speak(
      "Bir. \xC4\xB0ki. \xC3\x9C\xC3\xA7.", TextEncoding::kUtf8, voice,
      [&](const Stretch&) { return ++stretches > 0; },
      [&](std::size_t, std::size_t) { return ++segmentsSeen == 10; });
  EXPECT_EQ(cancelled, Outcome::kCancelled);
  EXPECT_EQ(segmentsSeen, 10u);
  // "Bir." has 4 segments and " İki." 5: the third stretch was abandoned at its first vowel.
  EXPECT_EQ(stretches, 2);

  stretches = 0;
  EXPECT_EQ(synthesizer.Speak("Bir. \xC4\xB0ki.", TextEncoding::kUtf8, voice,
                              [&](const Stretch&) { return ++stretches < 1; }),
            Outcome::kSinkStopped);
  EXPECT_EQ(stretches, 1);
}

TEST(Synthesizer, InvalidUtf8IsRefusedWithItsOffsetWhereverTheBlocksBreak) {
  const std::string text = std::string("Merhaba.\nD\xC3\xBCnya ") + "\xC3" + "x.";
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  for (std::size_t step : {1u, 2u, 64u}) {
    int stretches = 0;
    EXPECT_EQ(synthesizer.SpeakFrom(Trickle(text, step), TextEncoding::kUtf8, voice,
                                    [&](const Stretch&) { return ++stretches > 0; }),
              Outcome::kInvalidInput);
    EXPECT_EQ(synthesizer.error(), "input is not valid UTF-8 (byte offset 16)");
    EXPECT_EQ(stretches, 1);  // the line before the bad byte was spoken
  }
  std::string phonetic;
  EXPECT_FALSE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, phonetic));
}

TEST(Synthesizer, VolumeScalesWithRoundingAndSaturation) {
  const std::vector<std::int16_t> in = {0, 1, -1, 3, -3, 1000, -1001, 20000, -20000, 32767, -32768};
  struct VolumeCase {
    unsigned percent;
    std::vector<std::int16_t> expected;
  };
  const VolumeCase cases[] = {
      {100, in},
      {50, {0, 1, -1, 2, -2, 500, -501, 10000, -10000, 16384, -16384}},
      {200, {0, 2, -2, 6, -6, 2000, -2002, 32767, -32768, 32767, -32768}},
      {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const VolumeCase& c : cases) {
    std::vector<std::int16_t> samples = in;
    ApplyVolume(samples.data(), samples.size(), c.percent);
    EXPECT_EQ(samples, c.expected) << c.percent << " %";
  }
}

TEST(Synthesizer, VolumeAppliesToEveryStretchAndHundredIsBitIdentical) {
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  Rendered normal, half, loud;
  synthesizer.Speak(
      "Kitap. Ma\xC5\x9F"
      "a.",
      TextEncoding::kUtf8, voice, Collect(normal));
  EXPECT_TRUE(normal == Designed(Cp("Kitap. Ma\xC5\x9F"
                                    "a."),
                                 50, 50));
  voice.volume = 50;
  synthesizer.Speak(
      "Kitap. Ma\xC5\x9F"
      "a.",
      TextEncoding::kUtf8, voice, Collect(half));
  voice.volume = 200;
  synthesizer.Speak(
      "Kitap. Ma\xC5\x9F"
      "a.",
      TextEncoding::kUtf8, voice, Collect(loud));
  ASSERT_EQ(half.samples.size(), normal.samples.size());
  ASSERT_EQ(loud.samples.size(), normal.samples.size());
  bool saturated = false;
  for (std::size_t i = 0; i < normal.samples.size(); ++i) {
    const int s = normal.samples[i];
    EXPECT_LE(std::abs(half.samples[i] * 2 - s), 1) << i;
    const int doubled = std::clamp(2 * s, -32768, 32767);
    EXPECT_EQ(loud.samples[i], doubled) << i;
    saturated = saturated || doubled != 2 * s;
  }
  EXPECT_TRUE(saturated) << "the text should reach full scale at 200 %";
}

TEST(Synthesizer, RateAndSemitonesNeedTheVoiceDataAndAtNeutralGiveTheDesignedPcm) {
  BuiltInVoice builtIn;
  std::string error;
  ASSERT_EQ(LoadBuiltInVoice(builtIn, error), 1) << error;
  const std::string text = "Merhaba d\xC3\xBCnya. Bu bir denemedir, sadece bir deneme.";
  const Rendered designed = Designed(Cp(text), 50, 50);
  Synthesizer withVoice(builtIn.units, &builtIn.voice);
  Synthesizer withoutVoice(builtIn.units);
  VoiceSettings voice;
  voice.prosody = false;
  Rendered neutral, ignored, fast, raised;
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(neutral));
  EXPECT_TRUE(neutral == designed);
  voice.ratePercent = 200;
  withoutVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(ignored));
  EXPECT_TRUE(ignored == designed);
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(fast));
  const double ratio = static_cast<double>(fast.samples.size()) / designed.samples.size();
  EXPECT_NEAR(ratio, 0.5, 0.05);
  voice.ratePercent = 100;
  voice.semitones = 3.f;
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(raised));
  EXPECT_FALSE(raised == designed);
  EXPECT_NEAR(static_cast<double>(raised.samples.size()) / designed.samples.size(), 1.0, 0.02);
  // Out-of-range settings are taken at the nearest limit.
  voice.semitones = 40.f;
  voice.ratePercent = 1000;
  Rendered clamped, limit;
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(clamped));
  voice.semitones = 6.f;
  voice.ratePercent = 400;
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(limit));
  EXPECT_TRUE(clamped == limit);
}

TEST(Synthesizer, ProsodyMarksStressAndDrawsThePitchOnlyWhenAsked) {
  BuiltInVoice builtIn;
  std::string error;
  ASSERT_EQ(LoadBuiltInVoice(builtIn, error), 1) << error;
  const std::string text = "Eve geliyor musun? Evet, yar\xC4\xB1n geliyorum.";
  Synthesizer withVoice(builtIn.units, &builtIn.voice);
  Synthesizer withoutVoice(builtIn.units);
  VoiceSettings voice;
  voice.prosody = true;

  // The stressed transcription is the designed one with stress marks added.
  std::string stressed, plain;
  ASSERT_TRUE(withVoice.Transcribe(text, TextEncoding::kUtf8, voice, stressed));
  voice.prosody = false;
  ASSERT_TRUE(withVoice.Transcribe(text, TextEncoding::kUtf8, voice, plain));
  EXPECT_EQ(stressed, "EVe` ~Ge~Li`Yor MuSun? E`Vet, Ya`R\xFDn ~Ge~Li`YoRum.");
  std::string unmarked = stressed;
  std::erase(unmarked, '`');
  EXPECT_EQ(unmarked, plain);

  // The word analyses kept from earlier texts (the same words, as names and as common words)
  // do not change a later text's marks.
  voice.prosody = true;
  std::string afterOthers, fresh;
  // "Adana" starting a sentence is read as a common word, inside one as a name.
  const std::string later = "Adana geliyor mu? Evet, Adana'ya gelmiyor.";
  for (const char* earlier : {"Eve gelmedi. Gelmiyor musun?", "Bug\xC3\xBCn Adana geldi."}) {
    ASSERT_TRUE(withVoice.Transcribe(earlier, TextEncoding::kUtf8, voice, afterOthers));
  }
  afterOthers.clear();
  ASSERT_TRUE(withVoice.Transcribe(later, TextEncoding::kUtf8, voice, afterOthers));
  Synthesizer another(builtIn.units, &builtIn.voice);
  ASSERT_TRUE(another.Transcribe(later, TextEncoding::kUtf8, voice, fresh));
  EXPECT_EQ(afterOthers, fresh);
  afterOthers.clear();
  ASSERT_TRUE(withVoice.Transcribe(text, TextEncoding::kUtf8, voice, afterOthers));
  EXPECT_EQ(afterOthers, stressed);

  const Rendered designed = Designed(Cp(text), 50, 50);
  Rendered flat, tuned;
  voice.prosody = true;
  withoutVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(flat));
  EXPECT_TRUE(flat == designed) << "without the voice data there is no intonation to draw";
  withVoice.Speak(text, TextEncoding::kUtf8, voice, Collect(tuned));
  EXPECT_FALSE(tuned == designed);
  ASSERT_EQ(tuned.lengths.size(), designed.lengths.size());
  // Accents come from pitch, not from shortening: the stretches keep about their length.
  for (std::size_t k = 0; k < tuned.lengths.size(); ++k)
    EXPECT_NEAR(static_cast<double>(tuned.lengths[k]) / designed.lengths[k], 1.0, 0.05) << k;
}

// A name that the reading stage joins with its suffixes keeps the stress of a name: the same
// marks as the literal reading gives it by its apostrophe.
TEST(Synthesizer, ANameJoinedAtItsApostropheKeepsItsStress) {
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  voice.prosody = true;
  for (const char* text :
       {"Adana'ya gittik.", "Bug\xC3\xBCn Sivas'tan geldi.", "Mu\xC4\x9Fla'da"}) {
    std::string read, literal;
    voice.reading = true;
    ASSERT_TRUE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, read));
    voice.reading = false;
    ASSERT_TRUE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, literal));
    ASSERT_NE(read.find(frontend::kNameMark), std::string::npos) << text;
    std::erase(read, frontend::kNameMark);
    std::erase(literal, '\'');
    EXPECT_EQ(read, literal) << text;
  }
}

// The longest run of silent samples between sounds (not the pause at the end).
std::size_t LongestInnerSilence(const std::vector<std::int16_t>& samples) {
  std::size_t longest = 0, run = 0;
  for (const std::int16_t s : samples) {
    if (s == 0) {
      ++run;
    } else {
      longest = std::max(longest, run);
      run = 0;
    }
  }
  return longest;
}

// The punctuation level reaches the reading stage, and its phrase marks are planned as the
// pauses they stand for only when the text went through it: the literal reading and Windows-1254
// text keep the designed sound, whatever bytes they hold.
TEST(Synthesizer, PhraseMarksArePausesOfTheReadingStageOnly) {
  const std::string text = "Karar: kabul edildi.";
  Synthesizer synthesizer(Units());
  VoiceSettings voice;
  voice.prosody = false;
  std::string none, all, literal;
  ASSERT_TRUE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, none));
  EXPECT_EQ(none, Cp("KaRar\x15 KaBul E~Di~l~Di."));
  voice.punctuation = reading::Punctuation::kAll;
  ASSERT_TRUE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, all));
  EXPECT_EQ(all, Cp("KaRar İ~Ki NokTa Üst ÜsTe\x15 KaBul E~Di~l~Di NokTa."));
  voice.reading = false;
  ASSERT_TRUE(synthesizer.Transcribe(text, TextEncoding::kUtf8, voice, literal));
  std::string typedText = Cp(text), designed;
  frontend::TextToPhonetic(typedText, designed);
  EXPECT_EQ(literal, designed);

  // Read, the colon is a pause of its mark's length inside the first stretch.
  voice.reading = true;
  voice.punctuation = reading::Punctuation::kNone;
  Rendered read;
  ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, Collect(read)), Outcome::kFinished);
  ASSERT_EQ(read.lengths.size(), 1u);
  const frontend::PhraseMark* colon = frontend::PhraseMarkOf('\x15');
  ASSERT_NE(colon, nullptr);
  EXPECT_GE(LongestInnerSilence(read.samples),
            static_cast<std::size_t>(colon->pauseMs) * 22050 / 1000);
  // The same bytes typed in Windows-1254 text are no pause: the designed sound.
  Rendered typed;
  const std::string marked = Cp("Karar\x15 kabul edildi.");
  synthesizer.Speak(marked, TextEncoding::kCp1254, voice, Collect(typed));
  EXPECT_TRUE(typed == Designed(marked, 50, 50));
}

}  // namespace
}  // namespace orvanel::library
