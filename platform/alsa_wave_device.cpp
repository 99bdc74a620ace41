#include "platform/alsa_wave_device.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>

namespace orvanel::platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kLatencyMicroseconds = 100'000;
constexpr std::uint32_t kChunkMilliseconds = 50;
constexpr std::chrono::milliseconds kRetryInterval{10};

// ALSA prints its errors to stderr by default; a missing sound server is reported through the
// open's result instead.
void SilentErrorHandler(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&SilentErrorHandler); });
}

}  // namespace

std::string AlsaWaveDevice::PcmNameFromEnvironment() {
  const char* name = std::getenv(kPcmEnvironmentVariable);
  return name != nullptr && *name != '\0' ? std::string(name) : std::string("default");
}

AlsaWaveDevice::AlsaWaveDevice(std::string pcmName) : pcmName_(std::move(pcmName)) {}

AlsaWaveDevice::~AlsaWaveDevice() { Close(); }

synth::OpenResult AlsaWaveDevice::Open(const synth::OutputFormat& format) {
  Close();
  if (format.formatTag != 1 || format.bitsPerSample != 16 || format.channels == 0 ||
      format.samplesPerSec == 0) {
    return synth::OpenResult::BadFormat;
  }
  SilenceAlsaErrors();
  if (snd_pcm_open(&pcm_, pcmName_.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) {
    pcm_ = nullptr;
    return synth::OpenResult::Failed;
  }
  const int result =
      snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                         format.channels, format.samplesPerSec, 1, kLatencyMicroseconds);
  if (result < 0) {
    Close();
    return result == -EINVAL ? synth::OpenResult::BadFormat : synth::OpenResult::Failed;
  }
  chunkFrames_ = std::max<std::uint32_t>(1, format.samplesPerSec * kChunkMilliseconds / 1000);
  return synth::OpenResult::Ok;
}

bool AlsaWaveDevice::Write(const std::int16_t* samples, std::uint32_t count,
                           const synth::ManualResetEvent& stop) {
  if (pcm_ == nullptr) return false;
  pending_ = samples;
  pendingCount_ = count;
  stop_ = &stop;
  done_ = false;
  failed_ = false;
  while (pendingCount_ > 0 && !stop.IsSet()) {
    const auto frames = std::min(chunkFrames_, pendingCount_);
    snd_pcm_sframes_t written = snd_pcm_writei(pcm_, pending_, frames);
    if (written < 0) written = snd_pcm_recover(pcm_, static_cast<int>(written), 1);
    if (written < 0) return false;
    pending_ += written;
    pendingCount_ -= static_cast<std::uint32_t>(written);
  }
  return true;
}

bool AlsaWaveDevice::WaitDone(std::chrono::milliseconds timeout) {
  if (done_) return true;
  if (pcm_ == nullptr) return false;
  if (!nonBlocking_) {
    // Without a non-blocking drain there is no way to wait in steps: give the stretch up.
    if (snd_pcm_nonblock(pcm_, 1) < 0) {
      snd_pcm_drop(pcm_);
      done_ = failed_ = true;
      return true;
    }
    nonBlocking_ = true;
  }
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const bool stopping = stop_ != nullptr && stop_->IsSet();
    if (pendingCount_ > 0) {
      // Nothing more is queued once stop is set; done then comes only from a reset.
      if (stopping) return false;
      const auto frames = std::min(chunkFrames_, pendingCount_);
      snd_pcm_sframes_t written = snd_pcm_writei(pcm_, pending_, frames);
      if (written != -EAGAIN) {
        if (written < 0) written = snd_pcm_recover(pcm_, static_cast<int>(written), 1);
        // A device that can take no more will never play the rest: count it as ended.
        if (written < 0) {
          done_ = failed_ = true;
          return true;
        }
        pending_ += written;
        pendingCount_ -= static_cast<std::uint32_t>(written);
        continue;
      }
    } else {
      const int drained = snd_pcm_drain(pcm_);
      if (drained != -EAGAIN) {
        // Drained, or failed in a way that ends playback just the same.
        done_ = true;
        failed_ = drained < 0;
        return true;
      }
    }
    if (stopping) return false;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    std::this_thread::sleep_for(std::min<Clock::duration>(kRetryInterval, deadline - now));
  }
}

void AlsaWaveDevice::Reset() {
  if (pcm_ == nullptr) return;
  snd_pcm_drop(pcm_);
  pendingCount_ = 0;
  done_ = true;
}

void AlsaWaveDevice::Close() {
  if (pcm_ != nullptr) snd_pcm_close(pcm_);
  pcm_ = nullptr;
  pending_ = nullptr;
  pendingCount_ = 0;
  stop_ = nullptr;
  nonBlocking_ = false;
  done_ = false;
  failed_ = false;
}

}  // namespace orvanel::platform
