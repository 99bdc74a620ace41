// Digit runs of the typed text to the PhoneticText of the Turkish number words. Groups of three
// digits from the right, each followed by its power of a thousand; a leading zero or 67 digits
// and more are read digit by digit.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orvanel::frontend {

// clang-format off
// By digit value.
inline constexpr std::array<std::string_view, 10> OnesNames = {
    "S\xFD" "F\xFD" "r", "~Bir", "\xDD~ki", "\xDC\xE7", "D\xF6r~t",
    "~Be\xFE", "AlT\xFD", "Ye~Di", "Se~Kiz", "DoKuz"};
// By tens digit; entry 0 is never read.
inline constexpr std::array<std::string_view, 10> TensNames = {
    "", "On", "~YirMi", "OTuz", "K\xFDrk",
    "E~l~Li", "AltM\xFD\xFE", "Ye~tMi\xFE", "Se~kSen", "DokSan"};
// By group index k, for 1000 to the power k.
inline constexpr std::array<std::string_view, 22> ScaleNames = {
    "", "~Bin", "~Mi~lYon", "~Mi~l~Yar",
    "~Tri~lYon", "KuadRi~lYon", "Kuin~Ti~lYon", "Sex~Ti~lYon",
    "Se~p~Ti~lYon", "Ok~Ti~lYon", "NoNi~lYon", "~DeSi~lYon",
    "UnDeSi~lYon", "D\xFCo~DeSi~lYon", "Tre~DeSi~lYon", "KuaTur~DeSi~lYon",
    "Kuin~DeSi~lYon", "Se~ks~DeSi~lYon", "Se~p~Ten~DeSi~lYon", "OkTo~DeSi~lYon",
    "NoVem~DeSi~lYon", "ViJin~Ti~lYon"};
// clang-format on

inline constexpr std::string_view kHundredWord = "Y\xFCz";
inline constexpr std::string_view kScaleSeparator = "`";
// Longer digit strings, and those that begin with "0", are read digit by digit.
inline constexpr std::size_t kMaxGroupedDigits = 3 * ScaleNames.size();

// Up to three digits taken from the right: digits[0] is the ones digit, digits[1] the tens,
// digits[2] the hundreds; count says how many are present (shorter only at the left end).
struct DigitGroup {
  std::array<int, 3> digits{};
  int count = 0;
};

// "12" -> "Onİ~ki", "1000" -> "`~Bin", "1001000" -> "~Bir`~Mi~lYon`~Bin", "0512" -> digit by digit.
// Expects the characters "0" to "9"; any other character reads as a zero digit.
std::string ReadNumber(std::string_view digits);
// ReadNumber(digits) appended to out.
void AppendNumber(std::string_view digits, std::string& out);

// "0512" -> "SıFır~Beş~Birİ~ki"
std::string ReadDigitByDigit(std::string_view digits);
void AppendDigitByDigit(std::string_view digits, std::string& out);

// Takes the group that ends at position (its ones digit) and moves position to the digit before
// the group. False once position is below 0; position past the end of digits counts from its
// last digit.
bool NextDigitGroup(std::string_view digits, std::ptrdiff_t& position, DigitGroup& group,
                    int& value);

// "205" -> "İ~kiYüz~Beş"; "000" -> "".
std::string ReadGroup(const DigitGroup& group);
void AppendGroup(const DigitGroup& group, std::string& out);

// "`" followed by ScaleNames[k]; empty for k = 0 and for k outside the table.
std::string ScaleWord(int k);

}  // namespace orvanel::frontend
