// How the synthesizer hands speech out: a stretch too long for its buffer cut where a reader
// pauses (outside the literal reading) or cut with its place named (literal); blocks as they are
// rendered; the silence after the last sound left out; planned stretches without rendering.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/built_in_units.h"
#include "library/synthesizer.h"
#include "library/text_feed.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"

namespace orvanel::library {
namespace {

const BuiltInVoice& Voice() {
  static const BuiltInVoice voice = [] {
    BuiltInVoice v;
    std::string error;
    EXPECT_EQ(LoadBuiltInVoice(v, error), 1) << error;
    return v;
  }();
  return voice;
}

// 150 words with no sentence end: over a minute of speech at the normal rate.
std::string LongSentence() {
  const char* words[] = {"kitap",
                         "okul",
                         "deniz",
                         "g\xC3\xBCne\xC5\x9F",
                         "masa",
                         "kalem",
                         "bah\xC3\xA7"
                         "e",
                         "ye\xC5\x9Fil",
                         "a\xC4\x9F"
                         "a\xC3\xA7",
                         "yol"};
  std::string text;
  for (int k = 0; k < 150; ++k) {
    if (k > 0) text += ' ';
    text += words[k % 10];
  }
  return text;
}

struct Collected {
  std::vector<std::int16_t> samples;
  std::vector<Stretch> stretches;  // samples pointers not kept
  std::vector<std::vector<std::int16_t>> parts;
};

StretchSink CollectInto(Collected& c) {
  return [&c](const Stretch& s) {
    c.samples.insert(c.samples.end(), s.samples, s.samples + s.sampleCount);
    c.parts.emplace_back(s.samples, s.samples + s.sampleCount);
    Stretch kept = s;
    kept.samples = nullptr;
    kept.buffer = nullptr;
    c.stretches.push_back(kept);
    return true;
  };
}

// The text's stretches as they would sound with a buffer that never fills.
std::vector<std::int16_t> Unbounded(const std::string& utf8) {
  std::string phonetic, error;
  EXPECT_TRUE(TranscribeText(utf8, TextEncoding::kUtf8, reading::ReadingOptions{}, nullptr,
                             phonetic, error));
  std::vector<std::int16_t> out;
  synth::SegmentList list;
  synth::StretchNotes notes;
  synth::SampleBuffer buffer;
  std::int32_t position = 0;
  while (synth::PlanStretch(phonetic, position, list, {true}, &notes)) {
    buffer.Begin(64u << 20, 50);
    for (std::size_t i = 0; i < list.Size(); ++i)
      synth::RenderSegment(list[i], synth::BuildEnvelope(list, i), 50, Voice().units, buffer);
    EXPECT_EQ(buffer.DroppedSamples(), 0u);
    out.insert(out.end(), buffer.Samples(), buffer.Samples() + buffer.SampleCount());
    buffer.Release();
  }
  return out;
}

TEST(StretchDelivery, ALongSentenceLosesNothingOutsideTheLiteralReading) {
  const std::string text = LongSentence();
  std::size_t atNormalRate = 0;
  for (const unsigned rate : {100u, 50u}) {
    Synthesizer synthesizer(Voice().units, &Voice().voice);
    VoiceSettings voice;
    voice.prosody = false;  // compared with the flat rendering
    voice.ratePercent = static_cast<std::uint16_t>(rate);
    Collected c;
    ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, CollectInto(c)),
              Outcome::kFinished);
    ASSERT_GE(c.stretches.size(), 2u) << "rate " << rate;
    for (const Stretch& s : c.stretches) {
      EXPECT_EQ(s.dropped.samples, 0u) << "rate " << rate;
      EXPECT_LT(s.sampleCount, synth::kStretchCapacityBytes / 2) << "rate " << rate;
    }
    // Every part but the last ends at a word's pause.
    for (std::size_t k = 0; k + 1 < c.parts.size(); ++k) {
      const auto& part = c.parts[k];
      ASSERT_GE(part.size(), 22u);
      EXPECT_TRUE(std::all_of(part.end() - 22, part.end(), [](std::int16_t v) { return v == 0; }))
          << "rate " << rate << " part " << k;
    }
    if (rate == 100) {
      // The parts together are the sentence as an endless buffer would hold it.
      EXPECT_EQ(c.samples, Unbounded(text));
      atNormalRate = c.samples.size();
    } else {
      EXPECT_GT(c.samples.size(), atNormalRate * 19 / 10);
    }
  }
}

TEST(StretchDelivery, TheLiteralReadingKeepsItsCutAndNamesWhereTheLostSpeechBegins) {
  Synthesizer synthesizer(Voice().units, &Voice().voice);
  VoiceSettings voice;
  voice.reading = false;
  voice.prosody = false;
  Collected c;
  const std::string text = "Kısa bir satır.\n  " + LongSentence() + ".";
  ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, CollectInto(c)),
            Outcome::kFinished);
  std::size_t lossy = 0;
  for (const Stretch& s : c.stretches) {
    if (s.dropped.samples == 0) {
      EXPECT_EQ(s.dropped.line, 0u);
      continue;
    }
    ++lossy;
    EXPECT_EQ(s.dropped.line, 2u);
    EXPECT_GT(s.dropped.column, 3u);  // somewhere inside the long sentence
    EXPECT_LT(s.dropped.column, text.size());
    EXPECT_GT(s.sampleCount, synth::kStretchCapacityBytes / 2 * 99 / 100);
  }
  EXPECT_EQ(lossy, 1u);
}

