// Fuzzes the module protocol reader. Besides the sanitizers it checks that the events do not
// depend on how the bytes are split (the whole input against chunks whose sizes the input
// chooses), that a block's start always comes before its completion, and that no message passes
// the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "speechd/protocol_reader.h"

namespace {

using namespace orvanel::speechd;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  ProtocolReader whole;
  std::vector<ProtocolEvent> all;
  whole.Feed(input, all);

  ProtocolReader split;
  std::vector<ProtocolEvent> pieces;
  const std::size_t chunk = 1 + data[0] % 17;
  for (std::size_t i = 0; i < input.size(); i += chunk) split.Feed(input.substr(i, chunk), pieces);
  Check(pieces.size() == all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    Check(pieces[i].type == all[i].type);
    Check(pieces[i].command == all[i].command);
  }
  Check(split.InBlock() == whole.InBlock());

  bool open = false;
  for (const ProtocolEvent& e : all) {
    Check(e.command.data.size() <= kMaxMessageBytes);
    if (e.type == ProtocolEvent::Type::kBlockStarted) {
      Check(!open);
      open = true;
    } else if (open) {
      open = false;  // the block's completion
    }
  }
  Check(open == whole.InBlock());
  return 0;
}
