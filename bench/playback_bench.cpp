// Playback latency through the sound server: the time from SpeakText to the first samples handed
// to the server, and the silence each new stretch adds beyond its own pause (the device is opened
// afresh for every stretch). Needs a sound server behind ALSA's "default" PCM (see
// scripts/sound-server.sh); skipped with an error without one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "embedded/embedded_units.h"
#include "engine/speech_engine.h"
#include "platform/alsa_wave_device.h"
#include "platform/linux_thread.h"

namespace orvanel {
namespace {

using Clock = std::chrono::steady_clock;

// When each stretch was handed over and when the device reported it played.
class Timeline {
 public:
  void Written() { Add(writes_); }
  void Done() { Add(dones_); }
  void Clear() {
    std::lock_guard lock(mutex_);
    writes_.clear();
    dones_.clear();
  }
  bool WaitForWrites(std::size_t n) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return writes_.size() >= n; });
  }
  std::vector<Clock::time_point> Writes() {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  std::vector<Clock::time_point> Dones() {
    std::lock_guard lock(mutex_);
    return dones_;
  }

 private:
  void Add(std::vector<Clock::time_point>& list) {
    {
      std::lock_guard lock(mutex_);
      list.push_back(Clock::now());
    }
    changed_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Clock::time_point> writes_;
  std::vector<Clock::time_point> dones_;
};

// The ALSA device, noting when the first chunk of each stretch reached the server.
class TimedDevice final : public synth::WaveDevice {
 public:
  explicit TimedDevice(Timeline& timeline) : timeline_(timeline) {}
  synth::OpenResult Open(const synth::OutputFormat& format) override {
    return device_.Open(format);
  }
  bool Write(const std::int16_t* samples, std::uint32_t count,
             const synth::ManualResetEvent& stop) override {
    // The first chunk alone, so that its hand-over is timed rather than the whole stretch.
    const std::uint32_t first = std::min<std::uint32_t>(count, 64);
    synth::ManualResetEvent never;
    if (!device_.Write(samples, first, never)) return false;
    timeline_.Written();
    // The rest goes through the device's own loop again; its position restarts here.
    return device_.Write(samples + first, count - first, stop);
  }
  bool WaitDone(std::chrono::milliseconds timeout) override {
    const bool done = device_.WaitDone(timeout);
    if (done && !reported_) {
      reported_ = true;
      timeline_.Done();
    }
    return done;
  }
  void Reset() override { device_.Reset(); }
  void Close() override { device_.Close(); }

 private:
  Timeline& timeline_;
  platform::AlsaWaveDevice device_{"default"};
  bool reported_ = false;
};

class DoneWindow final : public engine::NotifyTarget {
 public:
  void PostMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {
    {
      std::lock_guard lock(mutex_);
      ++count_;
    }
    changed_.notify_all();
  }
  bool WaitFor(int n) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return count_ >= n; });
  }
  int Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

struct Engine {
  Engine() {
    engine::EngineServices services;
    services.units = &units;
    services.threads = &threads;
    services.makeDevice = [this] { return std::make_unique<TimedDevice>(timeline); };
    ok = engine::CreateSpeechEngine(error, services) != nullptr;
    // Is the server there at all?
    platform::AlsaWaveDevice probe("default");
    if (ok && probe.Open(synth::OutputFormat{}) != synth::OpenResult::Ok) {
      ok = false;
      error = "no sound server behind the default PCM";
    }
  }
  ~Engine() { engine::ShutdownSpeechEngine(); }

  embedded::EmbeddedUnitStore units;
  platform::LinuxThreadFactory threads;
  Timeline timeline;
  DoneWindow window;
  std::string error;
  bool ok = false;
};

void BM_SpeakToFirstSample(benchmark::State& state) {
  Engine engine;
  if (!engine.ok) {
    state.SkipWithError(engine.error.c_str());
    return;
  }
  int utterances = 0;
  for (auto _ : state) {
    engine.timeline.Clear();
    const auto start = Clock::now();
    engine::SpeakText("Merhaba.", &engine.window, engine::kSpeechDoneMessage);
    if (!engine.timeline.WaitForWrites(1)) {
      state.SkipWithError("nothing was written");
      return;
    }
    const auto first = engine.timeline.Writes()[0];
    state.SetIterationTime(std::chrono::duration<double>(first - start).count());
    engine::StopSpeaking();
    engine.window.WaitFor(++utterances);
  }
}
BENCHMARK(BM_SpeakToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Four short sentences: the silence between one stretch's end and the next one's first samples
// is what playback adds beyond the sentence pause, which is rendered into the stretch itself.
void BM_GapPerStretch(benchmark::State& state) {
  Engine engine;
  if (!engine.ok) {
    state.SkipWithError(engine.error.c_str());
    return;
  }
  int utterances = 0;
  double worst = 0;
  for (auto _ : state) {
    engine.timeline.Clear();
    engine::SpeakText("Bir. Iki. Alti. Yedi.", &engine.window, engine::kSpeechDoneMessage);
    engine.window.WaitFor(++utterances);
    const auto writes = engine.timeline.Writes();
    const auto dones = engine.timeline.Dones();
    if (writes.size() < 2 || dones.size() + 1 < writes.size()) {
      state.SkipWithError("too few stretches were played");
      return;
    }
    double total = 0;
    for (std::size_t k = 1; k < writes.size(); ++k) {
      const double gap = std::chrono::duration<double>(writes[k] - dones[k - 1]).count();
      total += gap;
      worst = std::max(worst, gap);
    }
    state.SetIterationTime(total / static_cast<double>(writes.size() - 1));
  }
  state.counters["worst_gap_ms"] = worst * 1000;
}
BENCHMARK(BM_GapPerStretch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
}  // namespace orvanel
