// orvanel-prosody-render: UTF-8 text through the prosody path (stressed transcription, plan,
// segment adjustment, contour, controlled renderer) to raw 16-bit PCM at 22050 Hz, and the
// pitch targets of every vowel for the docs' pitch-track figures.
// Usage: orvanel-prosody-render TEXT OUT.raw [TARGETS.csv]
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "embedded/embedded_units.h"
#include "prosody/prosody.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"

int main(int argc, char** argv) {
  using namespace orvanel;
  if (argc < 3) {
    std::fprintf(stderr, "usage: orvanel-prosody-render TEXT OUT.raw [TARGETS.csv]\n");
    return 2;
  }
  std::string text, phonetic, error;
  codepage::DecodeError decode;
  if (!codepage::Utf8ToCp1254(argv[1], text, decode)) {
    std::fprintf(stderr, "the text is not valid UTF-8\n");
    return 1;
  }
  prosody::TranscribeForProsody(text, phonetic);
  const embedded::EmbeddedUnitStore store;
  synth::UnitInventory units;
  synth::VoiceData voice;
  if (synth::LoadUnits(store, units, error) != 1 ||
      synth::LoadVoiceData(store, voice, error) != 1) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  synth::ControlledRenderer renderer(units, voice);
  std::vector<std::int16_t> pcm;
  std::string csv = "start_ms,end_ms,start_st,end_st\n";
  synth::SegmentList list;
  synth::StretchNotes notes;
  std::int32_t position = 0;
  while (true) {
    if (synth::PlanStretch(phonetic, position, list, {true}, &notes) != 1) break;
    std::vector<synth::VowelPitch> contour;
    prosody::ContourForStretch(list, notes, contour);
    prosody::PrepareSegmentsForProsody(list);
    synth::SampleBuffer buffer;
    buffer.Begin(synth::kStretchCapacityBytes, 50);
    renderer.BeginStretch(list, {}, contour);
    for (std::size_t i = 0; i < list.Size(); ++i) {
      const std::uint32_t before = buffer.SampleCount();
      renderer.RenderSegment(i, 50, buffer);
      if (list[i].Kind() != synth::SegmentKind::kVowel) continue;
      const double base = static_cast<double>(pcm.size());
      char row[128];
      std::snprintf(row, sizeof row, "%.1f,%.1f,%.2f,%.2f\n", (base + before) / 22.05,
                    (base + buffer.SampleCount()) / 22.05, contour[i].startSemitones,
                    contour[i].endSemitones);
      csv += row;
    }
    pcm.insert(pcm.end(), buffer.Samples(), buffer.Samples() + buffer.SampleCount());
    buffer.Release();
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(pcm.data()),
            static_cast<std::streamsize>(pcm.size() * sizeof(std::int16_t)));
  if (argc > 3) std::ofstream(argv[3], std::ios::trunc) << csv;
  std::printf("%s\n", codepage::Cp1254ToUtf8(phonetic).c_str());
  return out ? 0 : 1;
}
