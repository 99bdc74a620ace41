// The controlled renderer over real text: neutral controls give the designed samples, the rate
// scales the duration, pauses keep their floors, shifted speech has no steps and no clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/text_to_phonetic.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/voice_controls.h"
#include "synth/voice_data.h"
#include "synth/voice_signal.h"
#include "tests/support/built_in_voice.h"
#include "tests/synth/typed_phonetic.h"

namespace orvanel::synth {
namespace {

const test::BuiltInVoice& Voice() { return test::LoadedVoice(); }

using testing::Phonetic;

struct Rendered {
  std::vector<std::int16_t> samples;
  std::vector<std::uint32_t> joins;  // where each unit starts, over the whole text
};

// Every stretch of the text through the designed loop (designed = true) or the controlled one.
Rendered Speak(const std::string& utf8, const VoiceControls& controls, bool designed,
               std::uint16_t speed = 50, float contourRise = 0.f) {
  Rendered out;
  const std::string phonetic = Phonetic(utf8);
  ControlledRenderer renderer(Voice().units, Voice().data);
  SampleBuffer buffer;
  SegmentList list;
  std::int32_t position = 0;
  while (PlanStretch(phonetic, position, list) == 1) {
    buffer.Begin(kStretchCapacityBytes, 50);
    std::vector<VowelPitch> contour;
    if (contourRise != 0.f) contour.assign(list.Size(), {-contourRise, contourRise});
    renderer.BeginStretch(list, controls, contour);
    for (std::size_t i = 0; i < list.Size(); ++i) {
      if (designed) {
        RenderSegment(list[i], BuildEnvelope(list, i), speed, Voice().units, buffer);
      } else {
        renderer.RenderSegment(i, speed, buffer);
      }
    }
    const std::uint32_t base = static_cast<std::uint32_t>(out.samples.size());
    for (std::size_t k = 0; k < buffer.UnitStarts().Size(); ++k)
      out.joins.push_back(base + buffer.UnitStarts()[k]);
    out.samples.insert(out.samples.end(), buffer.Samples(),
                       buffer.Samples() + buffer.SampleCount());
    buffer.Release();
  }
  return out;
}

const std::vector<std::string> kTexts = {"Bee.",
                                         "Kal",
                                         "Bugün hava çok güzel, yarın da yağmur yağacak.",
                                         "Kırk dokuz kişi geldi mi?",
                                         "İstanbul'da 1923 yılında, saat 12:30'da!",
                                         "Ağaç, böcek, çiçek; şişe ve jilet.",
                                         "la"};

TEST(ControlledRenderer, NeutralControlsGiveTheDesignedSamplesByteForByte) {
  ASSERT_TRUE(Voice().ok);
  for (const std::string& text : kTexts) {
    for (std::uint16_t speed : {0, 20, 50, 99}) {
      const Rendered a = Speak(text, {}, true, speed);
      const Rendered b = Speak(text, {}, false, speed);
      EXPECT_EQ(a.samples, b.samples) << text << " at speed " << speed;
      EXPECT_EQ(a.joins, b.joins) << text << " at speed " << speed;
    }
  }
}

std::string Paragraph() {
  std::ifstream in(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt");
  std::string paragraph, line;
  for (int k = 0; k < 8 && std::getline(in, line); ++k) paragraph += line + "\n";
  return paragraph;
}

TEST(ControlledRenderer, DurationFollowsTheRateWithinTenPercent) {
  ASSERT_TRUE(Voice().ok);
  const std::string text = Paragraph();
  ASSERT_FALSE(text.empty());
  const double base = static_cast<double>(Speak(text, {}, true).samples.size());
  for (unsigned rate : {50u, 200u, 300u, 400u}) {
    for (float st : {0.f, -4.f, 5.f}) {
      VoiceControls c;
      c.ratePercent = rate;
      c.semitones = st;
      const double d = static_cast<double>(Speak(text, c, false).samples.size());
      const double expected = base * 100.0 / rate;
      EXPECT_NEAR(d / expected, 1.0, 0.10) << "rate " << rate << " semitones " << st;
    }
  }
}

struct PauseCase {
  std::int32_t kind;
  std::int32_t ms;
  unsigned rate;
  std::uint32_t samples;
};

TEST(ControlledRenderer, PausesScaleWithTheRateAboveTheirFloors) {
  ASSERT_TRUE(Voice().ok);
  const std::vector<PauseCase> cases = {
      {KindCode(SegmentKind::kSentenceEnd), 700, 400, 3858},  // 175 ms
      {KindCode(SegmentKind::kSentenceEnd), 700, 200, 7717},  // 350 ms
      {KindCode(SegmentKind::kSentenceEnd), 700, 50, 30870},  // 1400 ms
      {KindCode(SegmentKind::kSentenceEnd), 400, 400, 2646},  // the 120 ms floor
      {KindCode(SegmentKind::kSentenceEnd), 100, 400, 2205},  // shorter than the floor: kept
      {KindCode(SegmentKind::kPause), 100, 400, 882},         // the 40 ms floor for a comma
      {KindCode(SegmentKind::kPause), 100, 200, 1102},        // 50 ms
      {KindCode(SegmentKind::kPause), 1, 400, 22},            // a space is under the floor: kept
      {KindCode(SegmentKind::kPause), 1, 25, 88},             // 4 ms
  };
  for (const PauseCase& c : cases) {
    SegmentList list;
    list.Append({c.kind, 0, c.ms, 100, 0, 0});
    VoiceControls controls;
    controls.ratePercent = c.rate;
    ControlledRenderer renderer(Voice().units, Voice().data);
    renderer.BeginStretch(list, controls, {});
    SampleBuffer buffer;
    buffer.Begin(kStretchCapacityBytes, 50);
    renderer.RenderSegment(0, 50, buffer);
    EXPECT_EQ(buffer.SampleCount(), c.samples) << c.kind << " " << c.ms << " ms at " << c.rate;
  }
}

TEST(ControlledRenderer, AFullBufferDropsWhatDoesNotFitAndCountsIt) {
  ASSERT_TRUE(Voice().ok);
  SegmentList list;
  const std::string phonetic = Phonetic("Bugün hava çok güzel.");
  std::int32_t position = 0;
  ASSERT_EQ(PlanStretch(phonetic, position, list), 1);
  VoiceControls controls;
  controls.semitones = 3.f;
  ControlledRenderer renderer(Voice().units, Voice().data);
  renderer.BeginStretch(list, controls, {});
  SampleBuffer buffer;
  buffer.Begin(4000, 50);  // 2000 samples
  for (std::size_t i = 0; i < list.Size(); ++i) renderer.RenderSegment(i, 50, buffer);
  EXPECT_LE(buffer.SampleCount(), 2000u);
  EXPECT_GT(buffer.DroppedSamples(), 0u);
  EXPECT_EQ(buffer.UnitStarts().Size(), list.Size()) << "every unit is still recorded";
}

// Odd vowel segments: no letters (one period), stressed to nothing, and durations far beyond the
// buffer (dropped whole, counted).
TEST(ControlledRenderer, EdgeVowelsRenderLikeTheDesignedOnes) {
  ASSERT_TRUE(Voice().ok);
  struct Case {
    Segment segment;
    std::uint16_t speed;
    std::uint32_t samples;
    bool dropped;
  };
  const std::vector<Case> cases = {
      {{KindCode(SegmentKind::kVowel), 0, 0, 100, 0, 0}, 50, 194, false},  // no letters: one period
      {{KindCode(SegmentKind::kVowel), 0, 1, 0, 1, 1}, 50, 0, false},      // stretched to nothing
      {{KindCode(SegmentKind::kVowel), 6, 2147483647, 100, 1, 1},
       65535,
       0,
       true},  // far too long for any buffer
      {{KindCode(SegmentKind::kVowel), 2, 1, 95, 1, 1},
       50,
       2514,
       false},  // stressed: 13 periods at +0.9 st
  };
  for (const Case& c : cases) {
    SegmentList list;
    list.Append(c.segment);
    VoiceControls controls;
    controls.semitones = 0.f;
    controls.ratePercent = 100;
    ControlledRenderer renderer(Voice().units, Voice().data);
    const std::vector<VowelPitch> contour = {{0.f, 0.f}};
    renderer.BeginStretch(list, controls, contour);
    SampleBuffer buffer;
    buffer.Begin(kStretchCapacityBytes, 50);
    renderer.RenderSegment(0, c.speed, buffer);
    EXPECT_EQ(buffer.UnitStarts().Size(), 1u) << c.segment.count;
    EXPECT_NEAR(buffer.SampleCount(), c.samples, 194) << c.segment.count;
    EXPECT_EQ(buffer.DroppedSamples() > 0, c.dropped) << c.segment.count;
  }
}

// Steps at unit joins against the largest step inside the units the text uses, and the level.
TEST(ControlledRenderer, ShiftedSpeechHasNoJoinStepsBeyondTheUnitsOwnAndNoClipping) {
  ASSERT_TRUE(Voice().ok);
  const std::string text =
      "Bugün hava çok güzel, yarın da yağmur yağacak. Anneme mavi bir elma verdim.";
  const Rendered designed = Speak(text, {}, true);
  int ownStep = 0;
  for (std::size_t i = 1; i < designed.samples.size(); ++i) {
    ownStep = std::max(ownStep, std::abs(designed.samples[i] - designed.samples[i - 1]));
  }
  struct Case {
    unsigned rate;
    float st, rise;
  };
  for (const Case& c : std::vector<Case>{
           {100, -6, 0}, {100, 6, 0}, {100, 0, 3}, {300, 4, 2}, {50, -5, 1}, {400, 6, 0}}) {
    VoiceControls controls;
    controls.ratePercent = c.rate;
    controls.semitones = c.st;
    const Rendered r = Speak(text, controls, false, 50, c.rise);
    int worst = 0;
    for (std::uint32_t j : r.joins) {
      if (j > 0 && j < r.samples.size())
        worst = std::max(worst, std::abs(r.samples[j] - r.samples[j - 1]));
    }
    EXPECT_LE(worst, ownStep) << c.rate << " " << c.st;
    const auto [lo, hi] = std::minmax_element(r.samples.begin(), r.samples.end());
    EXPECT_GT(*lo, -32768);
    EXPECT_LT(*hi, 32767);
  }
}

// At four times the rate every burst's first 10 ms is still in the consonant, sample for sample,
// and the re-timed unit is never longer than the original; at rate 100 it is the unit itself.
TEST(RetimeConsonant, AtFourTimesTheRateEveryKeptPartSurvivesVerbatim) {
  ASSERT_TRUE(Voice().ok);
  for (int set = 0; set < 2; ++set) {
    const auto& units = set == 0 ? Voice().units.back : Voice().units.front;
    const auto& maps = set == 0 ? Voice().data.back : Voice().data.front;
    for (std::size_t e = 0; e < 48; ++e) {
      const std::int16_t* x = LockUnit(units[e].handle);
      const std::uint32_t n = units[e].LengthSamples();
      std::vector<std::int16_t> out;
      RetimeConsonant(x, n, maps[e], 0.25, kBasePeriod, true, out);
      EXPECT_LE(out.size(), n) << set << " " << e;
      for (const UnitPart& p : maps[e].parts) {
        if (p.kind != UnitPartKind::Kept) continue;
        const auto it = std::search(out.begin(), out.end(), x + p.start, x + p.end);
        EXPECT_NE(it, out.end()) << "burst of entry " << e << " set " << set;
      }
      std::vector<std::int16_t> same;
      RetimeConsonant(x, n, maps[e], 1.0, kBasePeriod, true, same);
      EXPECT_TRUE(std::equal(same.begin(), same.end(), x, x + n) && same.size() == n) << e;
    }
  }
}

// Frames of 64 samples whose high band (first difference) is at least half as strong as the
// median frame of the unit's longest noise part: how long the frication lasts.
std::size_t FricationSamples(const std::vector<std::int16_t>& x, double threshold) {
  std::size_t count = 0;
  for (std::size_t f = 1; f + 64 <= x.size(); f += 64) {
    double e = 0;
    for (std::size_t i = f; i < f + 64; ++i) e += std::pow(x[i] - static_cast<double>(x[i - 1]), 2);
    if (std::sqrt(e / 64) >= threshold) count += 64;
  }
  return count;
}

TEST(RetimeConsonant, AtFourTimesTheRateFricationLastsAtLeastFifteenMilliseconds) {
  ASSERT_TRUE(Voice().ok);
  struct Case {
    const char* name;
    std::size_t entry;
  };
  // s, ş and ç onsets and codas (back set): the strongest frication, well above the vowels'
  // high band.
  const std::vector<Case> cases = {
      {"S_PRE", 32}, {"S_POST", 33}, {"SH_PRE", 34}, {"SH_POST", 35}, {"CH", 4}};
  for (const Case& c : cases) {
    const std::int16_t* x = LockUnit(Voice().units.back[c.entry].handle);
    const std::uint32_t n = Voice().units.back[c.entry].LengthSamples();
    const ConsonantVoice& map = Voice().data.back[c.entry];
    const UnitPart* noise = nullptr;
    for (const UnitPart& p : map.parts) {
      if (p.kind == UnitPartKind::Noise && (!noise || p.end - p.start > noise->end - noise->start))
        noise = &p;
    }
    ASSERT_NE(noise, nullptr) << c.name;
    std::vector<double> frames;
    for (std::uint32_t f = noise->start + 1; f + 64 <= noise->end; f += 64) {
      double e = 0;
      for (std::uint32_t i = f; i < f + 64; ++i)
        e += std::pow(x[i] - static_cast<double>(x[i - 1]), 2);
      frames.push_back(std::sqrt(e / 64));
    }
    std::sort(frames.begin(), frames.end());
    const double threshold = 0.5 * frames[frames.size() / 2];
    const std::vector<std::int16_t> unit(x, x + n);
    std::vector<std::int16_t> out;
    RetimeConsonant(x, n, map, 0.25, kBasePeriod, true, out);
    const std::size_t before = FricationSamples(unit, threshold);
    const std::size_t after = FricationSamples(out, threshold);
    EXPECT_GE(after + 128, kMinNoiseSamples) << c.name << ": two frames of slack for the framing";
    EXPECT_LT(after, before) << c.name << " is shortened";
  }
}

// The murmur of m and n and the steady part of l, y and v follow the shifted pitch: the lag of
// the best self-similarity over three periods is the new period. The strong, narrow low
// resonance of a nasal murmur pulls this measure by up to 3.5 % at low pitch (a pitch left at
// the designed 194 samples would be 12 to 41 % off).
TEST(RetimeConsonant, VoicedSonorantsTakeTheNewPitch) {
  ASSERT_TRUE(Voice().ok);
  struct Case {
    const char* name;
    std::size_t entry;
  };
  const std::vector<Case> cases = {
      {"M_PRE", 22}, {"N_PRE", 24}, {"L_PRE", 20}, {"Y_PRE", 44}, {"V_PRE", 38}};
  for (const Case& c : cases) {
    const std::int16_t* x = LockUnit(Voice().units.back[c.entry].handle);
    const std::uint32_t n = Voice().units.back[c.entry].LengthSamples();
    for (float st : {-6.f, -3.f, 3.f, 6.f}) {
      const double period = kBasePeriod * std::exp2(-st / 12.0);
      std::vector<std::int16_t> out;
      RetimeConsonant(x, n, Voice().data.back[c.entry], 1.0, period, true, out);
      EXPECT_NEAR(static_cast<double>(out.size()), n, period) << c.name << " keeps its length";
      // Three periods from 30 % into the unit, fewer in a short unit, and room for the lag.
      const int size = static_cast<int>(out.size());
      const int maxLag = static_cast<int>(1.2 * period) + 2;
      const int begin = std::min(size * 3 / 10, size - maxLag - static_cast<int>(period));
      const int length = std::min(static_cast<int>(3 * period), size - maxLag - begin);
      ASSERT_GE(begin, 0) << c.name;
      ASSERT_GE(length, static_cast<int>(period)) << c.name;
      auto r = [&](int lag) {
        double xy = 0, xx = 0, yy = 0;
        for (int i = begin; i < begin + length; ++i) {
          xy += out[i] * static_cast<double>(out[i + lag]);
          xx += out[i] * static_cast<double>(out[i]);
          yy += out[i + lag] * static_cast<double>(out[i + lag]);
        }
        return xy / std::sqrt(xx * yy + 1e-9);
      };
      int best = 0;
      for (int lag = static_cast<int>(0.8 * period); lag <= static_cast<int>(1.2 * period); ++lag) {
        if (best == 0 || r(lag) > r(best)) best = lag;
      }
      const double a = r(best - 1), b = r(best), d = r(best + 1);
      const double measured = best + 0.5 * (a - d) / (a - 2 * b + d);
      EXPECT_NEAR(measured / period, 1.0, 0.035) << c.name << " at " << st << " semitones";
    }
  }
}

}  // namespace
}  // namespace orvanel::synth

namespace orvanel::synth {
namespace {

// The contour's length: the vowel lasts its percentage of what the controls give, from 50 to 300 %.
TEST(ControlledRenderer, AContourLengthensItsVowelByItsPercentage) {
  ASSERT_TRUE(Voice().ok);
  auto render = [](unsigned rate, float st, std::uint16_t percent) {
    SegmentList list;
    list.Append({KindCode(SegmentKind::kVowel), 2, 2, 100, 0, 0});
    VoiceControls controls;
    controls.ratePercent = rate;
    ControlledRenderer renderer(Voice().units, Voice().data);
    const std::vector<VowelPitch> contour = {{st, st, percent}};
    renderer.BeginStretch(list, controls, contour);
    SampleBuffer buffer;
    buffer.Begin(kStretchCapacityBytes, 50);
    renderer.RenderSegment(0, 50, buffer);
    const double n = buffer.SampleCount();
    buffer.Release();
    return n;
  };
  struct Case {
    unsigned rate;
    float st;
    std::uint16_t percent;
    double factor;
  };
  for (const Case& c : std::vector<Case>{{100, 0.f, 125, 1.25},
                                         {100, 0.f, 140, 1.4},
                                         {100, 3.f, 140, 1.4},
                                         {200, -3.f, 150, 1.5},
                                         {100, 0.f, 60, 0.6},
                                         {100, 0.f, 20, 0.5},
                                         {100, 0.f, 900, 3.0}}) {
    const double plain = render(c.rate, c.st, 100);
    const double longer = render(c.rate, c.st, c.percent);
    // Each rendering is whole periods within half a period of what it wants.
    EXPECT_NEAR(longer, plain * c.factor, (c.factor + 1) * PeriodFor(c.st))
        << c.rate << " " << c.percent;
  }
}

}  // namespace
}  // namespace orvanel::synth
