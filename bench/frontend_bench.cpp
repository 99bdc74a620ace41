// Transcription speed of the text front end on about 1 MB of typed text (bytes per second), and
// of the front end with the Turkish reading stage before it, on the same sentences.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "reading/turkish_reading.h"

namespace {

constexpr std::size_t kTextSize = 1u << 20;

// The sentence file as it stands: real Turkish sentences (words, numbers, punctuation, quotes,
// line breaks) in UTF-8.
const std::string& SentenceFile() {
  static const std::string text = [] {
    std::ifstream file(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt", std::ios::binary);
    std::stringstream utf8;
    utf8 << file.rdbuf();
    if (!file || utf8.str().empty()) throw std::runtime_error("cannot read turkish-sentences.txt");
    return utf8.str();
  }();
  return text;
}

// The sentences in Windows-1254, repeated up to 1 MB.
const std::string& SentenceText() {
  static const std::string text = [] {
    std::string sentences;
    orvanel::codepage::DecodeError error;
    if (!orvanel::codepage::Utf8ToCp1254(SentenceFile(), sentences, error)) {
      throw std::runtime_error("turkish-sentences.txt is not UTF-8");
    }
    std::string repeated;
    while (repeated.size() < kTextSize) repeated += sentences;
    repeated.resize(kTextSize);
    return repeated;
  }();
  return text;
}

// The sentences in UTF-8, repeated whole to at least 1 MB (cut at a line feed, so that no
// character is cut).
const std::string& SentenceUtf8() {
  static const std::string text = [] {
    std::string repeated;
    while (repeated.size() < kTextSize) repeated += SentenceFile();
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

// The window's and the command line's way with reading on: UTF-8 through the reading stage, the
// conversion to Windows-1254, then the front end. Bytes are counted in UTF-8 input; compare with
// BM_TextToPhonetic_SentencesUtf8, which converts and transcribes the same text without reading.
void ReadAndTranscribe(benchmark::State& state, bool reading) {
  const std::string& input = SentenceUtf8();
  std::string output;
  for (auto _ : state) {
    std::string text;
    orvanel::codepage::DecodeError error;
    if (reading) {
      orvanel::codepage::Utf8ToCp1254(orvanel::reading::ReadTurkish(input), text, error);
    } else {
      orvanel::codepage::Utf8ToCp1254(input, text, error);
    }
    output.clear();
    orvanel::frontend::TextToPhonetic(text, output);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.size()));
}

void BM_TextToPhonetic_Sentences(benchmark::State& state) { Transcribe(state, SentenceText()); }
void BM_TextToPhonetic_SentencesUtf8(benchmark::State& state) { ReadAndTranscribe(state, false); }
void BM_TextToPhonetic_SentencesReading(benchmark::State& state) { ReadAndTranscribe(state, true); }
void BM_ReadTurkish_Sentences(benchmark::State& state) {
  const std::string& input = SentenceUtf8();
  for (auto _ : state) {
    const std::string read = orvanel::reading::ReadTurkish(input);
    benchmark::DoNotOptimize(read.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.size()));
}
void BM_TextToPhonetic_RandomBytes(benchmark::State& state) { Transcribe(state, RandomText()); }
void BM_TextToPhonetic_Numbers(benchmark::State& state) { Transcribe(state, NumberText()); }

BENCHMARK(BM_TextToPhonetic_Sentences)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_SentencesUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_SentencesReading)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTurkish_Sentences)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_RandomBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToPhonetic_Numbers)->Unit(benchmark::kMillisecond);

}  // namespace
