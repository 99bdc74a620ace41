// Planning and rendering the stretches of the pending PhoneticText and handing them out: the
// literal rendering or the voice controls, prosody's pitch contour, the volume, blocks as they
// are rendered, and a stretch too long for its buffer cut where a reader may pause.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "library/synthesizer.h"
#include "library/text_feed.h"
#include "synth/controlled_renderer.h"
#include "synth/segment_planner.h"

namespace orvanel::library {

// Outside the literal reading a stretch that grows past these many samples ends at the next
// phrase boundary (a comma, a colon, an aside), and past the second at the next word, so that
// it never reaches the buffer's capacity (1,048,576 samples, about 47.5 s at the base rate).
inline constexpr std::uint32_t kPhraseCutSamples = 600'000;  // about 27 s
inline constexpr std::uint32_t kWordCutSamples = 820'000;    // about 37 s

class StretchRenderer {
 public:
  StretchRenderer(const synth::UnitInventory& units, const synth::VoiceData* voice);

  struct Mode {
    bool phraseMarks = false;  // the planner reads the reading stage's phrase marks
    bool prosody = false;      // stress-driven pitch contours (needs the voice data)
    bool cutToFit = false;     // never drop speech: cut a long stretch at a boundary
  };
  // Starts a text: stretch numbers from 1.
  void BeginText(const Mode& mode);

  // Plans and renders the stretches of feed.Pending() from consumed (an offset into it), each
  // handed out as it is rendered; without atEnd only those whose sentence end has arrived.
  // consumed ends after the last stretch handed out.
  Outcome Render(const TextFeed& feed, bool atEnd, const VoiceSettings& voice,
                 const Delivery& delivery, const CancelCheck& cancel, std::size_t& consumed);

 private:
  // Renders the planned stretch (segments_, notes_) that starts at start in the text, in parts
  // when it does not fit.
  Outcome RenderPlanned(const TextFeed& feed, std::int32_t start, std::int32_t end,
                        const VoiceSettings& voice, const Delivery& delivery,
                        const CancelCheck& cancel);
  // Hands out the samples from *emitted up to the buffer's count as one block.
  bool Emit(std::size_t& emitted, bool stretchEnd, unsigned volume, const BlockSink& sink);
  // Forgets the first n segments of the stretch (they were handed out).
  void DropSegments(std::size_t n);
  // Leaves out the pauses after the stretch's last sound.
  void TrimTrailingSilence();

  const synth::UnitInventory& units_;
  std::unique_ptr<synth::ControlledRenderer> controlled_;
  Mode mode_;
  synth::SegmentList segments_;
  synth::StretchNotes notes_;
  std::vector<synth::VowelPitch> contour_;
  synth::SampleBuffer buffer_;
  std::size_t stretchNumber_ = 0;
  bool soundOver_ = false;  // trimming: the text's last sound has been handed out
};

}  // namespace orvanel::library
