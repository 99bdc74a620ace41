// SET lines and the mapping of rate, pitch and volume.
#include "speechd/module_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace orvanel::speechd {
namespace {

bool ReadInt(std::string_view text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long v = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  value = static_cast<int>(std::clamp<long long>(v, -100, 100));
  return true;
}

bool ReadSwitch(std::string_view text, bool& value) {
  if (text == "on" || text == "1" || text == "true") {
    value = true;
    return true;
  }
  if (text == "off" || text == "0" || text == "false" || text == "none") {
    value = false;
    return true;
  }
  return false;
}

// exp(a r + b r^2): a and b solved from the two ends. The fastest, 400 %, is faster than
// espeak-ng's module at its fastest (docs/voice/fast-speech.md).
const double kRateA = (std::log(4.0) - std::log(0.5)) / 200;
const double kRateB = (std::log(4.0) + std::log(0.5)) / 20000;

// The volume in percent at the server's normal volume 0: the loudness (RMS) of espeak-ng's
// module at the same volume, measured through the server on the same sentence.
constexpr double kVolumeAtZero = 72;

}  // namespace

bool ApplySetting(std::string_view key, std::string_view value, ModuleSettings& settings) {
  if (key == "rate") return ReadInt(value, settings.rate);
  if (key == "pitch") return ReadInt(value, settings.pitch);
  if (key == "volume") return ReadInt(value, settings.volume);
  if (key == "spelling_mode") return ReadSwitch(value, settings.spelling);
  if (key == "cap_let_recogn") {
    // The server says "none", "spell" or "icon"; any recognition asks for "büyük".
    if (value == "spell" || value == "icon") {
      settings.capitals = true;
      return true;
    }
    return ReadSwitch(value, settings.capitals);
  }
  if (key == "punctuation_mode") {
    static constexpr std::pair<std::string_view, PunctuationMode> kModes[] = {
        {"none", PunctuationMode::kNone},
        {"some", PunctuationMode::kSome},
        {"most", PunctuationMode::kMost},
        {"all", PunctuationMode::kAll}};
    for (const auto& [name, mode] : kModes) {
      if (value == name) {
        settings.punctuation = mode;
        return true;
      }
    }
    return false;
  }
  return false;
}

reading::Punctuation PunctuationLevel(PunctuationMode mode) {
  switch (mode) {
    case PunctuationMode::kNone:
      return reading::Punctuation::kNone;
    case PunctuationMode::kAll:
      return reading::Punctuation::kAll;
    default:
      return reading::Punctuation::kSome;
  }
}

VoiceControls MapVoiceControls(int rate, int pitch, int volume) {
  const double r = std::clamp(rate, -100, 100);
  VoiceControls c;
  c.ratePercent = 100 * std::exp(kRateA * r + kRateB * r * r);
  c.semitones = 6.0 * std::clamp(pitch, -100, 100) / 100;
  c.volumePercent = static_cast<unsigned>(
      std::lround(kVolumeAtZero * (std::clamp(volume, -100, 100) + 100) / 100.0));
  return c;
}

void ApplyVoiceControls(const VoiceControls& controls, library::VoiceSettings& voice) {
  // The voice controls keep the literal speed and pitch values at their defaults.
  const double rate =
      std::clamp(std::round(controls.ratePercent), static_cast<double>(synth::kMinRatePercent),
                 static_cast<double>(synth::kMaxRatePercent));
  voice.ratePercent.store(static_cast<std::uint16_t>(rate), std::memory_order_relaxed);
  voice.semitones.store(std::clamp(static_cast<float>(controls.semitones), -synth::kMaxSemitones,
                                   synth::kMaxSemitones),
                        std::memory_order_relaxed);
  voice.volume.store(
      static_cast<std::uint16_t>(std::min(controls.volumePercent, library::kMaxVolume)),
      std::memory_order_relaxed);
}

}  // namespace orvanel::speechd
