// The output module: reads the server's commands, answers them, and speaks on a worker thread
// so that STOP and PAUSE are read while a message is synthesised. Audio goes to the server as
// 705 events, or to the module's own player when the server does not take audio.
//
//   ModuleServices services;
//   services.speak = [&](text, voice, delivery, cancel) {
//     return synth.Speak(text, library::TextEncoding::kUtf8, voice, delivery, cancel); };
//   services.makePlayer = [] { return std::make_unique<AlsaStretchPlayer>(); };
//   return RunModule(std::move(services), STDIN_FILENO, STDOUT_FILENO);
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "library/synthesizer.h"
#include "speechd/module_settings.h"
#include "speechd/protocol_reader.h"
#include "speechd/ssml_parser.h"
#include "synth/manual_reset_event.h"

namespace orvanel::speechd {

// Synthesis as the module uses it: UTF-8 text in, blocks or stretches to the delivery's sinks,
// cancel looked at after every segment. The program passes the library's Synthesizer::Speak;
// tests pass a fake.
using SpeakFunction = std::function<library::Outcome(
    std::string_view utf8, const library::VoiceSettings& voice, const library::Delivery& delivery,
    const library::CancelCheck& cancel)>;

// Plays samples through the module's own audio device.
class StretchPlayer {
 public:
  virtual ~StretchPlayer() = default;
  // Returns once the samples have played (true) or stop was set or the device failed (false).
  virtual bool Play(const std::int16_t* samples, std::size_t count, std::uint32_t sampleRate,
                    const synth::ManualResetEvent& stop) = 0;
};

struct ModuleServices {
  SpeakFunction speak;
  // The player for when the server does not offer server audio; empty: server audio only.
  std::function<std::unique_ptr<StretchPlayer>()> makePlayer;
  // Set when the module cannot work (units missing): INIT then fails with this text.
  std::string initError;
  bool readingStage = true;
  // Word stress and sentence intonation (with the voice data).
  bool prosody = true;
  std::string logFile;  // empty: no log
  // The server plays a message that waited behind the last one right after it, with no pause
  // of its own; such a message begins with this much silence (at the normal rate, in proportion
  // less at a faster one). After a stop, or when the last one ended earlier, it starts at once.
  double messageGapMs = 250;
};

inline constexpr char kVoiceName[] = "Orvanel";
inline constexpr char kVoiceLanguage[] = "tr";

// What the worker says for one message, prepared from the message and the settings at its start.
struct SpeechPlan {
  // kText, kBreak and kMark; with the reading stage also kCharacters, text that is names already
  // (spelled letters, a character's or a key's name), read with no punctuation named.
  std::vector<SsmlPiece> pieces;
};

// The plan of a message (SPEAK, CHAR, KEY or SOUND_ICON data) under the given settings: text
// pieces spelled or read at the punctuation level, spelled runs spelled, adjacent text joined.
// With readingStage the text goes to the Turkish reading stage, which reads the punctuation at
// the level itself (PunctuationLevel); without it the punctuation is applied here.
SpeechPlan PlanMessage(CommandKind kind, std::string_view data, const ModuleSettings& settings,
                       bool readingStage = false);

class OutputModule {
 public:
  // Events and replies are written to outFd.
  OutputModule(ModuleServices services, int outFd);
  ~OutputModule();
  OutputModule(const OutputModule&) = delete;
  OutputModule& operator=(const OutputModule&) = delete;

  // Handles what the server sent; false once the module is to exit (QUIT, or a failed INIT).
  bool Feed(std::string_view bytes);
  // Ends the message in progress (703) and the worker; called when the server closes its end.
  void Close();
  // 0 after QUIT or the server's close, 1 after a failed INIT.
  int ExitCode() const { return exitCode_; }

 private:
  struct Job {
    SpeechPlan plan;
  };
  enum class Terminal { kEnd, kStop, kPause };

  void Handle(const ProtocolEvent& event);
  void HandleComplete(const Command& command);
  void StartMessage(const Command& command);
  void StopAndWait();
  void WorkerLoop();
  // Speaks the plan; texts that the server's marks cut where the reading stage reads on are
  // joined into it as they come.
  Terminal Speak(SpeechPlan& plan);
  bool Deliver(const std::int16_t* samples, std::size_t count, std::uint32_t rate);
  bool DeliverSilence(std::uint32_t ms);
  bool Cut() const;
  // Waits (worker only) until the server audio sent is at most leadSeconds ahead of playback,
  // or the message is cut.
  void Pace(double leadSeconds);
  void Send(std::string_view text);
  void Log(std::string_view text);
  // Logs speech that the literal reading could not hold, by where it begins in the message.
  void LogDropped(const library::DroppedSpeech& dropped);

  ModuleServices services_;
  int outFd_;
  std::mutex outMutex_;
  bool outBroken_ = false;
  std::FILE* log_ = nullptr;
  std::mutex logMutex_;

  ProtocolReader reader_;
  std::vector<ProtocolEvent> events_;
  ModuleSettings settings_;
  library::VoiceSettings voice_;
  bool serverAudio_ = true;
  std::unique_ptr<StretchPlayer> player_;
  int exitCode_ = 0;
  bool done_ = false;

  // Between the reading thread and the worker.
  std::mutex jobMutex_;
  std::condition_variable jobChanged_;
  std::optional<Job> job_;
  bool busy_ = false;
  bool quit_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> pause_{false};
  std::atomic<bool> marksAhead_{false};
  synth::ManualResetEvent stopEvent_;  // for the player
  using Clock = std::chrono::steady_clock;
  bool begun_ = false;               // worker only: 701 sent for this message
  double sentSeconds_ = 0;           // worker only: server audio sent for this message
  Clock::time_point playbackStart_;  // worker only: when its first 705 is to play
  // Worker only: when the server audio of the last message, if it ended (702), ends playing,
  // and, while a message is spoken, that of the message before it.
  std::optional<Clock::time_point> lastEnd_;
  std::optional<Clock::time_point> queuedUntil_;
  std::thread worker_;
};

// Reads the server from inFd until QUIT or end of input; returns the exit code.
int RunModule(ModuleServices services, int inFd, int outFd);

}  // namespace orvanel::speechd
