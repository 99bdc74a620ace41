// The wave device on ALSA: PCM "default" (or the PCM named by ORVANEL_PCM), 16-bit mono at the
// stretch's rate, written in chunks of at most 50 ms and drained without blocking.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "synth/wave_device.h"

typedef struct _snd_pcm snd_pcm_t;

namespace orvanel::platform {

inline constexpr char kPcmEnvironmentVariable[] = "ORVANEL_PCM";

class AlsaWaveDevice final : public synth::WaveDevice {
 public:
  // "default" unless ORVANEL_PCM names another PCM (e.g. file:'out.raw',raw or null).
  static std::string PcmNameFromEnvironment();

  AlsaWaveDevice() : AlsaWaveDevice(PcmNameFromEnvironment()) {}
  explicit AlsaWaveDevice(std::string pcmName);
  ~AlsaWaveDevice() override;
  AlsaWaveDevice(const AlsaWaveDevice&) = delete;
  AlsaWaveDevice& operator=(const AlsaWaveDevice&) = delete;

  // BadFormat only when the PCM refuses the parameters (-EINVAL); any other failure is Failed.
  synth::OpenResult Open(const synth::OutputFormat& format) override;
  // Writes blocking chunks of at most 50 ms, testing stop between chunks. What is left when stop
  // cuts it short is written on by WaitDone.
  bool Write(const std::int16_t* samples, std::uint32_t count,
             const synth::ManualResetEvent& stop) override;
  // Writes on what is left and drains without blocking, trying about every 10 ms; returns early
  // when the stop event handed to Write is set.
  bool WaitDone(std::chrono::milliseconds timeout) override;
  // Drops whatever is queued at once (snd_pcm_drop).
  bool PlaybackFailed() const override { return failed_; }
  void Reset() override;
  void Close() override;

  const std::string& PcmName() const { return pcmName_; }

 private:
  std::string pcmName_;
  snd_pcm_t* pcm_ = nullptr;
  std::uint32_t chunkFrames_ = 0;
  const std::int16_t* pending_ = nullptr;
  std::uint32_t pendingCount_ = 0;
  const synth::ManualResetEvent* stop_ = nullptr;
  bool nonBlocking_ = false;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace orvanel::platform
