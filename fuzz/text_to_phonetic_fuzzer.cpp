// Fuzzes the whole text front end with arbitrary bytes. Besides the sanitizers it checks that
// the text never grows, that a second run gives the same PhoneticText, that the output agrees
// with the step-by-step reference transcription, and that without a brace passage no digit,
// named symbol or zero byte reaches the output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frontend/symbol_names.h"
#include "frontend/text_scanner.h"
#include "frontend/text_to_phonetic.h"
#include "tests/frontend/reference_transcriber.h"

namespace {

using namespace orvanel::frontend;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool MayReachOutputOnlyInsideBraces(char ch) {
  return (ch >= '0' && ch <= '9') || ch == '{' || !SymbolNameOf(ch).empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  std::string text = input;
  std::string out;
  TextToPhonetic(text, out);
  Check(text.size() <= input.size());
  Check(out.find('\0') == std::string::npos);
  Check(out.size() <= 20 * input.size());

  std::string again_text = input;
  std::string again = "prefix";
  TextToPhonetic(again_text, again);
  Check(again_text == text);
  Check(again.compare(0, 6, "prefix") == 0 && again.compare(6, std::string::npos, out) == 0);

  Check(out == orvanel::frontend::testing::ReferenceTextToPhonetic(input));

  // Escapes rewritten, the text holds a "{" only where a passage could open.
  if (text.find('{') == std::string::npos) {
    for (const char ch : out) Check(!MayReachOutputOnlyInsideBraces(ch));
  }
  return 0;
}
