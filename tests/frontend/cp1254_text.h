// Test helper: readable UTF-8 literals for the Windows-1254 bytes the front end works on.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::frontend::testing {

// Converts UTF-8 text to Windows-1254 for ASCII, the twelve Turkish letters and the other
// Latin-1 letters that share their byte ("â", "î", "û"). Returns false for anything else.
bool TryCp(std::string_view utf8, std::string& out);

// Cp(u8"Türk") == "T\xFCrk". Fails the running test on a character outside TryCp's range.
std::string Cp(std::u8string_view utf8);
std::string Cp(std::string_view utf8);

// Windows-1254 back to UTF-8 with control bytes shown as pictures, for failure messages.
std::string Show(std::string_view cp1254);

}  // namespace orvanel::frontend::testing
