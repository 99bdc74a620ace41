#include "frontend/number_reading.h"

#include <algorithm>

namespace orvanel::frontend {
namespace {

int DigitValue(char ch) noexcept { return ch >= '0' && ch <= '9' ? ch - '0' : 0; }

std::string_view ScaleName(int k) noexcept {
  if (k < 0 || static_cast<std::size_t>(k) >= ScaleNames.size()) return {};
  return ScaleNames[static_cast<std::size_t>(k)];
}

void AppendScaleWord(int k, std::string& out) {
  if (const std::string_view name = ScaleName(k); !name.empty()) {
    out.append(kScaleSeparator);
    out.append(name);
  }
}

}  // namespace

void AppendDigitByDigit(std::string_view digits, std::string& out) {
  for (const char ch : digits) out.append(OnesNames[static_cast<std::size_t>(DigitValue(ch))]);
}

std::string ReadDigitByDigit(std::string_view digits) {
  std::string result;
  AppendDigitByDigit(digits, result);
  return result;
}

bool NextDigitGroup(std::string_view digits, std::ptrdiff_t& position, DigitGroup& group,
                    int& value) {
  if (position < 0) return false;
  position = std::min(position, static_cast<std::ptrdiff_t>(digits.size()) - 1);
  if (position < 0) return false;
  group = DigitGroup{};
  while (group.count < 3 && position >= 0) {
    group.digits[static_cast<std::size_t>(group.count++)] =
        DigitValue(digits[static_cast<std::size_t>(position--)]);
  }
  value = group.digits[0] + 10 * group.digits[1] + 100 * group.digits[2];
  return true;
}

void AppendGroup(const DigitGroup& group, std::string& out) {
  const int ones = group.count > 0 ? group.digits[0] : 0;
  const int tens = group.count > 1 ? group.digits[1] : 0;
  const int hundreds = group.count > 2 ? group.digits[2] : 0;
  if (hundreds > 0) {
    if (hundreds >= 2) out.append(OnesNames[static_cast<std::size_t>(hundreds)]);
    out.append(kHundredWord);
  }
  if (tens > 0) out.append(TensNames[static_cast<std::size_t>(tens)]);
  if (ones > 0) out.append(OnesNames[static_cast<std::size_t>(ones)]);
}

std::string ReadGroup(const DigitGroup& group) {
  std::string result;
  AppendGroup(group, result);
  return result;
}

std::string ScaleWord(int k) {
  std::string result;
  AppendScaleWord(k, result);
  return result;
}

void AppendNumber(std::string_view digits, std::string& out) {
  if (digits.empty()) return;
  if (digits.front() == '0' || digits.size() > kMaxGroupedDigits) {
    AppendDigitByDigit(digits, out);
    return;
  }
  // The groups come from the right but are read from the left: collect them, then write them
  // in reverse, so nothing is ever put in front of what was already written.
  std::array<DigitGroup, ScaleNames.size()> groups{};
  std::array<int, ScaleNames.size()> values{};
  std::size_t count = 0;
  std::ptrdiff_t position = static_cast<std::ptrdiff_t>(digits.size()) - 1;
  while (count < groups.size() && NextDigitGroup(digits, position, groups[count], values[count])) {
    ++count;
  }
  for (std::size_t i = count; i-- > 0;) {
    const int k = static_cast<int>(i);
    if (values[i] == 0) continue;  // a zero group adds neither words nor a scale word
    // One thousand is read "`~Bin", never "~Bir`~Bin"; higher scales keep their "~Bir".
    if (!(k == 1 && values[i] == 1)) AppendGroup(groups[i], out);
    AppendScaleWord(k, out);
  }
}

std::string ReadNumber(std::string_view digits) {
  std::string result;
  AppendNumber(digits, result);
  return result;
}

}  // namespace orvanel::frontend
