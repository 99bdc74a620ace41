// The output module's command handling, worker and event writing.
#include "speechd/output_module.h"

#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "speechd/audio_event.h"
#include "speechd/server_marks.h"
#include "speechd/server_text.h"
#include "speechd/spoken_names.h"
#include "synth/sample_buffer.h"

namespace orvanel::speechd {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\n' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\n' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// The plain text of a short datum (CHAR, KEY, SOUND_ICON), entities decoded.
std::string PlainText(std::string_view data) {
  std::string text;
  for (const SsmlPiece& p : ParseSsml(data))
    if (p.kind == PieceKind::kText || p.kind == PieceKind::kCharacters) text += p.text;
  const std::string_view trimmed = TrimBlanks(text);
  return trimmed.empty() ? SanitizeUtf8(data) : std::string(trimmed);
}

void AddText(std::vector<SsmlPiece>& pieces, std::string text, PieceKind kind = PieceKind::kText) {
  if (text.empty()) return;
  if (!pieces.empty() && pieces.back().kind == kind) {
    pieces.back().text += text;
  } else {
    pieces.push_back({kind, std::move(text), 0});
  }
}

// The voice for text that is names already: the punctuation level of the reading stage would
// name the commas between spelled letters.
void CopyForNames(const library::VoiceSettings& from, library::VoiceSettings& to) {
  to.speed.store(from.speed.load());
  to.pitch.store(from.pitch.load());
  to.volume.store(from.volume.load());
  to.ratePercent.store(from.ratePercent.load());
  to.semitones.store(from.semitones.load());
  to.reading.store(from.reading.load());
  to.prosody.store(from.prosody.load());
  to.punctuation.store(reading::Punctuation::kNone);
}

// The longest silence written at once: a second.
constexpr std::uint32_t kSilenceChunkMs = 1000;
// Server audio goes out as it is rendered, segment by segment, so that the first sound of a
// message never waits for the rest of its sentence, in 705 events of at most this many samples
// (40 ms at the base rate).
constexpr std::size_t kEventSamples = 882;
// The server sends the next message once it has played the last one (measured: 3 to 17 ms after
// the end of its audio). A message that arrives sooner than this after that end had been waiting
// at the server; one that arrives later was sent later, and starts at once.
constexpr double kQueuedWithinMs = 100;
// Server audio goes out at most this far ahead of its playback, so that the server never holds
// much more than the sentence being heard; an index mark waits until its audio is this close to
// played, so that a pause takes effect at the end of that sentence. Synthesis runs many times
// faster than playback, so neither wait lets the audio run dry.
constexpr double kLeadSeconds = 1.0;
constexpr double kMarkLeadSeconds = 0.4;

}  // namespace

SpeechPlan PlanMessage(CommandKind kind, std::string_view data, const ModuleSettings& settings,
                       bool readingStage) {
  SpeechPlan plan;
  // A character or key name that is not UTF-8 is skipped, not guessed at.
  const bool single =
      kind == CommandKind::kChar || kind == CommandKind::kKey || kind == CommandKind::kSoundIcon;
  if (single && SanitizeUtf8(data) != data) return plan;
  const PieceKind names = readingStage ? PieceKind::kCharacters : PieceKind::kText;
  switch (kind) {
    case CommandKind::kChar:
      AddText(plan.pieces, CharacterName(PlainText(data), settings.capitals), names);
      return plan;
    case CommandKind::kKey:
      AddText(plan.pieces, KeyName(PlainText(data)), names);
      return plan;
    case CommandKind::kSoundIcon:
      AddText(plan.pieces, SoundIconName(PlainText(data)), names);
      return plan;
    default:
      break;
  }
  std::vector<SsmlPiece> parsed = ParseSsml(data);
  // The server turns a blank sent as a character into the English word.
  if (parsed.size() == 1 && parsed[0].kind == PieceKind::kText &&
      TrimBlanks(parsed[0].text) == "space") {
    AddText(plan.pieces, CharacterName("space", settings.capitals), names);
    return plan;
  }
  for (SsmlPiece& piece : parsed) {
    // The text as the client wrote it where the server's symbol naming changed it recognisably.
    if (piece.kind == PieceKind::kText) piece.text = RestoreServerText(piece.text);
    switch (piece.kind) {
      case PieceKind::kText:
        if (settings.spelling) {
          AddText(plan.pieces, SpellText(piece.text, settings.capitals), names);
        } else {
          AddText(plan.pieces, readingStage ? std::move(piece.text)
                                            : ApplyPunctuation(piece.text, settings.punctuation));
        }
        break;
      case PieceKind::kCharacters: {
        // Appended rather than concatenated: GCC's -O3 misreads "x" + std::string&& (-Wrestrict).
        std::string spelled(1, ' ');
        spelled.append(SpellText(piece.text, settings.capitals)).push_back(' ');
        AddText(plan.pieces, std::move(spelled), names);
        break;
      }
      case PieceKind::kMark:
      case PieceKind::kBreak:
        plan.pieces.push_back(std::move(piece));
        break;
    }
  }
  return plan;
}

