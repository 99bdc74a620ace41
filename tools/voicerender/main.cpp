// orvanel-voicerender RATE SEMITONES OUT.raw [TEXT]: speaks TEXT (UTF-8; standard input when
// absent) at speed 50 through the controlled rendering with the given rate (percent) and pitch
// shift (semitones), and writes 16-bit little-endian mono PCM at 22050 Hz to OUT.raw. The
// number of samples goes to standard output, followed by the samples of pauses, vowels and
// consonants. Rate 100 and 0 semitones is the literal rendering.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "frontend/text_to_phonetic.h"
#include "synth/controlled_renderer.h"
#include "synth/sample_buffer.h"
#include "synth/segment_planner.h"

int main(int argc, char** argv) {
  using namespace orvanel;
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: orvanel-voicerender RATE SEMITONES OUT.raw [TEXT]\n");
    return 2;
  }
  synth::VoiceControls controls;
  controls.ratePercent = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
  controls.semitones = std::strtof(argv[2], nullptr);
  std::string utf8;
  if (argc == 5) {
    utf8 = argv[4];
  } else {
    utf8.assign(std::istreambuf_iterator<char>(std::cin), {});
  }
  const embedded::EmbeddedUnitStore store;
  synth::UnitInventory units;
  synth::VoiceData data;
  std::string error;
  if (!synth::LoadUnits(store, units, error) || !synth::LoadVoiceData(store, data, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::string text;
  codepage::DecodeError decode;
  if (!codepage::Utf8ToCp1254(utf8, text, decode)) {
    std::fprintf(stderr, "the text is not UTF-8\n");
    return 1;
  }
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);

  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  synth::ControlledRenderer renderer(units, data);
  synth::SampleBuffer buffer;
  synth::SegmentList list;
  std::int32_t position = 0;
  std::uint64_t total = 0;
  std::uint64_t byKind[3] = {0, 0, 0};  // pauses, vowels, consonants
  while (synth::PlanStretch(phonetic, position, list) == 1) {
    if (buffer.Begin(synth::kStretchCapacityBytes, 50) == 1) {
      renderer.BeginStretch(list, controls, {});
      for (std::size_t i = 0; i < list.Size(); ++i) {
        const std::uint32_t before = buffer.SampleCount();
        renderer.RenderSegment(i, 50, buffer);
        const synth::Segment& s = list[i];
        byKind[s.Kind() == synth::SegmentKind::kVowel ? 1
               : s.IsSilence()                        ? 0
                                                      : 2] += buffer.SampleCount() - before;
      }
      out.write(reinterpret_cast<const char*>(buffer.Samples()),
                static_cast<std::streamsize>(2 * buffer.SampleCount()));
      total += buffer.SampleCount();
    }
    buffer.Release();
  }
  std::printf("%llu %llu %llu %llu\n", static_cast<unsigned long long>(total),
              static_cast<unsigned long long>(byKind[0]),
              static_cast<unsigned long long>(byKind[1]),
              static_cast<unsigned long long>(byKind[2]));
  return out ? 0 : 1;
}
