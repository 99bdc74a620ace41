#include "cli/wav_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace orvanel::cli {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteContents(int fd, bool raw, std::uint32_t rate, const std::vector<std::int16_t>& samples) {
  if (!raw) {
    const std::string header = WavHeader(rate, static_cast<std::uint32_t>(samples.size()));
    if (!WriteAll(fd, header.data(), header.size())) return false;
  }
  static_assert(std::endian::native == std::endian::little);
  return WriteAll(fd, reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
}

}  // namespace

std::string WavHeader(std::uint32_t sampleRate, std::uint32_t sampleCount) {
  const std::uint32_t dataBytes = sampleCount * 2;
  std::string h = "RIFF";
  PutLe(h, 36 + dataBytes, 4);
  h += "WAVEfmt ";
  PutLe(h, 16, 4);              // fmt chunk size
  PutLe(h, 1, 2);               // PCM
  PutLe(h, 1, 2);               // mono
  PutLe(h, sampleRate, 4);      // samples per second
  PutLe(h, sampleRate * 2, 4);  // bytes per second
  PutLe(h, 2, 2);               // block align
  PutLe(h, 16, 2);              // bits per sample
  h += "data";
  PutLe(h, dataBytes, 4);
  return h;
}

bool WriteSpeechFile(const std::string& path, bool raw, std::uint32_t sampleRate,
                     const std::vector<std::int16_t>& samples, std::string& error) {
  // A WAV file's sizes are 32-bit; 16-bit mono at these rates holds over 13 hours.
  if (!raw && samples.size() > (0xFFFFFFFFu - 36) / 2) {
    error = "speech too long for a WAV file; use --raw";
    return false;
  }
  if (path == "-") {
    if (!WriteContents(STDOUT_FILENO, raw, sampleRate, samples)) {
      error = std::string("cannot write to standard output: ") + std::strerror(errno);
      return false;
    }
    return true;
  }
  const std::filesystem::path target(path);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  // A hidden temporary name beside the target: ".NAME.XXXXXX".
  std::string hidden(1, '.');
  hidden.append(target.filename().string()).append(".XXXXXX");
  std::string pattern = (dir / hidden).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = WriteContents(fd, raw, sampleRate, samples);
  int savedErrno = errno;
  if (ok && ::fsync(fd) != 0) ok = false, savedErrno = errno;
  if (::close(fd) != 0 && ok) ok = false, savedErrno = errno;
  // mkstemp creates the file 0600; a speech file is an ordinary document.
  if (ok) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(pattern.c_str(), 0666 & ~mask);
  }
  if (ok && std::rename(pattern.c_str(), path.c_str()) != 0) ok = false, savedErrno = errno;
  if (!ok) {
    std::remove(pattern.c_str());
    error = "cannot write " + path + ": " + std::strerror(savedErrno);
    return false;
  }
  return true;
}

}  // namespace orvanel::cli