OutputModule::OutputModule(ModuleServices services, int outFd)
    : services_(std::move(services)), outFd_(outFd) {
  if (!services_.logFile.empty()) log_ = std::fopen(services_.logFile.c_str(), "a");
  voice_.reading.store(services_.readingStage, std::memory_order_relaxed);
  voice_.prosody.store(services_.prosody, std::memory_order_relaxed);
  ApplyVoiceControls(MapVoiceControls(settings_.rate, settings_.pitch, settings_.volume), voice_);
  voice_.punctuation.store(PunctuationLevel(settings_.punctuation), std::memory_order_relaxed);
  worker_ = std::thread([this] { WorkerLoop(); });
}

OutputModule::~OutputModule() {
  Close();
  if (log_ != nullptr) std::fclose(log_);
}

void OutputModule::Close() {
  StopAndWait();
  {
    std::lock_guard lock(jobMutex_);
    quit_ = true;
  }
  jobChanged_.notify_all();
  if (worker_.joinable()) worker_.join();
}

bool OutputModule::Feed(std::string_view bytes) {
  if (done_) return false;
  events_.clear();
  reader_.Feed(bytes, events_);
  for (const ProtocolEvent& event : events_) {
    Handle(event);
    if (done_) return false;
  }
  return true;
}

void OutputModule::Handle(const ProtocolEvent& event) {
  const CommandKind kind = event.command.kind;
  if (event.type == ProtocolEvent::Type::kBlockStarted) {
    switch (kind) {
      case CommandKind::kAudio:
        Send("207 OK RECEIVING AUDIO SETTINGS\n");
        break;
      case CommandKind::kLogLevel:
        Send("207 OK RECEIVING LOGLEVEL SETTINGS\n");
        break;
      case CommandKind::kSet:
        Send("207 OK RECEIVING SETTINGS\n");
        break;
      default:
        Send("202 OK RECEIVING MESSAGE\n");
        break;
    }
    return;
  }
  HandleComplete(event.command);
}

