// The orvanel program: the desktop window over the engine built from the embedded units, the ALSA
// device and Linux threads.
#include <QApplication>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/speech_control.h"
#include "embedded/embedded_units.h"
#include "engine/speech_engine.h"
#include "platform/alsa_wave_device.h"
#include "platform/linux_priority.h"
#include "platform/linux_thread.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);

  const orvanel::embedded::EmbeddedUnitStore units;
  orvanel::platform::LinuxThreadFactory threads;
  orvanel::engine::EngineServices services;
  services.units = &units;
  // The voice data behind prosody and the voice controls. The window's literal speech does not
  // need it, so a program built without it still speaks.
  orvanel::synth::VoiceData voice;
  std::string error;
  if (orvanel::synth::LoadVoiceData(units, voice, error) != 0) services.voice = &voice;
  services.makeDevice = [] { return std::make_unique<orvanel::platform::AlsaWaveDevice>(); };
  services.threads = &threads;

  orvanel::app::EngineSpeechControl speech(services);
  orvanel::platform::LinuxPriorityControl priority;
  orvanel::app::Application application(speech, priority, QCoreApplication::applicationFilePath());
  return application.StartUp();
}
