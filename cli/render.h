// Speech to samples without a device: every stretch planned and rendered as the engine does it
// (a 2 MiB buffer per stretch at the pitch's rate), then joined.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/unit_inventory.h"

namespace orvanel::cli {

struct CutStretch {
  std::size_t stretch = 0;  // 1-based
  std::uint64_t droppedSamples = 0;
};

struct RenderedSpeech {
  std::uint32_t sampleRate = 0;
  std::vector<std::int16_t> samples;
  std::vector<CutStretch> cut;  // stretches longer than the buffer holds
};

RenderedSpeech RenderPhoneticText(const std::string& phonetic, unsigned speed, unsigned pitch,
                                  const synth::UnitInventory& units);

// One line per segment of every stretch, for --segments.
std::string DescribeStretches(const std::string& phonetic);

}  // namespace orvanel::cli