void OutputModule::HandleComplete(const Command& command) {
  switch (command.kind) {
    case CommandKind::kInit:
      if (!services_.initError.empty()) {
        Send("399-" + services_.initError + "\n399 ERR CANT INIT MODULE\n");
        exitCode_ = 1;
        done_ = true;
        return;
      }
      Send("299-Orvanel: Turkish synthesis ready\n299 OK LOADED SUCCESSFULLY\n");
      return;
    case CommandKind::kAudio: {
      StopAndWait();  // the worker reads the audio choice
      std::string method = "server";
      for (const auto& [key, value] : command.values)
        if (key == "audio_output_method") method = value;
      if (method == "server") {
        serverAudio_ = true;
        Send("203 OK AUDIO INITIALIZED\n");
      } else if (services_.makePlayer) {
        player_ = services_.makePlayer();
        serverAudio_ = player_ == nullptr;
        if (player_ == nullptr) {
          Send("300-no audio device\n300 MODULE ERROR\n");
        } else {
          Send("203 OK AUDIO INITIALIZED\n");
        }
      } else {
        Send("300-only server audio\n300 MODULE ERROR\n");
      }
      return;
    }
    case CommandKind::kLogLevel:
      Send("203 OK LOGLEVEL SET\n");
      return;
    case CommandKind::kSet: {
      for (const auto& [key, value] : command.values) ApplySetting(key, value, settings_);
      ApplyVoiceControls(MapVoiceControls(settings_.rate, settings_.pitch, settings_.volume),
                         voice_);
      voice_.punctuation.store(PunctuationLevel(settings_.punctuation), std::memory_order_relaxed);
      Send("203 OK SETTINGS RECEIVED\n");
      return;
    }
    case CommandKind::kListVoices:
      Send(std::string("200-") + kVoiceName + "\t" + kVoiceLanguage +
           "\tnone\n200 OK VOICE LIST SENT\n");
      return;
    case CommandKind::kSpeak:
    case CommandKind::kChar:
    case CommandKind::kKey:
    case CommandKind::kSoundIcon:
      StartMessage(command);
      return;
    case CommandKind::kStop:
      Log("STOP");
      stop_.store(true);
      stopEvent_.Set();
      return;
    case CommandKind::kPause:
      Log("PAUSE");
      pause_.store(true);
      if (!marksAhead_.load()) stopEvent_.Set();
      return;
    case CommandKind::kQuit:
      StopAndWait();
      Send("210 OK QUIT\n");
      done_ = true;
      return;
    case CommandKind::kDebug:
      Send(command.line.find("OFF") != std::string::npos ? "200 OK DEBUGGING OFF\n"
                                                         : "200 OK DEBUGGING ON\n");
      return;
    case CommandKind::kUnknown:
      Log("unknown command: " + command.line.substr(0, 80));
      Send("300 ERR UNKNOWN COMMAND\n");
      return;
  }
}

void OutputModule::StartMessage(const Command& command) {
  // A message while one is spoken replaces it: the old one ends with 703 first.
  StopAndWait();
  if (command.truncated) Log("message cut at the size limit");
  Job job{PlanMessage(command.kind, command.data, settings_, services_.readingStage)};
  Log("message: " + std::to_string(command.data.size()) + " bytes");
  Send("200 OK SPEAKING\n");
  {
    std::lock_guard lock(jobMutex_);
    stop_.store(false);
    pause_.store(false);
    stopEvent_.Reset();
    job_ = std::move(job);
    busy_ = true;
  }
  jobChanged_.notify_all();
}

void OutputModule::StopAndWait() {
  std::unique_lock lock(jobMutex_);
  if (!busy_) return;
  stop_.store(true);
  stopEvent_.Set();
  jobChanged_.wait(lock, [this] { return !busy_; });
}

void OutputModule::WorkerLoop() {
  while (true) {
    Job job;
    {
      std::unique_lock lock(jobMutex_);
      jobChanged_.wait(lock, [this] { return job_.has_value() || quit_; });
      if (!job_.has_value()) return;
      job = std::move(*job_);
      job_.reset();
    }
    const Terminal terminal = Speak(job.plan);
    Log(terminal == Terminal::kEnd ? "end" : terminal == Terminal::kStop ? "stop" : "pause");
    // The terminal event goes out before the next message may start.
    switch (terminal) {
      case Terminal::kEnd:
        Send("702 END\n");
        break;
      case Terminal::kStop:
        Send("703 STOP\n");
        break;
      case Terminal::kPause:
        Send("704 PAUSE\n");
        break;
    }
    {
      std::lock_guard lock(jobMutex_);
      busy_ = false;
    }
    jobChanged_.notify_all();
  }
}

bool OutputModule::Cut() const { return stop_.load() || (pause_.load() && !marksAhead_.load()); }

