// Cost of the voice controls: typed text to samples through the literal rendering and through
// the controlled rendering (pitch shift, rate, a contour), side by side in one run, in CPU
// seconds per second of speech made. Sentences: bench/data/turkish-sentences.txt.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/text_to_phonetic.h"
#include "synth/controlled_renderer.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/unit_inventory.h"

namespace {

using namespace orvanel;

constexpr std::uint16_t kSpeed = 50;
constexpr std::size_t kSentences = 200;

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Voice {
  synth::UnitInventory units;
  synth::VoiceData data;
};

const Voice* TheVoice() {
  static const std::optional<Voice> voice = [] {
    static const embedded::EmbeddedUnitStore store;
    Voice v;
    std::string error;
    if (synth::LoadUnits(store, v.units, error) != 1 ||
        synth::LoadVoiceData(store, v.data, error) != 1) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return std::optional<Voice>();
    }
    return std::optional<Voice>(v);
  }();
  return voice ? &*voice : nullptr;
}

// The first sentences of the benchmark text, transcribed once: the benchmark times rendering.
const std::string& Phonetic() {
  static const std::string phonetic = [] {
    std::ifstream in(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt");
    std::string utf8, line;
    for (std::size_t k = 0; k < kSentences && std::getline(in, line); ++k) utf8 += line + "\n";
    std::string text, out;
    codepage::DecodeError error;
    if (codepage::Utf8ToCp1254(utf8, text, error)) frontend::TextToPhonetic(text, out);
    return out;
  }();
  return phonetic;
}

// Renders every stretch; returns the samples made. controls empty: the literal loop.
std::uint64_t Render(const Voice& voice, const synth::VoiceControls* controls, bool contour,
                     synth::SampleBuffer& buffer, synth::SegmentList& list) {
  synth::ControlledRenderer renderer(voice.units, voice.data);
  std::vector<synth::VowelPitch> pitch;
  std::uint64_t samples = 0;
  std::int32_t position = 0;
  while (synth::PlanStretch(Phonetic(), position, list) == 1) {
    if (buffer.Begin(synth::kStretchCapacityBytes, 50) == 1) {
      if (controls == nullptr) {
        for (std::size_t i = 0; i < list.Size(); ++i) {
          synth::RenderSegment(list[i], synth::BuildEnvelope(list, i), kSpeed, voice.units, buffer);
        }
      } else {
        pitch.clear();
        // A falling statement contour: +3 semitones at the start down to -3 at the end.
        for (std::size_t i = 0; contour && i < list.Size(); ++i) {
          const float x = static_cast<float>(i) / static_cast<float>(list.Size());
          pitch.push_back({3.f - 6.f * x, 3.f - 6.f * (x + 1.f / list.Size())});
        }
        renderer.BeginStretch(list, *controls, pitch);
        for (std::size_t i = 0; i < list.Size(); ++i) renderer.RenderSegment(i, kSpeed, buffer);
      }
      samples += buffer.SampleCount();
      if (buffer.SampleCount() != 0)
        benchmark::DoNotOptimize(buffer.Samples()[buffer.SampleCount() - 1]);
    }
    buffer.Release();
  }
  return samples;
}

double literalCpuPerSecond = 0.0;

void Run(benchmark::State& state, const synth::VoiceControls* controls, bool contour) {
  const Voice* voice = TheVoice();
  if (voice == nullptr || Phonetic().empty()) {
    state.SkipWithError("no voice or no sentences");
    return;
  }
  synth::SampleBuffer buffer;
  synth::SegmentList list;
  std::uint64_t samples = 0;
  double cpu = 0.0;
  for (auto _ : state) {
    const double before = ThreadCpuSeconds();
    samples += Render(*voice, controls, contour, buffer, list);
    cpu += ThreadCpuSeconds() - before;
  }
  const double audio = static_cast<double>(samples) / synth::kBaseSampleRate;
  const double perSecond = cpu / audio;
  if (controls == nullptr) literalCpuPerSecond = perSecond;
  state.counters["audio_s"] = audio / static_cast<double>(state.iterations());
  state.counters["cpu_us_per_speech_s"] = perSecond * 1e6;
  if (literalCpuPerSecond > 0) state.counters["x_literal"] = perSecond / literalCpuPerSecond;
}

void BM_Literal(benchmark::State& state) { Run(state, nullptr, false); }
BENCHMARK(BM_Literal)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Neutral controls through the controlled renderer: the literal path behind one check.
void BM_ControlledNeutral(benchmark::State& state) {
  const synth::VoiceControls c;
  Run(state, &c, false);
}
BENCHMARK(BM_ControlledNeutral)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Pitch shift and rate, the controls of a screen-reader user: every vowel overlap-added, every
// consonant re-timed (each distinct unit once: the renderer keeps what it made).
void BM_ControlledPitchRate(benchmark::State& state) {
  synth::VoiceControls c;
  c.semitones = 4.f;
  c.ratePercent = 250;
  Run(state, &c, false);
}
BENCHMARK(BM_ControlledPitchRate)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Slow speech: every consonant lengthened.
void BM_ControlledPitchSlow(benchmark::State& state) {
  synth::VoiceControls c;
  c.semitones = -2.f;
  c.ratePercent = 50;
  Run(state, &c, false);
}
BENCHMARK(BM_ControlledPitchSlow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A contour on top: a different pitch for nearly every vowel and consonant, so that almost every
// unit is made afresh. This is the cost without reuse.
void BM_ControlledPitchRateContour(benchmark::State& state) {
  synth::VoiceControls c;
  c.semitones = -3.f;
  c.ratePercent = 200;
  Run(state, &c, true);
}
BENCHMARK(BM_ControlledPitchRateContour)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
