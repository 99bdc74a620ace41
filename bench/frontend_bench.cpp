// Transcription speed of the text front end on about 1 MB of typed text (bytes per second).
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "frontend/text_to_phonetic.h"
#include "platform/codepage.h"

namespace {

constexpr std::size_t kTextSize = 1u << 20;

// Real Turkish sentences (words, numbers, punctuation, quotes, line breaks) repeated up to 1 MB.
const std::string& SentenceText() {
  static const std::string text = [] {
    std::ifstream file(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt", std::ios::binary);
    std::stringstream utf8;
    utf8 << file.rdbuf();
    if (!file || utf8.str().empty()) throw std::runtime_error("cannot read turkish-sentences.txt");
    std::string sentences;
    orvanel::platform::DecodeError error;
    if (!orvanel::platform::Utf8ToCp1254(utf8.str(), sentences, error)) {
      throw std::runtime_error("turkish-sentences.txt is not UTF-8");
    }
    std::string repeated;
    while (repeated.size() < kTextSize) repeated += sentences;
    repeated.resize(kTextSize);
    return repeated;
  }();
  return text;
}

// Every byte but zero, uniformly: many short runs, brace passages, escapes.
const std::string& RandomText() {
  static const std::string text = [] {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string bytes(kTextSize, ' ');
    for (auto& ch : bytes) ch = static_cast<char>(byte(random));
    return bytes;
  }();
  return text;
}

// Numbers of 1 to 12 digits between blanks.
const std::string& NumberText() {
  static const std::string text = [] {
    std::mt19937_64 random(11);
    std::string numbers;
    while (numbers.size() < kTextSize) {
      numbers += std::to_string(random() % 1000000000000ull);
      numbers += ' ';
    }
    numbers.resize(kTextSize);
    return numbers;
  }();
  return text;
}

void Transcribe(benchmark::State& state, const std::string& input) {
  std::string output;
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = input;  // transcription rewrites its text in place
    output.clear();
    state.ResumeTiming();
    orvanel::frontend::TextToPhonetic(text, output);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.size()));
  state.counters["output_ratio"] =
      static_cast<double>(output.size()) / static_cast<double>(input.size());
}

void BM_TextToPhonetic_Sentences(benchmark::State& state) { Transcribe(state, SentenceText()); }
void BM_TextToPhonetic_RandomBytes(benchmark::State& state) { Transcribe(state, RandomText()); }
void BM_TextToPhonetic_Numbers(benchmark::State& state) { Transcribe(state, NumberText()); }

BENCHMARK(BM_TextToPhonetic_Sentences)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_RandomBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_Numbers)->Unit(benchmark::kMillisecond);

}  // namespace
