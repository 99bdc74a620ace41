// Where orvanel-say's text comes from: the arguments joined by single blanks, a file (-f), or
// standard input, read part by part so that a long text is never held whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/synthesizer.h"

namespace orvanel::cli {

class TextInput {
 public:
  TextInput() = default;
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;
  ~TextInput();

  // Arguments when there are any; else file ("-" or none: standard input). False with error
  // set when the file cannot be opened.
  bool Open(const std::vector<std::string>& arguments, const std::optional<std::string>& file,
            std::string& error);
  // Checks that the whole text is UTF-8 where that can be done before it is used (arguments,
  // and files or standard input that can be read twice). False with the byte offset in error.
  bool Validate(std::string& error);
  // Reads the rest of the text into text. False with error set on a read error.
  bool ReadAll(std::string& text, std::string& error);
  // The text part by part, for the synthesizer.
  library::TextReader Reader();

  bool Failed() const noexcept { return !error_.empty(); }
  const std::string& Error() const noexcept { return error_; }

 private:
  std::ptrdiff_t Read(char* data, std::size_t size);

  std::string memory_;
  std::size_t memoryOffset_ = 0;
  bool fromMemory_ = true;
  int fd_ = -1;
  bool ownFd_ = false;
  std::string name_;
  std::string error_;
};

}  // namespace orvanel::cli
