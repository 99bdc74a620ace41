// A wave device for tests: refuses chosen rates, fails to open or write on request, records every
// stretch written, and finishes playback on command, automatically or after a set duration.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "synth/wave_device.h"

namespace orvanel::test {

struct WrittenStretch {
  std::uint32_t rate = 0;
  std::vector<std::int16_t> samples;
};

// The state shared by every device it makes; the engine opens a fresh device per stretch.
// Thread-safe: the worker plays while the test configures and inspects.
class FakeAudio {
 public:
  // A device bound to this state (it must outlive the device).
  std::unique_ptr<synth::WaveDevice> MakeDevice();
  std::function<std::unique_ptr<synth::WaveDevice>()> Factory();

  void RejectRate(std::uint32_t rate);
  void SetOpenFails(bool fails);
  void SetWriteFails(bool fails);
  // Done as soon as a stretch is written (true, the default) or only on Finish (false).
  void SetAutoFinish(bool automatic);
  // With auto finish: done this long after the write instead of at once.
  void SetPlayDuration(std::chrono::microseconds duration);
  // Whether Reset makes the device report done (true by default, as a real device does).
  void SetResetSignalsDone(bool signals);
  // Whether the next stretches end by the device failing while they play (done, but failed).
  void SetFailWhilePlaying(bool fails);
  // Called on the writing thread after a stretch has been recorded, with its number (from 0).
  void SetOnWrite(std::function<void(std::size_t)> hook);

  // Marks the stretch being played as played to its end.
  void Finish();
  // Waits until at least n stretches have been written; false on time-out.
  bool WaitForWrites(std::size_t n, std::chrono::milliseconds timeout);

  std::vector<std::uint32_t> OpenAttempts() const;  // the rate of every Open, in order
  std::vector<WrittenStretch> Written() const;
  std::size_t WriteCount() const;
  int Resets() const;
  int Opens() const;   // successful opens
  int Closes() const;  // closes of a successfully opened device
  bool AnyOpen() const;

 private:
  friend class FakeWaveDevice;
  synth::OpenResult Open(std::uint32_t rate);
  bool Write(const std::int16_t* samples, std::uint32_t count);
  bool WaitDone(std::chrono::milliseconds timeout);
  bool PlaybackFailed() const;
  void Reset();
  void Close();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::set<std::uint32_t> rejected_;
  bool openFails_ = false;
  bool writeFails_ = false;
  bool autoFinish_ = true;
  std::chrono::microseconds playDuration_{0};
  bool resetSignalsDone_ = true;
  bool failWhilePlaying_ = false;
  std::function<void(std::size_t)> onWrite_;

  std::uint32_t openRate_ = 0;
  bool open_ = false;
  bool done_ = false;
  std::chrono::steady_clock::time_point doneAt_{};
  bool doneAtSet_ = false;
  std::vector<std::uint32_t> openAttempts_;
  std::vector<WrittenStretch> written_;
  int resets_ = 0;
  int opens_ = 0;
  int closes_ = 0;
};

class FakeWaveDevice final : public synth::WaveDevice {
 public:
  explicit FakeWaveDevice(FakeAudio& audio) : audio_(audio) {}
  ~FakeWaveDevice() override { Close(); }

  synth::OpenResult Open(const synth::OutputFormat& format) override;
  bool Write(const std::int16_t* samples, std::uint32_t count,
             const synth::ManualResetEvent& stop) override;
  bool WaitDone(std::chrono::milliseconds timeout) override;
  bool PlaybackFailed() const override;
  void Reset() override;
  void Close() override;

 private:
  FakeAudio& audio_;
  bool open_ = false;
};

}  // namespace orvanel::test
