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
  // Hands the whole buffer to the device. May return before every sample is queued when stop is
  // set; false when the write failed.
  virtual bool Write(const std::int16_t* samples, std::uint32_t count,
                     const ManualResetEvent& stop) = 0;
  // Waits up to timeout for everything written to have been played; true when it has.
  virtual bool WaitDone(std::chrono::milliseconds timeout) = 0;
  // Ends playback at once; WaitDone then reports done.
  virtual void Reset() = 0;
  virtual void Close() = 0;
};

}  // namespace orvanel::synth
