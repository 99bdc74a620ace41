// Fast speech: how far each kind of consonant part shortens (on made-up units, to the sample),
// which consonants take the fast floors in the renderer, and the whole periods every vowel keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/voice_controls.h"
#include "synth/voice_signal.h"
#include "tests/support/built_in_voice.h"
#include "tests/synth/typed_phonetic.h"

namespace orvanel::synth {
namespace {

const test::BuiltInVoice& Voice() { return test::LoadedVoice(); }

// A made-up unit: every sample different, so that a verbatim piece can be found again.
std::vector<std::int16_t> Noise(std::uint32_t n) {
  std::vector<std::int16_t> x(n);
  std::uint32_t state = 12345;
  for (std::int16_t& v : x) {
    state = state * 1664525u + 1013904223u;
    v = static_cast<std::int16_t>(static_cast<std::int32_t>(state >> 17) - 16384);
  }
  return x;
}

ConsonantVoice Map(std::vector<UnitPart> parts) {
  ConsonantVoice map;
  map.parts = std::move(parts);
  return map;
}

constexpr UnitPart Part(UnitPartKind kind, std::uint32_t start, std::uint32_t end) {
  return {kind, start, end, kind != UnitPartKind::Kept};
}

struct FloorCase {
  const char* name;
  std::vector<UnitPart> parts;
  double timeScale;
  PartFloors floors;
  std::size_t samples;
};

TEST(PartFloors, EachKindOfPartShortensToItsFloor) {
  using K = UnitPartKind;
  const std::vector<UnitPart> stop = {Part(K::Silence, 0, 200), Part(K::Kept, 200, 421),
                                      Part(K::Noise, 421, 871)};
  const std::vector<FloorCase> cases = {
      // Closure 200 -> 20 -> the 2 ms floor (44), burst 221, aspiration 450 -> 45 -> 100.
      {"aspiration floor", stop, 0.1, {kMinNoiseSamples, 100, 1.0}, 44 + 221 + 100},
      // Without an aspiration floor it is frication: 15 ms + 2 x 3 ms = 463 > 450, kept whole.
      {"aspiration as frication", stop, 0.1, {}, 44 + 221 + 450},
      // Above the floor the time scale decides: 450 x 0.5.
      {"aspiration above its floor", stop, 0.5, {kMinNoiseSamples, 100, 1.0}, 100 + 221 + 225},
      // Closures once more by the scale: 800 x 0.25 x 0.25 = 50 (under two crossfades).
      {"closure scaled twice", {Part(K::Silence, 0, 800)}, 0.25, {kMinNoiseSamples, 0, 0.25}, 50},
      {"closure scaled once", {Part(K::Silence, 0, 800)}, 0.25, {}, 200},
      {"closure at its floor", {Part(K::Silence, 0, 800)}, 0.25, {kMinNoiseSamples, 0, 0.01}, 44},
      // A closure shorter than the floor keeps its length.
      {"short closure", {Part(K::Silence, 0, 30)}, 0.25, {kMinNoiseSamples, 0, 0.25}, 30},
      // Frication: its floor from the middle and 3 ms of each end.
      {"fast frication", {Part(K::Noise, 0, 2000)}, 0.1, {kFastNoiseSamples, 0, 1.0}, 220 + 132},
      {"frication", {Part(K::Noise, 0, 2000)}, 0.1, {}, kMinNoiseSamples + 132},
      {"frication above its floor",
       {Part(K::Noise, 0, 2000)},
       0.3,
       {kFastNoiseSamples, 0, 1.0},
       600},
      // Only a noise part right after a burst is aspiration.
      {"noise after silence",
       {Part(K::Silence, 0, 300), Part(K::Noise, 300, 2300)},
       0.1,
       {kFastNoiseSamples, 100, 1.0},
       44 + 220 + 132},
  };
  for (const FloorCase& c : cases) {
    const std::uint32_t n = c.parts.back().end;
    const std::vector<std::int16_t> x = Noise(n);
    std::vector<std::int16_t> out;
    RetimeConsonant(x.data(), n, Map(c.parts), c.timeScale, kBasePeriod, false, out, c.floors);
    EXPECT_EQ(out.size(), c.samples) << c.name;
  }
}

// The aspiration keeps its start right after the burst, and its end into the voicing, verbatim.
TEST(PartFloors, ShortenedAspirationKeepsTheBurstItsStartAndItsEnd) {
  using K = UnitPartKind;
  const std::vector<std::int16_t> x = Noise(871);
  std::vector<std::int16_t> out;
  RetimeConsonant(
      x.data(), 871,
      Map({Part(K::Silence, 0, 200), Part(K::Kept, 200, 421), Part(K::Noise, 421, 871)}), 0.1,
      kBasePeriod, false, out, {kMinNoiseSamples, 100, 1.0});
  ASSERT_EQ(out.size(), 365u);
  EXPECT_TRUE(std::equal(x.begin() + 200, x.begin() + 471, out.begin() + 44)) << "burst and head";
  EXPECT_TRUE(std::equal(x.end() - 18, x.end(), out.end() - 18)) << "the end into the voicing";
}

using testing::Phonetic;

// Samples each segment of every stretch of the text adds, with the segments.
struct Segmented {
  std::vector<Segment> segments;
  std::vector<std::vector<std::int16_t>> samples;
};

Segmented Render(const std::string& utf8, const VoiceControls& controls) {
  Segmented out;
  const std::string phonetic = Phonetic(utf8);
  ControlledRenderer renderer(Voice().units, Voice().data);
  SampleBuffer buffer;
  SegmentList list;
  std::int32_t position = 0;
  while (PlanStretch(phonetic, position, list) == 1) {
    buffer.Begin(kStretchCapacityBytes, 50);
    renderer.BeginStretch(list, controls, {});
    for (std::size_t i = 0; i < list.Size(); ++i) {
      const std::uint32_t before = buffer.SampleCount();
      renderer.RenderSegment(i, 50, buffer);
      out.segments.push_back(list[i]);
      out.samples.emplace_back(buffer.Samples() + before, buffer.Samples() + buffer.SampleCount());
    }
    buffer.Release();
  }
  return out;
}

// In fast speech the renderer gives p, t and k the short aspiration and the fast frication floor,
// and the affricate ç the fast frication floor only: its frication after the burst is what tells
// it from t.
TEST(FastSpeech, AspirationIsShortenedButTheFricationOfChIsNot) {
  ASSERT_TRUE(Voice().ok);
  struct Case {
    const char* text;
    std::size_t entry;  // the back-set onset unit
    bool aspirated;
  };
  for (const Case& c : {Case{"ça", 4, false}, Case{"ta", 36, true}, Case{"ka", 42, true},
                        Case{"pa", 26, true}, Case{"sa", 32, false}}) {
    VoiceControls controls;
    controls.ratePercent = 400;
    const Segmented r = Render(c.text, controls);
    const auto onset = std::find_if(r.segments.begin(), r.segments.end(), [](const Segment& s) {
      return s.Kind() == SegmentKind::kOnset;
    });
    ASSERT_NE(onset, r.segments.end()) << c.text;
    const std::vector<std::int16_t>& got = r.samples[onset - r.segments.begin()];
    const UnitEntry& unit = Voice().units.back[c.entry];
    std::vector<std::int16_t> expected, slow;
    const PartFloors fast = {kFastNoiseSamples, c.aspirated ? kFastAspirationSamples : 0, 0.25};
    RetimeConsonant(LockUnit(unit.handle), unit.LengthSamples(), Voice().data.back[c.entry], 0.25,
                    kBasePeriod, true, expected, fast);
    RetimeConsonant(LockUnit(unit.handle), unit.LengthSamples(), Voice().data.back[c.entry], 0.25,
                    kBasePeriod, true, slow);
    EXPECT_EQ(got, expected) << c.text;
    EXPECT_LT(got.size(), slow.size()) << c.text << " is shorter than with the floors of rate 100";
  }
}

// At every fast rate and pitch, no vowel gives back so much to the consonants before it that fewer
// than two whole periods are left (unless the rate itself makes it shorter).
TEST(FastSpeech, EveryVowelKeepsTwoWholePeriods) {
  ASSERT_TRUE(Voice().ok);
  const std::string text =
      "Kırk dokuz kişi geldi mi? Ağaç, böcek, çiçek; şişe ve jilet. Strateji, sportif, "
      "türkçesi, ekstra.";
  int vowels = 0, floored = 0;
  for (unsigned rate : {150u, 200u, 300u, 400u}) {
    for (float st : {0.f, 5.f, -4.f}) {
      VoiceControls controls;
      controls.ratePercent = rate;
      controls.semitones = st;
      const Segmented r = Render(text, controls);
      for (std::size_t k = 0; k < r.segments.size(); ++k) {
        const Segment& s = r.segments[k];
        if (s.Kind() != SegmentKind::kVowel || s.lengthPercent == 0) continue;
        // Stress raises the pitch, and the designed glide bends it up by at most a quarter of its
        // depth: the shortest period the vowel can have.
        const double lift = 12.0 * std::log2(100.0 / s.lengthPercent) +
                            12.0 * std::log2(1.0 + 0.25 * GlideDepth(s.glideSteps));
        const double period = PeriodFor(static_cast<float>(st + lift));
        const double nominal =
            VowelDurationMs(50, s.count) * 22.05 * 100 / rate * s.lengthPercent / 100.0;
        const double got = static_cast<double>(r.samples[k].size());
        ++vowels;
        if (nominal < 2 * period + 2) continue;
        EXPECT_GE(got, 2 * period - 1) << "vowel " << k << " at rate " << rate << ", " << st;
        if (got < nominal - 64) ++floored;
      }
    }
  }
  EXPECT_GT(vowels, 200);
  EXPECT_GT(floored, 0) << "some vowels give back, or the floor is not tested";
}

}  // namespace
}  // namespace orvanel::synth
