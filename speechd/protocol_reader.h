// The server's side of the module protocol, read from a byte stream: command lines, their
// key=value blocks and their message data, each ended by a line holding one ".". Pure; any
// input gives some sequence of events, never an error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanel::speechd {

enum class CommandKind {
  kInit,
  kAudio,     // block of key=value lines
  kLogLevel,  // block of key=value lines
  kSet,       // block of key=value lines
  kListVoices,
  kSpeak,      // block of data lines
  kChar,       // block of data lines
  kKey,        // block of data lines
  kSoundIcon,  // block of data lines
  kStop,
  kPause,
  kQuit,
  kDebug,    // "DEBUG ON file" / "DEBUG OFF": the rest of the line in Command::line
  kUnknown,  // anything else: the line in Command::line
};

struct Command {
  CommandKind kind = CommandKind::kUnknown;
  std::string line;                                         // the command line as read
  std::vector<std::pair<std::string, std::string>> values;  // key=value blocks
  std::string data;                                         // data blocks, lines joined by LF
  bool truncated = false;  // the data passed kMaxMessageBytes and was cut there

  friend bool operator==(const Command&, const Command&) = default;
};

struct ProtocolEvent {
  enum class Type {
    kBlockStarted,  // a block command's line arrived; its reply is due now (207 / 202)
    kComplete,      // a whole command
  };
  Type type = Type::kComplete;
  Command command;  // for kBlockStarted only kind and line are set
};

// Messages longer than this are cut (the rest of the block is read and dropped).
inline constexpr std::size_t kMaxMessageBytes = 16u << 20;

class ProtocolReader {
 public:
  // Reads bytes (any split) and appends the events they complete.
  void Feed(std::string_view bytes, std::vector<ProtocolEvent>& events);
  // True while a block is open (its "." not yet read).
  bool InBlock() const { return state_ != State::kCommand; }

 private:
  enum class State { kCommand, kValues, kData };
  void Line(std::string_view line, std::vector<ProtocolEvent>& events);

  State state_ = State::kCommand;
  std::string partial_;  // the line read so far
  bool partialCut_ = false;
  Command block_;
  std::size_t dataLines_ = 0;
};

// The kind of a command line ("SPEAK", "LIST VOICES", "DEBUG ON /tmp/x" ...).
CommandKind KindOfLine(std::string_view line);

}  // namespace orvanel::speechd
