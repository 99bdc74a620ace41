// Synthesis throughput: typed text to samples on about ten minutes of speech, with a Turkish
// voice of espeak-ng run on the same text in the same program as a peer.
//
// Real-time factor = seconds of audio per second of CPU. Peak memory is the process's maximum
// resident set size. Sentences: bench/data/turkish-sentences.txt (UD Turkish-BOUN, CC BY-SA 4.0).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/text_to_phonetic.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"
#include "synth/segment_renderer.h"
#include "synth/unit_inventory.h"

extern char** environ;

namespace {

using namespace orvanel;

constexpr double kTargetAudioSeconds = 600.0;
constexpr std::uint16_t kSpeed = 50;
constexpr std::uint16_t kPitch = 50;

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

const synth::UnitInventory* Units() {
  static const std::optional<synth::UnitInventory> units = [] {
    static const embedded::EmbeddedUnitStore store;
    synth::UnitInventory inventory;
    std::string error;
    if (synth::LoadUnits(store, inventory, error) != 1) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return std::optional<synth::UnitInventory>();
    }
    return std::optional<synth::UnitInventory>(inventory);
  }();
  return units ? &*units : nullptr;
}

// The whole path for one utterance of UTF-8 text: code page, transcription, then every stretch
// planned, rendered into the buffer and released. Returns the number of samples made.
std::uint64_t Speak(std::string_view utf8, const synth::UnitInventory& units,
                    synth::SampleBuffer& buffer, synth::SegmentList& list) {
  std::string text;
  codepage::DecodeError error;
  if (!codepage::Utf8ToCp1254(utf8, text, error)) return 0;
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);

  std::uint64_t samples = 0;
  std::int32_t position = 0;
  while (synth::PlanStretch(phonetic, position, list) == 1) {
    if (buffer.Begin(synth::kStretchCapacityBytes, kPitch) == 1) {
      for (std::size_t i = 0; i < list.Size(); ++i) {
        synth::RenderSegment(list[i], synth::BuildEnvelope(list, i), kSpeed, units, buffer);
      }
      samples += buffer.SampleCount();
      if (buffer.SampleCount() != 0)
        benchmark::DoNotOptimize(buffer.Samples()[buffer.SampleCount() - 1]);
    }
    buffer.Release();
  }
  return samples;
}

std::vector<std::string> Sentences() {
  std::ifstream in(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Real sentences, one per line, repeated in order until they make about ten minutes of speech.
struct Corpus {
  std::string utf8;
  double audioSeconds = 0.0;
};

const Corpus& TheCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    const synth::UnitInventory* units = Units();
    const std::vector<std::string> sentences = Sentences();
    if (units == nullptr || sentences.empty()) return c;
    synth::SampleBuffer buffer;
    synth::SegmentList list;
    for (std::size_t k = 0; c.audioSeconds < kTargetAudioSeconds; ++k) {
      const std::string& sentence = sentences[k % sentences.size()];
      c.utf8 += sentence;
      c.utf8 += '\n';
      c.audioSeconds += static_cast<double>(Speak(sentence + "\n", *units, buffer, list)) /
                        synth::kBaseSampleRate;
    }
    return c;
  }();
  return corpus;
}

double orvanelRtf = 0.0;
double espeakRtf = 0.0;

