// Fuzzes the Turkish reading stage with arbitrary bytes, and with the same bytes made valid
// UTF-8, at a punctuation level chosen by the input's length. Besides the sanitizers it checks
// that the output stays within the length bound, that the shortcuts past the line reader read
// as it does, that reading is line-local at every line feed, and that the output of valid UTF-8
// converts to Windows-1254 with every character held by the code page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codepage/codepage.h"
#include "reading/turkish_reading.h"
#include "reading/utf8_text.h"

namespace {

using orvanel::reading::ReadingOptions;
using orvanel::reading::ReadTurkish;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Keeps every valid sequence and replaces each invalid byte with a character drawn from it, so
// that the fuzzer's mutations reach the whole of Unicode.
std::string MakeUtf8(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      continue;
    }
    // Two bytes give a code point in the first planes; skip surrogates.
    char32_t cp = 0x80 + ((b & 0x7F) << 8);
    if (i + 1 < bytes.size()) cp += static_cast<unsigned char>(bytes[++i]);
    if (cp >= 0xD800 && cp <= 0xDFFF) cp -= 0x800;
    if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// Valid UTF-8 whose every character the code page holds.
bool AllInCodePage(const std::string& utf8) {
  std::string cp;
  orvanel::codepage::DecodeError error;
  if (!orvanel::codepage::Utf8ToCp1254(utf8, cp, error)) return false;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t ch;
    i += orvanel::reading::DecodeUtf8(utf8, i, ch);
    if (!orvanel::codepage::CodePointToCp1254(ch)) return false;
  }
  return true;
}

void CheckReading(const std::string& input, bool valid, const ReadingOptions& options) {
  const std::string out = ReadTurkish(input, options);
  Check(out.size() <= orvanel::reading::kMaxReadingGrowth * input.size());
  // The shortcuts past the line reader read as it does.
  Check(out == orvanel::reading::detail::ReadEveryLine(input, options));
  for (std::size_t cut = input.find('\n'); cut != std::string::npos;
       cut = input.find('\n', cut + 1)) {
    Check(out == ReadTurkish(input.substr(0, cut + 1), options) +
                     ReadTurkish(input.substr(cut + 1), options));
  }
  if (valid) Check(AllInCodePage(out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The punctuation level from the length, so that every input is read at one of them.
  const ReadingOptions options{static_cast<orvanel::reading::Punctuation>(size % 3)};
  std::string ignored;
  orvanel::codepage::DecodeError error;
  CheckReading(bytes, orvanel::codepage::Utf8ToCp1254(bytes, ignored, error), options);
  CheckReading(MakeUtf8(bytes), true, options);
  return 0;
}
