// Symbol runs of the typed text to PhoneticText: nineteen characters are read by their names,
// every other character is copied, and a character repeated directly is read once.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvanel::frontend {

struct SymbolName {
  char symbol;
  std::string_view name;
};

// The characters with spoken names. "[" shares its name with "(", "]" with ")".
// clang-format off
inline constexpr std::array<SymbolName, 19> SymbolNameTable = {{
    {'"', "TIrNak"},
    {'$', "DoLar"},
    {'%', "Y\xFCz~De"},
    {'&', "Ve"},
    {'(', "PaRan~Tez A\xE7"},
    {')', "PaRan~Tez KaPat"},
    {'*', "\xC7" "arPI"},
    {'+', "ArTI"},
    {'-', "E~kSi"},
    {'/', "B\xF6~L\xFC"},
    {':', "\xDD~Ki NokTa \xDCs`T\xFCsTe"},
    {';', "NokTaL\xFD` Vir~G\xFC~l"},
    {'<', "~K\xFC\xC7\xFC~k`T\xFCr"},
    {'=', "E\xFEi~t`~Tir"},
    {'>', "~B\xFCY\xFC~k`T\xFCr"},
    {'@', "E~t"},
    {'[', "PaRan~Tez A\xE7"},
    {']', "PaRan~Tez KaPat"},
    {'_', "Alt \xC7iz~Gi"},
}};
// clang-format on

// The spoken name of ch, or an empty view when ch has none and is copied as it is.
std::string_view SymbolNameOf(char ch) noexcept;

// "-+-" -> "E~kSiArTIE~kSi", "..." -> ".", "^^^" -> "^^^", " + " -> " ArTI "
std::string ReadSymbols(std::string_view run);
// ReadSymbols(run) appended to out.
void AppendSymbols(std::string_view run, std::string& out);

}  // namespace orvanel::frontend
