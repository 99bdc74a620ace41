// Writing speech as it is rendered: a 16-bit mono WAV stream (or headerless PCM) to a file,
// standard output, a device, a FIFO or a socket.
//
// A regular file (or a missing one) is written to a hidden temporary beside it and renamed
// over it at the end, so a failed write never leaves a partial file; a file replaced this way
// keeps its permissions. A symbolic link is followed and its target written. Devices, FIFOs and
// sockets are written directly and never replaced. Where the output can seek, the WAV header's two
// sizes are filled in at the end; on a pipe, FIFO, device or socket they stay at 0xFFFFFFFF, as
// streaming WAV writers leave them: such a stream has no exact length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orvanel::cli {

// The header of a stream whose length is not known: both sizes 0xFFFFFFFF.
std::string StreamingWavHeader(std::uint32_t sampleRate);

class SpeechOutput {
 public:
  SpeechOutput() = default;
  SpeechOutput(const SpeechOutput&) = delete;
  SpeechOutput& operator=(const SpeechOutput&) = delete;
  ~SpeechOutput();  // abandons an unfinished output

  // path "-" is standard output. Writes the header at once (unless raw). False with error set.
  bool Open(const std::string& path, bool raw, std::uint32_t sampleRate, std::string& error);
  bool Write(const std::int16_t* samples, std::size_t count, std::string& error);
  // Fills in the sizes, makes a file durable and puts it in place. False with error set (a
  // file is then removed, as with Abandon).
  bool Finish(std::string& error);
  // Removes the temporary of a file target; anything already sent to a stream stays sent.
  void Abandon();

  bool Seekable() const noexcept { return seekable_; }
  std::uint64_t SamplesWritten() const noexcept { return samples_; }

 private:
  bool Fail(const std::string& what, int err, std::string& error);

  int fd_ = -1;
  bool ownFd_ = false;
  bool raw_ = false;
  bool seekable_ = false;
  bool open_ = false;
  std::uint64_t headerOffset_ = 0;
  std::uint64_t samples_ = 0;
  std::uint32_t rate_ = 0;
  std::string path_;       // as given, for messages
  std::string target_;     // the file the temporary replaces ("" for a direct stream)
  std::string temporary_;  // the hidden temporary beside it
  // The permissions and owner of a file that is replaced.
  std::optional<unsigned> keepMode_;
  unsigned keepOwner_ = 0;
  unsigned keepGroup_ = 0;
};

}  // namespace orvanel::cli
