#include "app/speech_control.h"

#include <optional>
#include <utility>

#include "library/text_feed.h"

namespace orvanel::app {

bool EngineSpeechControl::Create(std::string& error) {
  return engine::CreateSpeechEngine(error, services_) != nullptr;
}

void EngineSpeechControl::SpeakText(const std::string& text, engine::NotifyTarget* window,
                                    std::uint32_t message) {
  engine::SpeakText(text, window, message);
}

void EngineSpeechControl::SpeakReading(const std::string& utf8, engine::NotifyTarget* window,
                                       std::uint32_t message) {
  engine::SpeechRequest request;
  request.text = utf8;
  request.encoding = library::TextEncoding::kUtf8;
  engine::SetReading(true);
  engine::SpeakRequest(std::move(request), window, message);
}

void EngineSpeechControl::StopSpeaking() { engine::StopSpeaking(); }

void EngineSpeechControl::TranscribeReading(const std::string& utf8, std::string& phonetic) {
  std::string error;
  // The edit box holds UTF-8 that Qt made, so it is always valid.
  if (!library::TranscribeText(utf8, library::TextEncoding::kUtf8, reading::ReadingOptions{},
                               StressMemo(), phonetic, error))
    phonetic.clear();
}

void EngineSpeechControl::TranscribeText(std::string& text, std::string& phonetic) {
  if (!intonation_) {
    engine::TranscribeText(text, phonetic);
    return;
  }
  // The literal conversion with stress marks, as the engine speaks the text with intonation.
  std::string error;
  library::TranscribeText(text, library::TextEncoding::kCp1254, std::nullopt, StressMemo(),
                          phonetic, error);
}

void EngineSpeechControl::SetIntonation(bool on) {
  intonation_ = on;
  engine::SetProsody(on);
}

prosody::StressCache* EngineSpeechControl::StressMemo() {
  if (!intonation_) return nullptr;
  if (!stressMemo_) stressMemo_ = std::make_unique<prosody::StressCache>();
  return stressMemo_.get();
}

void EngineSpeechControl::SetPitch(unsigned value) { engine::SetPitch(value); }
void EngineSpeechControl::SetSpeed(unsigned value) { engine::SetSpeed(value); }
unsigned EngineSpeechControl::GetPitch() { return engine::GetPitch(); }
unsigned EngineSpeechControl::GetSpeed() { return engine::GetSpeed(); }
engine::ThreadHandle EngineSpeechControl::GetEngineThread() { return engine::GetEngineThread(); }
void EngineSpeechControl::Shutdown() { engine::ShutdownSpeechEngine(); }

}  // namespace orvanel::app
