// Wave output: plays one rendered stretch once, from the first sample to the last, and returns
// when the device has finished or the stop event cut playback short.
#pragma once

#include <string>

#include "synth/manual_reset_event.h"
#include "synth/sample_buffer.h"
#include "synth/wave_device.h"

namespace orvanel::synth {

inline constexpr char kCannotOpenWaveDevice[] = "Cannot open wave device!";
inline constexpr char kMemoryAllocationError[] = "Memory allocation error!";
inline constexpr char kMemoryLockError[] = "Memory lock error!";

// 1 when the whole buffer played to its end; 0 when stopped or failed (message then holds one of
// the texts above where a cause is named). Lowers the buffer's rate and reopens on a bad format.
int Play(SampleBuffer& buffer, WaveDevice& device, std::string& message,
         const ManualResetEvent& stop);

}  // namespace orvanel::synth
