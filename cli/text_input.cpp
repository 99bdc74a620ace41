#include "cli/text_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "codepage/codepage.h"

namespace orvanel::cli {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

// Bytes at the end of data that begin a UTF-8 sequence still to be completed.
std::size_t IncompleteTail(std::string_view data) {
  for (std::size_t back = 1; back <= 3 && back <= data.size(); ++back) {
    const auto b = static_cast<unsigned char>(data[data.size() - back]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return need > back ? back : 0;
  }
  return 0;
}

}  // namespace

TextInput::~TextInput() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
}

bool TextInput::Open(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& file, std::string& error) {
  if (!arguments.empty()) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      if (i > 0) memory_ += ' ';
      memory_ += arguments[i];
    }
    fromMemory_ = true;
    return true;
  }
  fromMemory_ = false;
  if (!file || *file == "-") {
    fd_ = STDIN_FILENO;
    name_ = "standard input";
    return true;
  }
  name_ = *file;
  fd_ = ::open(file->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error = "cannot read " + *file + ": " + std::strerror(errno);
    return false;
  }
  ownFd_ = true;
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    error = "cannot read " + *file + ": " + std::strerror(EISDIR);
    return false;
  }
  return true;
}

std::ptrdiff_t TextInput::Read(char* data, std::size_t size) {
  if (fromMemory_) {
    const std::size_t n = std::min(size, memory_.size() - memoryOffset_);
    std::copy_n(memory_.data() + memoryOffset_, n, data);
    memoryOffset_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  for (;;) {
    const ssize_t n = ::read(fd_, data, size);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    error_ = "cannot read " + name_ + ": " + std::strerror(errno);
    return -1;
  }
}

bool TextInput::Validate(std::string& error) {
  off_t start = 0;
  if (!fromMemory_) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return true;
    start = ::lseek(fd_, 0, SEEK_CUR);
    if (start < 0) return true;
  }
  std::string block(kBlock, '\0');
  std::string carry;
  std::string scratch;
  std::uint64_t offset = 0;  // of carry's first byte
  for (;;) {
    const std::ptrdiff_t n = Read(block.data(), block.size());
    if (n < 0) {
      error = error_;
      return false;
    }
    carry.append(block.data(), static_cast<std::size_t>(n));
    const std::size_t keep = n == 0 ? 0 : IncompleteTail(carry);
    codepage::DecodeError bad;
    if (!codepage::Utf8ToCp1254(std::string_view(carry).substr(0, carry.size() - keep), scratch,
                                bad)) {
      error = "input is not valid UTF-8 (byte offset " + std::to_string(offset + bad.offset) + ")";
      return false;
    }
    offset += carry.size() - keep;
    carry.erase(0, carry.size() - keep);
    if (n == 0) break;
  }
  if (fromMemory_) {
    memoryOffset_ = 0;
  } else if (::lseek(fd_, start, SEEK_SET) < 0) {
    error = "cannot read " + name_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool TextInput::ReadAll(std::string& text, std::string& error) {
  std::string block(kBlock, '\0');
  for (;;) {
    const std::ptrdiff_t n = Read(block.data(), block.size());
    if (n < 0) {
      error = error_;
      return false;
    }
    if (n == 0) return true;
    text.append(block.data(), static_cast<std::size_t>(n));
  }
}

library::TextReader TextInput::Reader() {
  return [this](char* data, std::size_t size) { return Read(data, size); };
}

}  // namespace orvanel::cli
