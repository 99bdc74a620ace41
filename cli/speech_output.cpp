#include "cli/speech_output.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cli/wav_file.h"

namespace orvanel::cli {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own limit for a path
constexpr std::uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - 36;

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

bool PWriteAll(int fd, const std::string& data, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Follows symbolic links to the file they name, which need not exist. False with errno set.
bool FollowLinks(std::string& path) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return false;
    link.resize(static_cast<std::size_t>(n));
    const std::filesystem::path next(link);
    path = next.is_absolute() ? link : (std::filesystem::path(path).parent_path() / next).string();
  }
  errno = ELOOP;
  return false;
}

int ConnectSocket(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) {
    errno = ENAMETOOLONG;
    return -1;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

}  // namespace

SpeechOutput::~SpeechOutput() { Abandon(); }

bool SpeechOutput::Fail(const std::string& what, int err, std::string& error) {
  error = what + ": " + std::strerror(err);
  Abandon();
  return false;
}

bool SpeechOutput::Open(const std::string& path, bool raw, std::uint32_t sampleRate,
                        std::string& error) {
  path_ = path;
  raw_ = raw;
  rate_ = sampleRate;
  samples_ = 0;
  const std::string what = path == "-" ? "cannot write to standard output" : "cannot write " + path;
  if (path == "-") {
    fd_ = STDOUT_FILENO;
    ownFd_ = false;
    struct stat st {};
    const int flags = ::fcntl(fd_, F_GETFL);
    // Appending output writes every block at the end, so a header cannot be filled in later.
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && flags >= 0 && (flags & O_APPEND) == 0) {
      const off_t at = ::lseek(fd_, 0, SEEK_CUR);
      seekable_ = at >= 0;
      headerOffset_ = at >= 0 ? static_cast<std::uint64_t>(at) : 0;
    }
  } else {
    std::string target = path;
    if (!FollowLinks(target)) return Fail(what, errno, error);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail(what, EISDIR, error);
    if (exists && S_ISSOCK(st.st_mode)) {
      fd_ = ConnectSocket(target);
      if (fd_ < 0) return Fail(what, errno, error);
      ownFd_ = true;
    } else if (exists && !S_ISREG(st.st_mode)) {
      // A device or FIFO is written as it is, never replaced.
      fd_ = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd_ < 0) return Fail(what, errno, error);
      ownFd_ = true;
    } else {
      const std::filesystem::path file(target);
      const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
      // A hidden temporary name beside the target: ".NAME.XXXXXX".
      std::string hidden(1, '.');
      hidden.append(file.filename().string()).append(".XXXXXX");
      temporary_ = (dir / hidden).string();
      fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
      if (fd_ < 0) {
        temporary_.clear();
        return Fail(what, errno, error);
      }
      ownFd_ = true;
      target_ = target;
      seekable_ = true;
      headerOffset_ = 0;
      // A file that is replaced keeps its permissions and, where allowed, its owner.
      if (exists) {
        keepMode_ = st.st_mode & 07777;
        keepOwner_ = st.st_uid;
        keepGroup_ = st.st_gid;
      }
    }
  }
  open_ = true;
  if (!raw_) {
    const std::string header = seekable_ ? WavHeader(rate_, 0) : StreamingWavHeader(rate_);
    if (!WriteAll(fd_, header.data(), header.size())) return Fail(what, errno, error);
  }
  return true;
}

bool SpeechOutput::Write(const std::int16_t* samples, std::size_t count, std::string& error) {
  const std::string what =
      path_ == "-" ? "cannot write to standard output" : "cannot write " + path_;
  if (!open_) return Fail(what, EBADF, error);
  if (!raw_ && seekable_ && (samples_ + count) * 2 > kMaxWavDataBytes) {
    error = "speech too long for a WAV file; use --raw";
    Abandon();
    return false;
  }
  static_assert(std::endian::native == std::endian::little);
  if (!WriteAll(fd_, reinterpret_cast<const char*>(samples), count * 2))
    return Fail(what, errno, error);
  samples_ += count;
  return true;
}

bool SpeechOutput::Finish(std::string& error) {
  const std::string what =
      path_ == "-" ? "cannot write to standard output" : "cannot write " + path_;
  if (!open_) return Fail(what, EBADF, error);
  if (!raw_ && seekable_) {
    if (!PWriteAll(fd_, WavHeader(rate_, static_cast<std::uint32_t>(samples_)), headerOffset_))
      return Fail(what, errno, error);
  }
  if (!temporary_.empty()) {
    if (::fsync(fd_) != 0) return Fail(what, errno, error);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(what, errno, error);
    if (keepMode_) {
      // Only root may give a file away; anyone else owns the new file, as with any rewrite.
      [[maybe_unused]] const int given = ::chown(temporary_.c_str(), keepOwner_, keepGroup_);
      ::chmod(temporary_.c_str(), *keepMode_);
    } else {
      // mkstemp creates the file 0600; a new speech file is an ordinary document.
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::chmod(temporary_.c_str(), 0666 & ~mask);
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(what, errno, error);
    temporary_.clear();
  } else if (ownFd_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(what, errno, error);
  }
  open_ = false;
  return true;
}

void SpeechOutput::Abandon() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) {
    std::remove(temporary_.c_str());
    temporary_.clear();
  }
  open_ = false;
}

}  // namespace orvanel::cli
