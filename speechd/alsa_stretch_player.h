// The module's own audio for servers that do not take 705 audio: each stretch through the
// project's ALSA wave device (PCM "default", or ORVANEL_PCM).
#pragma once

#include "speechd/output_module.h"

namespace orvanel::speechd {

class AlsaStretchPlayer final : public StretchPlayer {
 public:
  bool Play(const std::int16_t* samples, std::size_t count, std::uint32_t sampleRate,
            const synth::ManualResetEvent& stop) override;
};

}  // namespace orvanel::speechd