TEST(StretchDelivery, BlocksAddUpToTheirStretchesWithTheVolume) {
  const std::string text = "Merhaba dünya, bugün hava çok güzel. Yarın yağmur var.";
  Synthesizer synthesizer(Voice().units, &Voice().voice);
  VoiceSettings voice;
  voice.volume = 150;
  Delivery delivery;
  delivery.blockSamples = 512;
  std::vector<std::int16_t> fromBlocks;
  std::size_t ends = 0, blocks = 0, lastStretch = 0;
  delivery.block = [&](const Block& b) {
    EXPECT_GE(b.stretch, lastStretch);
    lastStretch = b.stretch;
    fromBlocks.insert(fromBlocks.end(), b.samples, b.samples + b.sampleCount);
    ends += b.stretchEnd ? 1 : 0;
    ++blocks;
    return true;
  };
  Collected c;
  delivery.stretch = CollectInto(c);
  ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, delivery), Outcome::kFinished);
  EXPECT_EQ(fromBlocks, c.samples);
  EXPECT_EQ(ends, c.stretches.size());
  EXPECT_GT(blocks, 4 * c.stretches.size()) << "blocks come within a stretch";
  // The same text spoken without blocks sounds the same.
  Collected whole;
  ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, CollectInto(whole)),
            Outcome::kFinished);
  EXPECT_EQ(whole.samples, c.samples);
  // A block sink that says stop ends synthesis.
  std::size_t seen = 0;
  Delivery stopping;
  stopping.block = [&](const Block&) { return ++seen < 3; };
  EXPECT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, stopping), Outcome::kSinkStopped);
  EXPECT_EQ(seen, 3u);
}

TEST(StretchDelivery, TheSilenceAfterTheLastSoundIsLeftOutOnlyWhenAsked) {
  struct Case {
    std::string text;
    std::size_t trimmedSamples;  // the final pauses: a sentence end 15435, a blank 22
  };
  const Case cases[] = {
      {"Merhaba dünya.", 15435},
      // The blank line after it is the reading's paragraph mark, 550 ms more.
      {"Merhaba dünya.\n\n", 15435 + 12171},
      {"Bir. İki.  ", 15435 + 22},  // repeated blanks are one pause
      {"Merhaba", 0},
      {"Merhaba, ", 2205 + 22},
  };
  for (const Case& c : cases) {
    Synthesizer synthesizer(Voice().units, &Voice().voice);
    VoiceSettings voice;
    Collected full, trimmed;
    ASSERT_EQ(synthesizer.Speak(c.text, TextEncoding::kUtf8, voice, CollectInto(full)),
              Outcome::kFinished);
    Delivery delivery;
    delivery.stretch = CollectInto(trimmed);
    delivery.trimFinalSilence = true;
    ASSERT_EQ(synthesizer.Speak(c.text, TextEncoding::kUtf8, voice, delivery), Outcome::kFinished);
    ASSERT_EQ(full.samples.size() - trimmed.samples.size(), c.trimmedSamples) << c.text;
    EXPECT_TRUE(std::equal(trimmed.samples.begin(), trimmed.samples.end(), full.samples.begin()))
        << c.text;
  }
  // A text of nothing but silence hands out nothing.
  Synthesizer synthesizer(Voice().units, &Voice().voice);
  VoiceSettings voice;
  Delivery delivery;
  Collected none;
  delivery.stretch = CollectInto(none);
  delivery.trimFinalSilence = true;
  ASSERT_EQ(synthesizer.Speak(" , \n", TextEncoding::kUtf8, voice, delivery), Outcome::kFinished);
  EXPECT_TRUE(none.stretches.empty());
}

TEST(StretchDelivery, PlannedStretchesComeWithoutRendering) {
  const std::string text = "Eve geliyor musun? Evet, geliyorum.";
  Synthesizer synthesizer(Voice().units, &Voice().voice);
  VoiceSettings voice;
  voice.prosody = true;
  std::vector<PlannedStretch> planned;
  std::vector<std::size_t> segments;
  Delivery delivery;
  delivery.render = false;
  delivery.stretch = [](const Stretch&) -> bool {
    ADD_FAILURE() << "rendered";
    return false;
  };
  delivery.plan = [&](const PlannedStretch& p) {
    EXPECT_EQ(p.notes->segments.size(), p.segments->Size());
    EXPECT_EQ(p.contour.size(), p.segments->Size());
    segments.push_back(p.segments->Size());
    planned.push_back(p);
    return true;
  };
  ASSERT_EQ(synthesizer.Speak(text, TextEncoding::kUtf8, voice, delivery), Outcome::kFinished);
  ASSERT_EQ(planned.size(), 2u);
  EXPECT_EQ(planned[0].number, 1u);
  EXPECT_EQ(planned[1].number, 2u);
  EXPECT_EQ(planned[0].tune, prosody::SentenceType::kYesNoQuestion);
  EXPECT_EQ(planned[1].tune, prosody::SentenceType::kStatement);
  EXPECT_EQ(planned[0].phoneticBegin, 0u);
  EXPECT_EQ(planned[1].phoneticBegin, planned[0].phoneticEnd);
}

}  // namespace
}  // namespace orvanel::library
