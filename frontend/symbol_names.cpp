#include "frontend/symbol_names.h"

#include "frontend/letter_tables.h"

namespace orvanel::frontend {
namespace {

constexpr std::array<std::string_view, 256> BuildNameIndex() {
  std::array<std::string_view, 256> index{};
  for (const auto& entry : SymbolNameTable)
    index[static_cast<unsigned char>(entry.symbol)] = entry.name;
  return index;
}

constexpr auto kNameIndex = BuildNameIndex();

// The PhoneticText marks, which count every time they are typed.
constexpr bool IsRepeatableMark(char ch) {
  return ch == kStressMark || ch == kEarlyGlideMark || ch == kLateGlideMark;
}

}  // namespace

std::string_view SymbolNameOf(char ch) noexcept {
  return kNameIndex[static_cast<unsigned char>(ch)];
}

void AppendSymbols(std::string_view run, std::string& out) {
  int previous = -1;  // equals no character of a run
  for (const char ch : run) {
    const int current = static_cast<unsigned char>(ch);
    if (current == previous) {
      if (IsRepeatableMark(ch)) out.push_back(ch);
      continue;
    }
    previous = current;
    if (const std::string_view name = SymbolNameOf(ch); !name.empty()) {
      out.append(name);
    } else {
      out.push_back(ch);
    }
  }
}

std::string ReadSymbols(std::string_view run) {
  std::string result;
  AppendSymbols(run, result);
  return result;
}

}  // namespace orvanel::frontend
