// The text as the client wrote it, where the speech server's rewrite of it can be recognised.
//
// With its default configuration (SymbolsPreproc "char", as Debian ships it) speech-dispatcher
// names symbols itself before an output module sees the text, by its Turkish dictionaries. Some
// of what it does breaks the numbers that the Turkish reading stage reads: a dot between digits
// gets a blank before it ("1.250,50 TL" arrives as "1 .250,50 TL", "29.10.2023" as
// "29 .10 .2023"), and, at the higher punctuation levels, a slash, a hyphen, a colon or a comma
// between digits and a currency sign are replaced by their names ("29 bölü 10", "14 ikinokta 30",
// "3 virgül,14", " Türk Lirası 99"). These rewrites leave a mark of their own (a blank the client
// did not write, a name between digits) and are undone here; what the server removed (the dots
// of an address, a slash at the lowest level) cannot be recovered and is left as it came.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::speechd {

// " .5" -> ".5", "1 .250 virgül,50" -> "1.250,50", "29 bölü 10" -> "29/10",
// " Türk Lirası 99,90" -> "₺99,90". Pure; UTF-8 in and out; never longer than the input.
std::string RestoreServerText(std::string_view text);

}  // namespace orvanel::speechd
