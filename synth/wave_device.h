// The audio device that playback writes one stretch to. The program's device is ALSA (platform/);
// tests use a fake that can refuse rates, fail, and finish on command.
#pragma once

#include <chrono>
#include <cstdint>

#include "synth/manual_reset_event.h"
#include "synth/sample_buffer.h"

namespace orvanel::synth {

enum class OpenResult { Ok, BadFormat, Failed };

class WaveDevice {
 public:
  virtual ~WaveDevice() = default;
  // BadFormat only when the device refuses this format; any other failure is Failed.
  virtual OpenResult Open(const OutputFormat& format) = 0;
  // Hands the whole buffer to the device and starts playback; false when the write failed. The
  // samples must stay valid until Close. A device may return before every sample is queued when
  // stop is set; it then goes on queueing the rest while WaitDone waits, so a stop that is taken
  // back still lets the whole buffer play.
  virtual bool Write(const std::int16_t* samples, std::uint32_t count,
                     const ManualResetEvent& stop) = 0;
  // Waits up to timeout for the whole buffer to have been played; true when it has. May return
  // false before the timeout when the stop event handed to Write is set.
  virtual bool WaitDone(std::chrono::milliseconds timeout) = 0;
  // True once playback has ended without playing the whole buffer because the device failed
  // while playing (WaitDone then reports done, as nothing more will come).
  virtual bool PlaybackFailed() const { return false; }
  // Ends playback at once; WaitDone then reports done (a device that never does is given up on).
  virtual void Reset() = 0;
  virtual void Close() = 0;
};

}  // namespace orvanel::synth