bool OutputModule::Deliver(const std::int16_t* samples, std::size_t count, std::uint32_t rate) {
  if (Cut()) return false;
  if (count == 0) return true;
  if (!begun_) {
    Send("701 BEGIN\n");
    begun_ = true;
  }
  if (serverAudio_ || player_ == nullptr) {
    // In equal events of at most kEventSamples, each paced on its own, so that the server never
    // has to play a long segment or pause whole before it can act on a stop.
    const std::size_t events = (count + kEventSamples - 1) / kEventSamples;
    std::string event;
    for (std::size_t i = 0, at = 0; i < events; ++i) {
      Pace(kLeadSeconds);
      if (Cut()) return false;
      const std::size_t n = count * (i + 1) / events - at;
      if (sentSeconds_ == 0) {
        // Behind the last message's audio, when the server still plays it.
        playbackStart_ = std::max(Clock::now(), queuedUntil_.value_or(Clock::time_point()));
        Log("first audio: " + std::to_string(n) + " samples");
      }
      event.clear();
      AppendAudioEvent(samples + at, n, rate, event);
      Send(event);
      sentSeconds_ += static_cast<double>(n) / rate;
      at += n;
    }
  } else {
    player_->Play(samples, count, rate, stopEvent_);
  }
  return !Cut();
}

void OutputModule::Pace(double leadSeconds) {
  if (!(serverAudio_ || player_ == nullptr) || sentSeconds_ == 0) return;
  while (!Cut()) {
    const std::chrono::duration<double> played = std::chrono::steady_clock::now() - playbackStart_;
    const double ahead = sentSeconds_ - played.count();
    if (ahead <= leadSeconds) return;
    const double wait = std::min(ahead - leadSeconds, 0.1);
    stopEvent_.Wait(std::chrono::milliseconds(1 + static_cast<int>(wait * 1000)));
  }
}

OutputModule::Terminal OutputModule::Speak(SpeechPlan& plan) {
  begun_ = false;
  sentSeconds_ = 0;
  // Only a message that ended leaves audio for the server to play; after a stop or a pause the
  // next message starts at once.
  queuedUntil_ = std::exchange(lastEnd_, std::nullopt);
  auto& pieces = plan.pieces;
  // Whether an index mark lies ahead of position i: a pause waits for it.
  std::vector<bool> markAfter(pieces.size() + 1, false);
  // Whether sound (text or a break) follows position i: the pauses after a message's last sound
  // are not rendered, so that its end event follows the sound; pauses inside a message stay.
  std::vector<bool> soundAfter(pieces.size() + 1, false);
  for (std::size_t i = pieces.size(); i-- > 0;) {
    markAfter[i] = markAfter[i + 1] || pieces[i].kind == PieceKind::kMark;
    soundAfter[i] = soundAfter[i + 1] || pieces[i].kind == PieceKind::kBreak ||
                    (pieces[i].kind == PieceKind::kText && !TrimBlanks(pieces[i].text).empty());
  }
  // The server takes blocks as they are rendered; the module's own player plays whole stretches.
  library::Delivery delivery;
  if (serverAudio_ || player_ == nullptr) {
    delivery.block = [this](const library::Block& b) {
      return Deliver(b.samples, b.sampleCount, b.sampleRate);
    };
    delivery.blockSamples = 1;
    // Whole stretches only for what the literal reading could not hold.
    delivery.stretch = [this](const library::Stretch& s) {
      LogDropped(s.dropped);
      return !Cut();
    };
  } else {
    delivery.stretch = [this](const library::Stretch& s) {
      LogDropped(s.dropped);
      return Deliver(s.samples, s.sampleCount, s.sampleRate);
    };
  }
  const library::CancelCheck cancel = [this](std::size_t, std::size_t) { return Cut(); };
  // A message that waited behind the last one at the server begins with the gap between them,
  // less the time since the last one's audio ended.
  bool interrupted = false;
  if (queuedUntil_ && soundAfter[0] && (serverAudio_ || player_ == nullptr)) {
    const double since =
        std::chrono::duration<double, std::milli>(Clock::now() - *queuedUntil_).count();
    const double rate = std::max<double>(voice_.ratePercent.load(), synth::kMinRatePercent);
    const double gap = services_.messageGapMs * 100 / rate - std::max(since, 0.0);
    marksAhead_.store(markAfter[0]);
    if (since < kQueuedWithinMs && gap >= 1)
      interrupted = !DeliverSilence(static_cast<std::uint32_t>(gap));
  }
  for (std::size_t i = 0; i < pieces.size() && !interrupted; ++i) {
    marksAhead_.store(markAfter[i]);
    if (Cut()) {
      interrupted = true;
      break;
    }
    const SsmlPiece& piece = pieces[i];
    if (piece.kind == PieceKind::kText || piece.kind == PieceKind::kCharacters) {
      if (TrimBlanks(piece.text).empty()) continue;
      // The texts after server marks that the reading stage reads with this one join it (and
      // are left empty); the marks between follow the joined text.
      const std::size_t last = services_.readingStage ? JoinReadingCutByMarks(pieces, i) : i;
      delivery.trimFinalSilence = !soundAfter[last + 1];
      library::VoiceSettings names;
      if (piece.kind == PieceKind::kCharacters) CopyForNames(voice_, names);
      const library::Outcome outcome = services_.speak(
          piece.text, piece.kind == PieceKind::kText ? voice_ : names, delivery, cancel);
      interrupted =
          outcome == library::Outcome::kCancelled || outcome == library::Outcome::kSinkStopped;
      if (outcome == library::Outcome::kInvalidInput) Log("text refused by the synthesizer");
    } else if (piece.kind == PieceKind::kBreak) {
      interrupted = !DeliverSilence(piece.ms);
    } else if (piece.kind == PieceKind::kMark) {
      if (stop_.load()) {
        interrupted = true;
        break;
      }
      if (!begun_) {
        Send("701 BEGIN\n");
        begun_ = true;
      }
      Pace(kMarkLeadSeconds);
      if (stop_.load()) {
        interrupted = true;
        break;
      }
      Send("700-" + piece.text + "\n700 INDEX MARK\n");
      // A pause ends the message here, so that the server resumes after this mark.
      if (pause_.load()) {
        marksAhead_.store(false);
        return Terminal::kPause;
      }
    }
  }
  marksAhead_.store(false);
  if (!begun_) Send("701 BEGIN\n");
  if (interrupted) return stop_.load() ? Terminal::kStop : Terminal::kPause;
  if (sentSeconds_ > 0)
    lastEnd_ = playbackStart_ + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(sentSeconds_));
  return Terminal::kEnd;
}

