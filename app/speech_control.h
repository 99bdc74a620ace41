// The window's way to the speech engine: its control operations behind one small interface, so
// the dialogs can be driven by a recording stand-in in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/notify_target.h"
#include "engine/speech_engine.h"
#include "prosody/stress_cache.h"

namespace orvanel::app {

class SpeechControl {
 public:
  virtual ~SpeechControl() = default;
  // Creates the engine; false with error (Windows-1254) filled in when it cannot be made.
  virtual bool Create(std::string& error) = 0;
  virtual void SpeakText(const std::string& text, engine::NotifyTarget* window,
                         std::uint32_t message) = 0;
  // Speaks UTF-8 text through the Turkish reading stage (the Options menu's Turkish Reading).
  virtual void SpeakReading(const std::string& utf8, engine::NotifyTarget* window,
                            std::uint32_t message) = 0;
  virtual void StopSpeaking() = 0;
  virtual void TranscribeText(std::string& text, std::string& phonetic) = 0;
  // The PhoneticText of UTF-8 text read by the Turkish reading stage, as SpeakReading speaks it.
  virtual void TranscribeReading(const std::string& utf8, std::string& phonetic) = 0;
  // Natural intonation (the Options menu's item): word stress and sentence intonation in what
  // is spoken and stress marks in the transcriptions. Off, both are the literal ones.
  virtual void SetIntonation(bool on) = 0;
  virtual void SetPitch(unsigned value) = 0;
  virtual void SetSpeed(unsigned value) = 0;
  virtual unsigned GetPitch() = 0;
  virtual unsigned GetSpeed() = 0;
  virtual engine::ThreadHandle GetEngineThread() = 0;
  // Ends the engine and its worker; safe when none was created.
  virtual void Shutdown() = 0;
};

// Forwards every call to the engine's control operations.
class EngineSpeechControl final : public SpeechControl {
 public:
  // services must outlive this object.
  explicit EngineSpeechControl(const engine::EngineServices& services) : services_(services) {}

  bool Create(std::string& error) override;
  void SpeakText(const std::string& text, engine::NotifyTarget* window,
                 std::uint32_t message) override;
  void SpeakReading(const std::string& utf8, engine::NotifyTarget* window,
                    std::uint32_t message) override;
  void StopSpeaking() override;
  void TranscribeText(std::string& text, std::string& phonetic) override;
  void TranscribeReading(const std::string& utf8, std::string& phonetic) override;
  void SetIntonation(bool on) override;
  void SetPitch(unsigned value) override;
  void SetSpeed(unsigned value) override;
  unsigned GetPitch() override;
  unsigned GetSpeed() override;
  engine::ThreadHandle GetEngineThread() override;
  void Shutdown() override;

 private:
  // The memo of word analyses behind the stress marks, while intonation is on.
  prosody::StressCache* StressMemo();

  const engine::EngineServices& services_;
  bool intonation_ = false;
  std::unique_ptr<prosody::StressCache> stressMemo_;
};

}  // namespace orvanel::app
