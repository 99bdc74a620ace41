#include "tests/support/fake_wave_device.h"

#include <utility>

namespace orvanel::test {

using Clock = std::chrono::steady_clock;

std::unique_ptr<synth::WaveDevice> FakeAudio::MakeDevice() {
  return std::make_unique<FakeWaveDevice>(*this);
}

std::function<std::unique_ptr<synth::WaveDevice>()> FakeAudio::Factory() {
  return [this] { return MakeDevice(); };
}

void FakeAudio::RejectRate(std::uint32_t rate) {
  std::lock_guard lock(mutex_);
  rejected_.insert(rate);
}

void FakeAudio::SetOpenFails(bool fails) {
  std::lock_guard lock(mutex_);
  openFails_ = fails;
}

void FakeAudio::SetWriteFails(bool fails) {
  std::lock_guard lock(mutex_);
  writeFails_ = fails;
}

void FakeAudio::SetFailWhilePlaying(bool fails) {
  std::lock_guard lock(mutex_);
  failWhilePlaying_ = fails;
}

bool FakeAudio::PlaybackFailed() const {
  std::lock_guard lock(mutex_);
  return done_ && failWhilePlaying_;
}

void FakeAudio::SetAutoFinish(bool automatic) {
  std::lock_guard lock(mutex_);
  autoFinish_ = automatic;
}

void FakeAudio::SetPlayDuration(std::chrono::microseconds duration) {
  std::lock_guard lock(mutex_);
  playDuration_ = duration;
}

void FakeAudio::SetResetSignalsDone(bool signals) {
  std::lock_guard lock(mutex_);
  resetSignalsDone_ = signals;
}

void FakeAudio::SetOnWrite(std::function<void(std::size_t)> hook) {
  std::lock_guard lock(mutex_);
  onWrite_ = std::move(hook);
}

void FakeAudio::Finish() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  changed_.notify_all();
}

bool FakeAudio::WaitForWrites(std::size_t n, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return written_.size() >= n; });
}

std::vector<std::uint32_t> FakeAudio::OpenAttempts() const {
  std::lock_guard lock(mutex_);
  return openAttempts_;
}

std::vector<WrittenStretch> FakeAudio::Written() const {
  std::lock_guard lock(mutex_);
  return written_;
}

std::size_t FakeAudio::WriteCount() const {
  std::lock_guard lock(mutex_);
  return written_.size();
}

int FakeAudio::Resets() const {
  std::lock_guard lock(mutex_);
  return resets_;
}

int FakeAudio::Opens() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

int FakeAudio::Closes() const {
  std::lock_guard lock(mutex_);
  return closes_;
}

bool FakeAudio::AnyOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

synth::OpenResult FakeAudio::Open(std::uint32_t rate) {
  std::lock_guard lock(mutex_);
  openAttempts_.push_back(rate);
  if (openFails_) return synth::OpenResult::Failed;
  if (rejected_.contains(rate)) return synth::OpenResult::BadFormat;
  open_ = true;
  openRate_ = rate;
  done_ = false;
  doneAtSet_ = false;
  ++opens_;
  return synth::OpenResult::Ok;
}

bool FakeAudio::Write(const std::int16_t* samples, std::uint32_t count) {
  std::function<void(std::size_t)> hook;
  std::size_t index = 0;
  {
    std::lock_guard lock(mutex_);
    if (writeFails_) return false;
    WrittenStretch stretch;
    stretch.rate = openRate_;
    if (count > 0) stretch.samples.assign(samples, samples + count);
    written_.push_back(std::move(stretch));
    index = written_.size() - 1;
    done_ = false;
    if (autoFinish_) {
      if (playDuration_.count() == 0) {
        done_ = true;
      } else {
        doneAt_ = Clock::now() + playDuration_;
        doneAtSet_ = true;
      }
    }
    hook = onWrite_;
  }
  changed_.notify_all();
  if (hook) hook(index);
  return true;
}

bool FakeAudio::WaitDone(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (done_) return true;
    const auto now = Clock::now();
    if (doneAtSet_ && now >= doneAt_) {
      done_ = true;
      return true;
    }
    if (now >= deadline) return false;
    const auto until = doneAtSet_ && doneAt_ < deadline ? doneAt_ : deadline;
    changed_.wait_until(lock, until);
  }
}

void FakeAudio::Reset() {
  {
    std::lock_guard lock(mutex_);
    ++resets_;
    if (resetSignalsDone_) done_ = true;
    doneAtSet_ = false;
  }
  changed_.notify_all();
}

void FakeAudio::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
  ++closes_;
}

synth::OpenResult FakeWaveDevice::Open(const synth::OutputFormat& format) {
  const auto result = audio_.Open(format.samplesPerSec);
  open_ = result == synth::OpenResult::Ok;
  return result;
}

bool FakeWaveDevice::Write(const std::int16_t* samples, std::uint32_t count,
                           const synth::ManualResetEvent&) {
  return open_ && audio_.Write(samples, count);
}

bool FakeWaveDevice::WaitDone(std::chrono::milliseconds timeout) {
  return open_ && audio_.WaitDone(timeout);
}

bool FakeWaveDevice::PlaybackFailed() const { return open_ && audio_.PlaybackFailed(); }

void FakeWaveDevice::Reset() {
  if (open_) audio_.Reset();
}

void FakeWaveDevice::Close() {
  if (!open_) return;
  open_ = false;
  audio_.Close();
}

}  // namespace orvanel::test