void BM_TextToSamples(benchmark::State& state) {
  const synth::UnitInventory* units = Units();
  const Corpus& corpus = TheCorpus();
  if (units == nullptr || corpus.utf8.empty()) {
    state.SkipWithError("no units or no sentences");
    return;
  }
  synth::SampleBuffer buffer;
  synth::SegmentList list;
  std::uint64_t samples = 0;
  double cpu = 0.0;
  for (auto _ : state) {
    const double before = ThreadCpuSeconds();
    samples += Speak(corpus.utf8, *units, buffer, list);
    cpu += ThreadCpuSeconds() - before;
  }
  const double audio = static_cast<double>(samples) / synth::kBaseSampleRate;
  orvanelRtf = audio / cpu;
  state.counters["audio_s"] = audio / static_cast<double>(state.iterations());
  state.counters["rtf"] = orvanelRtf;
  state.counters["peak_rss_MiB"] = PeakResidentMiB();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.utf8.size()));
}
BENCHMARK(BM_TextToSamples)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Transcription alone, to show its share of the whole path.
void BM_TextToPhonetic(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  std::string cp1254;
  codepage::DecodeError error;
  if (corpus.utf8.empty() || !codepage::Utf8ToCp1254(corpus.utf8, cp1254, error)) {
    state.SkipWithError("no sentences");
    return;
  }
  for (auto _ : state) {
    std::string text = cp1254;
    std::string phonetic;
    frontend::TextToPhonetic(text, phonetic);
    benchmark::DoNotOptimize(phonetic.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * cp1254.size()));
}
BENCHMARK(BM_TextToPhonetic)->Unit(benchmark::kMillisecond);

// --- espeak-ng on the same text ----------------------------------------------------------------

// Audio seconds in a 16-bit mono RIFF file, from its fmt and data chunks.
std::optional<double> WavSeconds(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return std::nullopt;
  const auto u32 = [&bytes](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  std::uint32_t byteRate = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    std::uint64_t size = u32(at + 4);
    if (id == "fmt " && at + 16 <= bytes.size()) byteRate = u32(at + 16);
    if (id == "data") {
      // A writer that could not seek back leaves the size unset: take the rest of the file.
      size = std::min<std::uint64_t>(size, bytes.size() - at - 8);
      if (byteRate == 0) return std::nullopt;
      return static_cast<double>(size) / byteRate;
    }
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

// Runs espeak-ng on a text file, its output going to a file; the child's CPU time in seconds.
std::optional<double> RunEspeak(const std::string& textPath, const std::string& wavPath) {
  // No -q: with it espeak-ng makes no sound at all, not even into the file.
  std::vector<std::string> args = {"espeak-ng", "-v", "tr", "-w", wavPath, "-f", textPath};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "espeak-ng", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_EspeakNgTurkish(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  if (corpus.utf8.empty()) {
    state.SkipWithError("no sentences");
    return;
  }
  char dir[] = "/tmp/orvanel-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr) {
    state.SkipWithError("no temporary directory");
    return;
  }
  const std::string textPath = std::string(dir) + "/text.txt";
  const std::string wavPath = std::string(dir) + "/out.wav";
  std::ofstream(textPath, std::ios::binary) << corpus.utf8;

  double cpu = 0.0;
  double audio = 0.0;
  for (auto _ : state) {
    const std::optional<double> childCpu = RunEspeak(textPath, wavPath);
    const std::optional<double> seconds = childCpu ? WavSeconds(wavPath) : std::nullopt;
    if (!seconds) {
      state.SkipWithError("espeak-ng did not run (is the espeak-ng package installed?)");
      break;
    }
    cpu += *childCpu;
    audio += *seconds;
  }
  std::remove(wavPath.c_str());
  std::remove(textPath.c_str());
  rmdir(dir);
  if (cpu <= 0.0) return;
  espeakRtf = audio / cpu;
  state.counters["audio_s"] = audio / static_cast<double>(state.iterations());
  state.counters["child_cpu_s"] = cpu / static_cast<double>(state.iterations());
  state.counters["rtf"] = espeakRtf;
}
BENCHMARK(BM_EspeakNgTurkish)->Unit(benchmark::kMillisecond)->Iterations(1);

// The ratio of the two real-time factors measured above, in this same run.
void BM_SpeedupOverEspeakNg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(orvanelRtf);
  if (orvanelRtf <= 0.0 || espeakRtf <= 0.0) {
    state.SkipWithError("run BM_TextToSamples and BM_EspeakNgTurkish first");
    return;
  }
  state.counters["speedup"] = orvanelRtf / espeakRtf;
}
BENCHMARK(BM_SpeedupOverEspeakNg)->Iterations(1);

}  // namespace
