#include "app/speech_control.h"

namespace orvanel::app {

bool EngineSpeechControl::Create(std::string& error) {
  return engine::CreateSpeechEngine(error, services_) != nullptr;
}

void EngineSpeechControl::SpeakText(const std::string& text, engine::NotifyTarget* window,
                                    std::uint32_t message) {
  engine::SpeakText(text, window, message);
}

void EngineSpeechControl::StopSpeaking() { engine::StopSpeaking(); }

void EngineSpeechControl::TranscribeText(std::string& text, std::string& phonetic) {
  engine::TranscribeText(text, phonetic);
}

void EngineSpeechControl::SetPitch(unsigned value) { engine::SetPitch(value); }
void EngineSpeechControl::SetSpeed(unsigned value) { engine::SetSpeed(value); }
unsigned EngineSpeechControl::GetPitch() { return engine::GetPitch(); }
unsigned EngineSpeechControl::GetSpeed() { return engine::GetSpeed(); }
engine::ThreadHandle EngineSpeechControl::GetEngineThread() { return engine::GetEngineThread(); }
void EngineSpeechControl::Shutdown() { engine::ShutdownSpeechEngine(); }

}  // namespace orvanel::app
