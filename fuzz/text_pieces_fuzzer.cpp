// Fuzzes the cutting of input text into pieces: whatever the bytes and wherever the reads break,
// the pieces' transcription is the whole text's, literal or read by the Turkish reading stage at
// a punctuation level, and a bad byte is reported where it is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "library/text_pieces.h"
#include "reading/turkish_reading.h"

namespace {

using orvanel::library::Piece;
using orvanel::library::TextEncoding;
using orvanel::library::TextPieces;

std::string Pieced(std::string_view text, TextEncoding encoding, std::size_t step, bool& valid,
                   std::uint64_t& offset,
                   std::optional<orvanel::reading::ReadingOptions> reading = std::nullopt) {
  TextPieces pieces(encoding, reading);
  std::string phonetic;
  std::size_t at = 0;
  valid = true;
  for (bool end = false; !end;) {
    const std::size_t n = std::min(step, text.size() - at);
    end = n == 0;
    pieces.Add(text.substr(at, n), end);
    at += n;
    for (Piece p; pieces.Next(p);) {
      if (!p.valid) {
        valid = false;
        offset = p.errorOffset;
        return phonetic;
      }
      orvanel::frontend::TextToPhonetic(p.cp1254, phonetic);
    }
  }
  return phonetic;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t step = 1 + data[0] % 17;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  bool valid = true;
  std::uint64_t offset = 0;

  std::string cp = std::string(text);
  std::string whole;
  orvanel::frontend::TextToPhonetic(cp, whole);
  if (Pieced(text, TextEncoding::kCp1254, step, valid, offset) != whole || !valid) std::abort();

  std::string converted;
  orvanel::codepage::DecodeError bad;
  const bool utf8 = orvanel::codepage::Utf8ToCp1254(text, converted, bad);
  const std::string pieced = Pieced(text, TextEncoding::kUtf8, step, valid, offset);
  if (valid != utf8) std::abort();
  if (!utf8) {
    if (offset != bad.offset) std::abort();
    return 0;
  }
  whole.clear();
  orvanel::frontend::TextToPhonetic(converted, whole);
  if (pieced != whole) std::abort();

  // Read: the pieces are lines, and the reading is line-local.
  const orvanel::reading::ReadingOptions options{
      static_cast<orvanel::reading::Punctuation>(data[0] / 17 % 3)};
  std::string read;
  if (!orvanel::codepage::Utf8ToCp1254(orvanel::reading::ReadTurkish(text, options), read, bad)) {
    std::abort();
  }
  whole.clear();
  orvanel::frontend::TextToPhonetic(read, whole);
  if (Pieced(text, TextEncoding::kUtf8, step, valid, offset, options) != whole || !valid) {
    std::abort();
  }
  return 0;
}
