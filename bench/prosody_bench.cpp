// The prosody mode's cost beside the literal path: the front end with stress marks against
// the literal transcription (bytes per second on about 1 MB of sentences, the sample repeated
// like the words of a long text; on the sample once, where a transcriber meets 37 % of its
// words for a second time; and, when ORVANEL_BENCH_LONG_TEXT names a UTF-8 file, on 1 MB of
// that text, as bench/long_text.sh makes from the Turkish manual pages), and rendering a
// paragraph through the contour (segment adjustment and contour included) against the literal
// rendering through the same controlled renderer (and beside a flat contour, which takes the
// pitch-controlled path without the prosody stage).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/text_to_phonetic.h"
#include "prosody/prosody.h"
#include "reading/turkish_reading.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"

namespace {

constexpr std::size_t kTextSize = 1u << 20;

std::string Sentences(std::size_t lines,
                      const char* path = ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt") {
  std::ifstream file(path, std::ios::binary);
  std::string line, utf8;
  for (std::size_t k = 0; k < lines && std::getline(file, line); ++k) utf8 += line + "\n";
  if (utf8.empty()) throw std::runtime_error(std::string("cannot read ") + path);
  std::string text;
  orvanel::codepage::DecodeError error;
  if (!orvanel::codepage::Utf8ToCp1254(utf8, text, error)) throw std::runtime_error("not UTF-8");
  return text;
}

const std::string& SentenceText() {
  static const std::string text = [] {
    const std::string sentences = Sentences(100000);
    std::string repeated;
    while (repeated.size() < kTextSize) repeated += sentences;
    repeated.resize(kTextSize);
    return repeated;
  }();
  return text;
}

void BM_FrontEndLiteral(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = SentenceText(), out;
    orvanel::frontend::TextToPhonetic(text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}
BENCHMARK(BM_FrontEndLiteral)->Unit(benchmark::kMillisecond);

void BM_FrontEndWithStress(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = SentenceText(), out;
    orvanel::prosody::TranscribeForProsody(text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}
BENCHMARK(BM_FrontEndWithStress)->Unit(benchmark::kMillisecond);

// A text transcribed whole, a new transcriber per pass.
void FrontEndOn(benchmark::State& state, const std::string& sample, bool stress) {
  for (auto _ : state) {
    std::string text = sample, out;
    if (stress) {
      orvanel::prosody::TranscribeForProsody(text, out);
    } else {
      orvanel::frontend::TextToPhonetic(text, out);
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.size()));
}
// The 979 sentences once.
const std::string& SampleOnce() {
  static const std::string sample = Sentences(100000);
  return sample;
}
void BM_FrontEndLiteralOnce(benchmark::State& state) { FrontEndOn(state, SampleOnce(), false); }
BENCHMARK(BM_FrontEndLiteralOnce)->Unit(benchmark::kMicrosecond);
void BM_FrontEndWithStressOnce(benchmark::State& state) { FrontEndOn(state, SampleOnce(), true); }
BENCHMARK(BM_FrontEndWithStressOnce)->Unit(benchmark::kMicrosecond);

// Side by side: every iteration transcribes the text the literal way and then with stress
// marks, into buffers kept from one iteration to the next, and keeps the ratio of the two
// processor times. The median ratio ("stress_share", literal time over stressed time) drifts
// far less than two benchmarks run apart on a shared machine.
// reading: sample is UTF-8, and both sides first read it with the Turkish reading stage and
// convert it to Windows-1254, as orvanel-say and the library do by default.
void FrontEndSideBySide(benchmark::State& state, const std::string& sample, bool reading = false) {
  std::string text, out;
  std::vector<double> ratios, literal, stressed;
  auto prepare = [&] {
    out.clear();
    if (!reading) {
      text.assign(sample);
      return;
    }
    orvanel::codepage::DecodeError error;
    text.clear();
    if (!orvanel::codepage::Utf8ToCp1254(orvanel::reading::ReadTurkish(sample), text, error))
      throw std::runtime_error("the reading stage wrote what Windows-1254 lacks");
  };
  for (auto _ : state) {
    const std::clock_t t0 = std::clock();
    prepare();
    orvanel::frontend::TextToPhonetic(text, out);
    const std::clock_t t1 = std::clock();
    benchmark::DoNotOptimize(out.data());
    const std::clock_t t2 = std::clock();
    prepare();
    orvanel::prosody::TranscribeForProsody(text, out);
    const std::clock_t t3 = std::clock();
    benchmark::DoNotOptimize(out.data());
    literal.push_back(static_cast<double>(t1 - t0) / CLOCKS_PER_SEC);
    stressed.push_back(static_cast<double>(t3 - t2) / CLOCKS_PER_SEC);
    if (t3 > t2) ratios.push_back(static_cast<double>(t1 - t0) / static_cast<double>(t3 - t2));
  }
  auto median = [](std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  const double megabytes = static_cast<double>(sample.size()) / 1e6;
  state.counters["stress_share_pct"] = 100.0 * median(ratios);
  state.counters["literal_MB_per_s"] = megabytes / median(literal);
  state.counters["stressed_MB_per_s"] = megabytes / median(stressed);
}
void BM_FrontEndSideBySide(benchmark::State& state) { FrontEndSideBySide(state, SentenceText()); }
BENCHMARK(BM_FrontEndSideBySide)->Unit(benchmark::kMillisecond)->MinTime(3.0);
void BM_FrontEndSideBySideOnce(benchmark::State& state) { FrontEndSideBySide(state, SampleOnce()); }
BENCHMARK(BM_FrontEndSideBySideOnce)->Unit(benchmark::kMillisecond)->MinTime(3.0);
// The 1 MB of sentences through the reading stage first, on both sides.
void BM_FrontEndSideBySideWithReading(benchmark::State& state) {
  static const std::string utf8 = [] {
    std::ifstream file(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt", std::ios::binary);
    std::stringstream sample;
    sample << file.rdbuf();
    std::string text;
    while (text.size() < kTextSize) text += sample.str();
    return text.substr(0, text.rfind('\n', kTextSize) + 1);  // whole lines, whole characters
  }();
  FrontEndSideBySide(state, utf8, true);
}
BENCHMARK(BM_FrontEndSideBySideWithReading)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The first 1 MB of a long text of one's own, only when it is named.
const bool kLongTextRegistered = [] {
  const char* path = std::getenv("ORVANEL_BENCH_LONG_TEXT");
  if (path == nullptr || *path == '\0') return false;
  static const std::string text = [path] {
    std::string t = Sentences(std::numeric_limits<std::size_t>::max(), path);
    if (t.size() > kTextSize) t.resize(kTextSize);
    return t;
  }();
  benchmark::RegisterBenchmark("BM_FrontEndLiteralLongText", [](benchmark::State& s) {
    FrontEndOn(s, text, false);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_FrontEndWithStressLongText", [](benchmark::State& s) {
    FrontEndOn(s, text, true);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_FrontEndSideBySideLongText",
                               [](benchmark::State& s) { FrontEndSideBySide(s, text); })
      ->Unit(benchmark::kMillisecond)
      ->MinTime(3.0);
  return true;
}();

struct Voice {
  orvanel::synth::UnitInventory units;
  orvanel::synth::VoiceData data;
};
const Voice& TheVoice() {
  static const Voice voice = [] {
    Voice v;
    const orvanel::embedded::EmbeddedUnitStore store;
    std::string error;
    if (orvanel::synth::LoadUnits(store, v.units, error) != 1 ||
        orvanel::synth::LoadVoiceData(store, v.data, error) != 1)
      throw std::runtime_error(error);
    return v;
  }();
  return voice;
}

// Eight sentences, every stretch planned and rendered; prosody adds its transcription, the
// segment adjustment and the contour.
// flatContour: the literal transcription through the pitch-controlled rendering with every
// target at 0 semitones, which separates the cost of the voice path from the prosody stage's own.
void RenderParagraph(benchmark::State& state, bool prosodyMode, bool flatContour = false) {
  const std::string typed = Sentences(8);
  std::string text = typed, phonetic;
  if (prosodyMode) {
    orvanel::prosody::TranscribeForProsody(text, phonetic);
  } else {
    orvanel::frontend::TextToPhonetic(text, phonetic);
  }
  orvanel::synth::ControlledRenderer renderer(TheVoice().units, TheVoice().data);
  orvanel::synth::SegmentList list;
  orvanel::synth::SampleBuffer buffer;
  std::vector<orvanel::synth::VowelPitch> contour;
  orvanel::synth::StretchNotes notes;
  std::int64_t samples = 0;
  for (auto _ : state) {
    std::int32_t position = 0;
    while (true) {
      if (orvanel::synth::PlanStretch(phonetic, position, list, {true}, &notes) != 1) break;
      contour.clear();
      if (flatContour) contour.assign(list.Size(), {});
      if (prosodyMode) {
        orvanel::prosody::ContourForStretch(list, notes, contour);
        orvanel::prosody::PrepareSegmentsForProsody(list);
      }
      buffer.Begin(orvanel::synth::kStretchCapacityBytes, 50);
      renderer.BeginStretch(list, {}, contour);
      for (std::size_t i = 0; i < list.Size(); ++i) renderer.RenderSegment(i, 50, buffer);
      samples += buffer.SampleCount();
      benchmark::DoNotOptimize(buffer.Samples());
      buffer.Release();
    }
  }
  state.counters["audio_s_per_s"] =
      benchmark::Counter(static_cast<double>(samples) / 22050.0, benchmark::Counter::kIsRate);
}

void BM_RenderLiteral(benchmark::State& state) { RenderParagraph(state, false); }
BENCHMARK(BM_RenderLiteral)->Unit(benchmark::kMillisecond);
void BM_RenderFlatContour(benchmark::State& state) { RenderParagraph(state, false, true); }
BENCHMARK(BM_RenderFlatContour)->Unit(benchmark::kMillisecond);
void BM_RenderProsody(benchmark::State& state) { RenderParagraph(state, true); }
BENCHMARK(BM_RenderProsody)->Unit(benchmark::kMillisecond);

// The stage's own share: planning every stretch of the paragraph, with and without the
// contour and the segment adjustment (no rendering).
void PlanParagraph(benchmark::State& state, bool prosodyMode) {
  std::string text = Sentences(8), phonetic;
  orvanel::prosody::TranscribeForProsody(text, phonetic);
  orvanel::synth::SegmentList list;
  std::vector<orvanel::synth::VowelPitch> contour;
  orvanel::synth::StretchNotes notes;
  for (auto _ : state) {
    std::int32_t position = 0;
    while (true) {
      if (orvanel::synth::PlanStretch(phonetic, position, list, {true}, &notes) != 1) break;
      if (prosodyMode) {
        orvanel::prosody::ContourForStretch(list, notes, contour);
        orvanel::prosody::PrepareSegmentsForProsody(list);
      }
      benchmark::DoNotOptimize(list.Size());
    }
  }
}
void BM_PlanOnly(benchmark::State& state) { PlanParagraph(state, false); }
BENCHMARK(BM_PlanOnly)->Unit(benchmark::kMicrosecond);
void BM_PlanWithContour(benchmark::State& state) { PlanParagraph(state, true); }
BENCHMARK(BM_PlanWithContour)->Unit(benchmark::kMicrosecond);

}  // namespace