bool OutputModule::DeliverSilence(std::uint32_t ms) {
  // At the rate the stretches have at the current pitch.
  const std::uint32_t rate = synth::RateForPitch(voice_.pitch.load());
  std::vector<std::int16_t> silence;
  for (std::uint32_t left = ms; left > 0;) {
    const std::uint32_t part = std::min(left, kSilenceChunkMs);
    silence.assign(static_cast<std::size_t>(std::uint64_t{part} * rate / 1000), 0);
    if (!Deliver(silence.data(), silence.size(), rate)) return false;
    left -= part;
  }
  return true;
}

void OutputModule::Send(std::string_view text) {
  std::lock_guard lock(outMutex_);
  if (outBroken_) return;
  while (!text.empty()) {
    const ssize_t n = ::write(outFd_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      outBroken_ = true;  // the server is gone; reading will end too
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

void OutputModule::LogDropped(const library::DroppedSpeech& dropped) {
  if (dropped.samples == 0) return;
  Log("speech lost: " + std::to_string(dropped.samples) + " samples from line " +
      std::to_string(dropped.line) + ", column " + std::to_string(dropped.column) +
      " (too long without a sentence end for the literal reading)");
}

void OutputModule::Log(std::string_view text) {
  if (log_ == nullptr) return;
  // Milliseconds on the monotonic clock, so that a log shows the module's own latencies.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  std::lock_guard lock(logMutex_);
  std::fprintf(log_, "%lld %.*s\n", static_cast<long long>(ms), static_cast<int>(text.size()),
               text.data());
  std::fflush(log_);
}

int RunModule(ModuleServices services, int inFd, int outFd) {
  ::signal(SIGPIPE, SIG_IGN);
  OutputModule module(std::move(services), outFd);
  std::vector<char> buffer(1 << 16);
  while (true) {
    const ssize_t n = ::read(inFd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (!module.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) break;
  }
  module.Close();
  return module.ExitCode();
}

}  // namespace orvanel::speechd
