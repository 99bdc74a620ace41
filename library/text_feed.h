// The text on its way to the planner: the PhoneticText of the pieces read so far that is not
// planned yet, with the input bytes (and lines and columns) that each run came from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/text_to_phonetic.h"
#include "library/text_pieces.h"
#include "prosody/word_stress.h"

namespace orvanel::library {

// A place in the input text: 1-based line and column (in characters).
struct TextPlace {
  std::size_t line = 0;
  std::size_t column = 0;
};

class TextFeed {
 public:
  // stressMemo: the prosody mode's stressed transcription with this memo of word analyses;
  // null gives the literal conversion. phraseMarks: the pieces went through the reading stage.
  TextFeed(bool phraseMarks, prosody::StressCache* stressMemo);

  // Appends the PhoneticText of one piece (its escapes are rewritten in place).
  void Append(Piece& piece);
  // Appends PhoneticText as it stands: it is its own input, one run from its first byte.
  void AppendPhonetic(std::string_view phonetic);

  // The pending PhoneticText; its first byte is at absolute offset Base().
  std::string_view Pending() const noexcept { return phonetic_; }
  std::uint64_t Base() const noexcept { return base_; }
  bool PhraseMarks() const noexcept { return phraseMarks_; }

  // The input bytes [begin, end) that the PhoneticText [from, to) (absolute offsets) came from.
  void Range(std::uint64_t from, std::uint64_t to, std::size_t& begin, std::size_t& end) const;
  // Where in the input the run that wrote the PhoneticText at an absolute offset begins.
  TextPlace Locate(std::uint64_t at) const;
  // Forgets the PhoneticText before the absolute offset upTo.
  void Drop(std::uint64_t upTo);

 private:
  // Where the runs of the pending PhoneticText came from in the input.
  struct RunOrigin {
    std::uint64_t phoneticEnd;  // absolute offset just after the run's PhoneticText
    std::uint64_t inputBegin;
    std::uint64_t inputEnd;
    TextPlace place;  // of inputBegin
  };
  std::vector<RunOrigin>::const_iterator OriginOf(std::uint64_t at) const;

  bool phraseMarks_;
  std::unique_ptr<prosody::StressTranscriber> stress_;
  std::string phonetic_;
  std::uint64_t base_ = 0;
  std::vector<RunOrigin> origins_;  // runs that end after base_, in order
  std::string scratch_;
  std::vector<std::uint32_t> source_;
};

// The PhoneticText of a whole text, as synthesis reads it: a UTF-8 text through the reading
// stage first with the given options (none: the literal reading), stress marks when stressMemo is
// given. False with error set when a UTF-8 text is not valid. For one-off transcriptions
// (Preprocess, --phonetic).
bool TranscribeText(std::string_view text, TextEncoding encoding,
                    std::optional<reading::ReadingOptions> reading,
                    prosody::StressCache* stressMemo, std::string& phonetic, std::string& error);

// "input is not valid UTF-8 (byte offset N)"
std::string InvalidInputText(std::uint64_t offset);

}  // namespace orvanel::library
