// Open, write, drain in short waits that look at the stop event, close.
#include "speechd/alsa_stretch_player.h"

#include <chrono>

#include "platform/alsa_wave_device.h"

namespace orvanel::speechd {

bool AlsaStretchPlayer::Play(const std::int16_t* samples, std::size_t count,
                             std::uint32_t sampleRate, const synth::ManualResetEvent& stop) {
  if (stop.IsSet()) return false;
  platform::AlsaWaveDevice device;
  synth::OutputFormat format;
  format.samplesPerSec = sampleRate;
  format.avgBytesPerSec = 2 * sampleRate;
  if (device.Open(format) != synth::OpenResult::Ok) return false;
  bool ok = device.Write(samples, static_cast<std::uint32_t>(count), stop);
  while (ok && !device.WaitDone(std::chrono::milliseconds(100))) {
    if (stop.IsSet()) ok = false;
  }
  if (stop.IsSet() || device.PlaybackFailed()) {
    device.Reset();
    ok = false;
  }
  device.Close();
  return ok;
}

}  // namespace orvanel::speechd
