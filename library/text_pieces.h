// The input text cut into pieces that the front end can transcribe one after the other with
// the same result as the whole text: whole lines, converted to Windows-1254 (and read by the
// Turkish reading stage when it is on), each with the input offsets of its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/voice_settings.h"
#include "reading/turkish_reading.h"

namespace orvanel::library {

struct Piece {
  std::string cp1254;                // the piece as the front end takes it
  std::uint64_t begin = 0, end = 0;  // its input bytes [begin, end)
  // exact: origin[k] is the input offset of cp1254[k], origin[cp1254.size()] == end. Otherwise
  // (the reading stage rewrote the piece) the piece only maps as a whole.
  bool exact = false;
  std::vector<std::uint64_t> origin;
  bool valid = true;  // false: the input is not UTF-8 at errorOffset
  std::uint64_t errorOffset = 0;
  bool last = false;  // nothing follows
  // Where the piece begins in the input: 1-based line and column (the column in characters).
  std::size_t line = 1;
  std::size_t column = 1;
};

// A line longer than this is cut at a blank before a letter or digit outside a brace passage,
// where the front end's runs break anyway.
inline constexpr std::size_t kLongestPiece = 1 << 20;

class TextPieces {
 public:
  // reading: the options of the Turkish reading stage for UTF-8 text, or none for the literal
  // reading.
  TextPieces(TextEncoding encoding, std::optional<reading::ReadingOptions> reading)
      : encoding_(encoding), reading_(reading) {}
  // Adds the next bytes of the text; atEnd once the text is complete.
  void Add(std::string_view bytes, bool atEnd);
  // The next complete piece; false when more input is needed (or everything was handed out).
  bool Next(Piece& piece);

 private:
  // Length of the next piece from head_, or 0 when it is not complete yet.
  std::size_t Cut() const;
  void Convert(std::string_view bytes, Piece& piece) const;

  TextEncoding encoding_;
  std::optional<reading::ReadingOptions> reading_;
  std::string pending_;
  std::size_t head_ = 0;    // pending_ before head_ was handed out already
  std::uint64_t base_ = 0;  // input offset of pending_[head_]
  std::size_t line_ = 1;    // line and column of base_
  std::size_t column_ = 1;
  bool atEnd_ = false;
  bool done_ = false;
};

// Safe places to cut typed text (Windows-1254 or UTF-8: the bytes that matter are ASCII): a
// blank or other symbol followed by an ASCII letter or digit, outside a brace passage and not
// after a backslash. Returns the last such position in [1, limit), or 0.
std::size_t LastRunBreak(std::string_view text, std::size_t limit);

}  // namespace orvanel::library
