#include "synth/wave_output.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <new>

namespace orvanel::synth {

namespace {

using Clock = std::chrono::steady_clock;

// The device's done signal is looked at for this long, then the stop event for as long.
constexpr std::chrono::milliseconds kPollInterval{100};
// While the loop waits for stop it also looks at the device this often, so that a stretch that
// ends during the stop wait is not followed by up to 100 ms of added silence.
constexpr std::chrono::milliseconds kDoneSlice{5};
// After a reset the device should report done at once; one that does not is given up on.
constexpr std::chrono::milliseconds kResetBound{1000};

// The one header that covers a whole stretch (the layout of a wave-out header).
struct PlaybackHeader {
  const std::int16_t* data = nullptr;
  std::uint32_t bufferLength = 0;  // bytes
  std::uint32_t flags = 0;
  std::uint32_t loops = 0;
};

// Opens the device in the buffer's format, lowering the rate while the device refuses it.
bool OpenDevice(SampleBuffer& buffer, WaveDevice& device) {
  OpenResult opened = device.Open(buffer.Format());
  while (opened == OpenResult::BadFormat) {
    const std::uint32_t refused = buffer.Format().samplesPerSec;
    buffer.LowerRateForDevice();
    // A rate that the lowering leaves unchanged has been refused already.
    if (buffer.Format().samplesPerSec == refused) return false;
    opened = device.Open(buffer.Format());
  }
  return opened == OpenResult::Ok;
}

enum class StopWait { Stopped, DeviceDone, TimedOut };

// Waits up to kPollInterval for the stop event. Ends early when the device reports done, so that
// the caller's done test (which comes first) sees it at once.
StopWait WaitForStop(WaveDevice& device, const ManualResetEvent& stop) {
  const auto deadline = Clock::now() + kPollInterval;
  for (;;) {
    if (stop.IsSet()) return StopWait::Stopped;
    if (device.WaitDone(kDoneSlice)) return StopWait::DeviceDone;
    if (Clock::now() >= deadline) return stop.IsSet() ? StopWait::Stopped : StopWait::TimedOut;
  }
}

// Closes the device on every way out of Play.
class DeviceCloser {
 public:
  explicit DeviceCloser(WaveDevice& device) : device_(device) {}
  DeviceCloser(const DeviceCloser&) = delete;
  DeviceCloser& operator=(const DeviceCloser&) = delete;
  ~DeviceCloser() { device_.Close(); }

 private:
  WaveDevice& device_;
};

}  // namespace

int Play(SampleBuffer& buffer, WaveDevice& device, std::string& message,
         const ManualResetEvent& stop) {
  if (!OpenDevice(buffer, device)) {
    device.Close();
    message = kCannotOpenWaveDevice;
    return 0;
  }
  DeviceCloser closer(device);

  std::unique_ptr<PlaybackHeader> header(new (std::nothrow) PlaybackHeader);
  if (header == nullptr) {
    message = kMemoryAllocationError;
    return 0;
  }
  // A buffer whose Begin found no memory has no samples to hand over.
  if (!buffer.HasStorage()) {
    message = kMemoryLockError;
    return 0;
  }
  header->data = buffer.Samples();
  header->bufferLength = buffer.SampleCount() * buffer.Format().blockAlign;

  // An empty buffer is still handed over; the device then reports done at once.
  if (!device.Write(header->data, header->bufferLength / buffer.Format().blockAlign, stop)) {
    return 0;
  }

  for (;;) {
    // Done is looked at before stop: a stretch that has ended counts as played, unless the
    // device ended it by failing.
    if (device.WaitDone(kPollInterval)) return device.PlaybackFailed() ? 0 : 1;
    switch (WaitForStop(device, stop)) {
      case StopWait::Stopped:
        device.Reset();
        device.WaitDone(kResetBound);
        return 0;
      case StopWait::DeviceDone:
      case StopWait::TimedOut:
        break;
    }
  }
}

}  // namespace orvanel::synth
