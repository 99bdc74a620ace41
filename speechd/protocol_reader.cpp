// The protocol reader's line state machine.
#include "speechd/protocol_reader.h"

#include <algorithm>

namespace orvanel::speechd {
namespace {

bool IsBlockWithValues(CommandKind k) {
  return k == CommandKind::kAudio || k == CommandKind::kLogLevel || k == CommandKind::kSet;
}
bool IsBlockWithData(CommandKind k) {
  return k == CommandKind::kSpeak || k == CommandKind::kChar || k == CommandKind::kKey ||
         k == CommandKind::kSoundIcon;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

CommandKind KindOfLine(std::string_view raw) {
  const std::string_view line = Trim(raw);
  static constexpr std::pair<std::string_view, CommandKind> kCommands[] = {
      {"INIT", CommandKind::kInit},
      {"AUDIO", CommandKind::kAudio},
      {"LOGLEVEL", CommandKind::kLogLevel},
      {"SET", CommandKind::kSet},
      {"LIST VOICES", CommandKind::kListVoices},
      {"SPEAK", CommandKind::kSpeak},
      {"CHAR", CommandKind::kChar},
      {"KEY", CommandKind::kKey},
      {"SOUND_ICON", CommandKind::kSoundIcon},
      {"STOP", CommandKind::kStop},
      {"PAUSE", CommandKind::kPause},
      {"QUIT", CommandKind::kQuit},
  };
  for (const auto& [name, kind] : kCommands)
    if (line == name) return kind;
  if (line == "DEBUG" || line.starts_with("DEBUG ")) return CommandKind::kDebug;
  return CommandKind::kUnknown;
}

void ProtocolReader::Feed(std::string_view bytes, std::vector<ProtocolEvent>& events) {
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, newline);
    // A line cannot grow past the message limit; the excess of a monster line is dropped.
    const std::size_t room = kMaxMessageBytes - std::min(partial_.size(), kMaxMessageBytes);
    if (piece.size() > room) partialCut_ = true;
    partial_.append(piece.substr(0, room));
    if (newline == std::string_view::npos) return;
    bytes.remove_prefix(newline + 1);
    std::string line = std::move(partial_);
    partial_.clear();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (partialCut_ && state_ == State::kData) block_.truncated = true;
    partialCut_ = false;
    Line(line, events);
  }
}

void ProtocolReader::Line(std::string_view line, std::vector<ProtocolEvent>& events) {
  switch (state_) {
    case State::kCommand: {
      const CommandKind kind = KindOfLine(line);
      if (kind == CommandKind::kUnknown && Trim(line).empty()) return;  // stray blank line
      Command command;
      command.kind = kind;
      command.line = std::string(line);
      if (IsBlockWithValues(kind) || IsBlockWithData(kind)) {
        events.push_back({ProtocolEvent::Type::kBlockStarted, command});
        block_ = std::move(command);
        dataLines_ = 0;
        state_ = IsBlockWithValues(kind) ? State::kValues : State::kData;
      } else {
        events.push_back({ProtocolEvent::Type::kComplete, std::move(command)});
      }
      return;
    }
    case State::kValues: {
      if (line == ".") break;
      const std::size_t eq = line.find('=');
      if (eq != std::string_view::npos && block_.values.size() < 1000) {
        block_.values.emplace_back(std::string(Trim(line.substr(0, eq))),
                                   std::string(Trim(line.substr(eq + 1))));
      }
      return;
    }
    case State::kData: {
      if (line == ".") break;
      // A data line that begins with a dot has had it doubled.
      if (line.starts_with("..")) line.remove_prefix(1);
      const std::size_t needed = line.size() + (dataLines_ > 0 ? 1 : 0);
      if (block_.data.size() + needed > kMaxMessageBytes) {
        block_.truncated = true;
      } else {
        if (dataLines_ > 0) block_.data += '\n';
        block_.data.append(line);
      }
      ++dataLines_;
      return;
    }
  }
  events.push_back({ProtocolEvent::Type::kComplete, std::move(block_)});
  block_ = Command{};
  state_ = State::kCommand;
}

}  // namespace orvanel::speechd
