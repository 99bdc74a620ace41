// The prosody path on real audio: stressed transcription, plan, segment adjustment, contour and
// the controlled renderer, with F0 measured per syllable on the rendered samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "embedded/embedded_units.h"
#include "prosody/prosody.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"
#include "tests/frontend/cp1254_text.h"
#include "tests/prosody/pitch_track.h"
#include "tests/support/built_in_voice.h"

namespace orvanel::prosody {
namespace {

using testing::AutocorrelationF0;
using testing::SemitonesOf;

const test::BuiltInVoice& Voice() { return test::LoadedVoice(); }

// The first stretch of the text through the prosody path: its samples, and where each segment's
// samples begin (with the vowels marked).
struct RenderedStretch {
  std::vector<std::int16_t> samples;
  std::vector<std::uint32_t> starts;
  std::vector<bool> vowel;
};

RenderedStretch RenderFirstStretch(std::u8string_view utf8) {
  std::string text = frontend::testing::Cp(utf8), phonetic;
  TranscribeForProsody(text, phonetic);
  synth::SegmentList list;
  synth::StretchNotes notes;
  std::int32_t position = 0;
  if (synth::PlanStretch(phonetic, position, list, {true}, &notes) != 1) return {};
  std::vector<synth::VowelPitch> contour;
  if (!ContourForStretch(list, notes, contour)) return {};
  PrepareSegmentsForProsody(list);
  synth::ControlledRenderer renderer(Voice().units, Voice().data);
  synth::SampleBuffer buffer;
  buffer.Begin(synth::kStretchCapacityBytes, 50);
  renderer.BeginStretch(list, {}, contour);
  for (std::size_t i = 0; i < list.Size(); ++i) renderer.RenderSegment(i, 50, buffer);
  RenderedStretch out;
  out.samples.assign(buffer.Samples(), buffer.Samples() + buffer.SampleCount());
  for (std::size_t i = 0; i < list.Size(); ++i) {
    out.starts.push_back(buffer.UnitStarts()[i]);
    out.vowel.push_back(list[i].Kind() == synth::SegmentKind::kVowel);
  }
  buffer.Release();
  return out;
}

// F0 in semitones of every vowel of the first stretch, measured on 40 ms around its middle.
std::vector<double> SyllableF0(std::u8string_view utf8) {
  const RenderedStretch r = RenderFirstStretch(utf8);
  std::vector<double> f0;
  for (std::size_t i = 0; i < r.starts.size(); ++i) {
    if (!r.vowel[i]) continue;
    const std::uint32_t begin = r.starts[i];
    const std::uint32_t end =
        i + 1 < r.starts.size() ? r.starts[i + 1] : static_cast<std::uint32_t>(r.samples.size());
    // 40 ms around the middle: the pitch moves through the vowel.
    const std::uint32_t half = std::min<std::uint32_t>((end - begin) / 2, 441);
    const std::uint32_t middle = begin + (end - begin) / 2;
    const double hz = AutocorrelationF0(r.samples.data() + middle - half, 2 * half);
    f0.push_back(hz > 0 ? SemitonesOf(hz) : -99.0);
  }
  return f0;
}

TEST(ProsodyAudio, TheQuestionPeaksOnTheSyllableBeforeTheParticle) {
  ASSERT_TRUE(Voice().ok);
  const std::vector<double> q = SyllableF0(u8"Eve geliyor musun?");
  const std::vector<double> s = SyllableF0(u8"Eve geliyor.");
  ASSERT_EQ(q.size(), 7u);  // e ve ge li yor mu sun
  ASSERT_EQ(s.size(), 5u);
  for (double v : q) EXPECT_GT(v, -20.0) << "every vowel voiced";
  // "yor" is syllable 4 in both.
  EXPECT_GE(q[4] - s[4], 3.0) << "question " << q[4] << " statement " << s[4];
  EXPECT_EQ(std::max_element(q.begin(), q.end()) - q.begin(), 4);
  const double peak = *std::max_element(s.begin(), s.end());
  EXPECT_LE(s.back(), peak - 3.0) << "last " << s.back() << " peak " << peak;
  std::printf("F0 (st re 113.66 Hz) question:");
  for (double v : q) std::printf(" %.2f", v);
  std::printf("\nF0 (st re 113.66 Hz) statement:");
  for (double v : s) std::printf(" %.2f", v);
  std::printf("\n");
}

TEST(ProsodyAudio, MeasuredPitchFollowsTheContourWithinASemitone) {
  ASSERT_TRUE(Voice().ok);
  for (std::u8string_view text :
       {u8"Eve geliyor musun?", u8"Nereye gidiyorsun?", u8"Elma, armut ve muz aldım."}) {
    std::string cp = frontend::testing::Cp(text), phonetic;
    TranscribeForProsody(cp, phonetic);
    synth::SegmentList list;
    synth::StretchNotes notes;
    std::int32_t position = 0;
    ASSERT_EQ(synth::PlanStretch(phonetic, position, list, {true}, &notes), 1);
    std::vector<synth::VowelPitch> contour;
    ASSERT_TRUE(ContourForStretch(list, notes, contour));
    std::vector<double> target;
    for (std::size_t i = 0; i < list.Size(); ++i)
      if (list[i].Kind() == synth::SegmentKind::kVowel)
        target.push_back((contour[i].startSemitones + contour[i].endSemitones) / 2);
    const std::vector<double> measured = SyllableF0(text);
    ASSERT_EQ(measured.size(), target.size());
    for (std::size_t k = 0; k < target.size(); ++k)
      EXPECT_NEAR(measured[k], target[k], 1.0) << frontend::testing::Show(cp) << " vowel " << k;
  }
}

// The first stretch of the text through the prosody path, as samples.
std::vector<std::int16_t> Rendered(std::u8string_view utf8) {
  return RenderFirstStretch(utf8).samples;
}

// On the audio, 10 ms frames: the pitch moves within the voiced stretches (few of 40 ms or more
// span less than 0.3 semitones: the staircase of flat vowels measured 41 % on these sentences)
// and never jumps between neighbouring voiced frames; the statement falls at its end.
TEST(ProsodyAudio, TheTuneMovesWithoutSteps) {
  ASSERT_TRUE(Voice().ok);
  int stretches = 0, flat = 0;
  for (std::u8string_view text :
       {u8"Annem bugün eve geldi.", u8"Annem bugün eve geldi mi?", u8"Annem bugün nereye gitti?",
        u8"Pazardan elma, armut, üzüm ve portakal aldım.",
        u8"Komşumuz Ali \x11 bizim apartmanın yöneticisi\x12 dün akşam geldi.",
        u8"Bunu unutmayın\x15 yarın sabah erkenden yola çıkacağız."}) {
    const std::vector<std::int16_t> pcm = Rendered(text);
    ASSERT_FALSE(pcm.empty());
    const testing::TrackStats s =
        testing::StatsOf(testing::PitchTrack(pcm.data(), pcm.size(), 22050));
    stretches += s.stretches;
    flat += s.flatStretches;
    EXPECT_LE(s.largestStep, 2.5) << frontend::testing::Show(frontend::testing::Cp(text));
    EXPECT_LE(s.peak, 7.0) << frontend::testing::Show(frontend::testing::Cp(text));
  }
  ASSERT_GT(stretches, 40);
  EXPECT_LE(static_cast<double>(flat) / stretches, 0.2) << flat << " of " << stretches;
  const auto statement = Rendered(u8"Annem bugün eve geldi.");
  const auto question = Rendered(u8"Annem bugün eve geldi mi?");
  const auto s = testing::StatsOf(testing::PitchTrack(statement.data(), statement.size(), 22050));
  const auto q = testing::StatsOf(testing::PitchTrack(question.data(), question.size(), 22050));
  EXPECT_GE(q.peak - s.peak, 3.0) << "question " << q.peak << " statement " << s.peak;
  EXPECT_GE(s.finalFall, 3.0);
}

}  // namespace
}  // namespace orvanel::prosody
