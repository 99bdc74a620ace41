// Where the engine reports the end of an utterance: it posts a message number with both
// parameters 0. The window turns it into an event on its own loop; the command line waits on it.
#pragma once

#include <cstdint>

namespace orvanel::engine {

inline constexpr std::uint32_t kSpeechDoneMessage = 1026;

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // Called on the worker thread; must not block.
  virtual void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace orvanel::engine
