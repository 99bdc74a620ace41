// The controlled renderer: a planned stretch rendered with the voice controls and an optional
// pitch contour, from the voice data, keeping the units it made for reuse.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "synth/sample_buffer.h"
#include "synth/segment.h"
#include "synth/unit_inventory.h"
#include "synth/voice_controls.h"
#include "synth/voice_data.h"

namespace orvanel::synth {

// Renders one planned stretch segment by segment, so that the caller can test its stop flag
// after every segment. It keeps the last 256 vowels and consonants it made for reuse (about a
// megabyte at most), so one renderer should serve a voice for all its stretches. With neutral
// controls and an empty contour, RenderSegment(i, ...) is exactly synth::RenderSegment(list[i],
// BuildEnvelope(list, i), speed, units, buffer).
class ControlledRenderer {
 public:
  ControlledRenderer(const UnitInventory& units, const VoiceData& data);
  // contour: empty, or one VowelPitch per segment of list (entries of non-vowels are ignored; a
  // contour of another length is ignored as a whole). The list and the contour must stay alive
  // until the stretch is rendered.
  void BeginStretch(const SegmentList& list, const VoiceControls& controls,
                    std::span<const VowelPitch> contour);
  void RenderSegment(std::size_t i, std::uint16_t speed, SampleBuffer& buffer);

 private:
  const UnitInventory& units_;
  const VoiceData& data_;
  const SegmentList* list_ = nullptr;
  VoiceControls controls_{};
  std::span<const VowelPitch> contour_;
  std::vector<std::int16_t> scratch_;

  // The last units made, by everything that decides their samples; replaced round robin.
  class UnitCache {
   public:
    using Key = std::array<std::uint64_t, 4>;
    static constexpr std::size_t kEntries = 256;
    const std::vector<std::int16_t>* Find(const Key& key) const;
    const std::vector<std::int16_t>& Store(const Key& key,
                                           const std::vector<std::int16_t>& samples);

   private:
    struct Entry {
      Key key{};
      bool used = false;
      std::vector<std::int16_t> samples;
    };
    std::array<Entry, kEntries> entries_{};
    std::size_t next_ = 0;
  };
  UnitCache cache_;
  // Samples of the stretch so far at the nominal rate (rate 100) and as rendered: consonants cannot
  // shrink as far as a fast rate asks (bursts and frication keep their minimum), so the vowels
  // after them give back the difference, down to half their own length.
  double nominalSamples_ = 0.0;
  double renderedSamples_ = 0.0;

  bool Literal() const noexcept { return controls_.IsNeutral() && contour_.empty(); }
  bool Fast() const noexcept { return controls_.ratePercent > 100; }
  // The consonant of segment i (part 0 onset, 1 coda) as re-timed for the controls, from the
  // cache or made now; nullptr when its unit cannot be had.
  const std::vector<std::int16_t>* MakeConsonant(std::size_t i, int part);
  // The vowel's own pitch at its start or end (controls, contour, stress) in steps of 1/8
  // semitone (1/4 with a contour), before clamping.
  float VowelSemitones(std::size_t i, bool atEnd) const;
  // The pitch of the nearest vowel a consonant joins: the next one for an onset, the previous
  // one for a coda, not across a pause.
  float ConsonantSemitones(std::size_t i, bool onset) const;
  void RenderVowel(std::size_t i, std::uint16_t speed, SampleBuffer& buffer);
  void RenderConsonant(std::size_t i, int part, SampleBuffer& buffer);
};

}  // namespace orvanel::synth
