// The front end's entry: typed Windows-1254 text to PhoneticText. Pure and stateless, so the
// worker (Speak) and the window (Preprocess) may call it at the same time.
#pragma once

#include <string>

namespace orvanel::frontend {

// Rewrites the backslash escapes of text in place (text never grows), then appends the
// PhoneticText of every run to out. out is never cleared. A zero byte ends the text.
// "Türk 12." -> "Tür~k Onİ~ki." (in Windows-1254 bytes)
void TextToPhonetic(std::string& text, std::string& out);

}  // namespace orvanel::frontend
