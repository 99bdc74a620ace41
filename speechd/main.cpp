// sd_orvanel: the speech server's output module for Orvanel. The server starts it with the path
// of orvanel.conf and speaks the module protocol on standard input and output.
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "library/built_in_units.h"
#include "library/synthesizer.h"
#include "speechd/alsa_stretch_player.h"
#include "speechd/module_config.h"
#include "speechd/output_module.h"

int main(int argc, char** argv) {
  using namespace orvanel;
  speechd::ModuleConfig config;
  if (argc > 1) {
    std::ifstream in(argv[1]);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    config = speechd::ParseModuleConfig(text);
  }

  speechd::ModuleServices services;
  services.readingStage = config.readingStage;
  services.prosody = config.prosody;
  services.logFile = config.logFile;
  services.makePlayer = [] { return std::make_unique<speechd::AlsaStretchPlayer>(); };

  // The units and the voice data behind the rate and pitch controls.
  library::BuiltInVoice builtIn;
  std::unique_ptr<library::Synthesizer> synthesizer;
  if (library::LoadBuiltInVoice(builtIn, services.initError) == 1) {
    services.initError.clear();
    synthesizer = std::make_unique<library::Synthesizer>(builtIn.units, &builtIn.voice);
    services.speak = [&synthesizer](std::string_view text, const library::VoiceSettings& voice,
                                    const library::Delivery& delivery,
                                    const library::CancelCheck& cancel) {
      return synthesizer->Speak(text, library::TextEncoding::kUtf8, voice, delivery, cancel);
    };
  } else if (services.initError.empty()) {
    services.initError = "the sound units cannot be loaded";
  }
  return speechd::RunModule(std::move(services), STDIN_FILENO, STDOUT_FILENO);
}
