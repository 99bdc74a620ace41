#include "frontend/text_scanner.h"

#include "frontend/letter_tables.h"

namespace orvanel::frontend {
namespace {

constexpr char kBackslash = '\\';
constexpr char kCarriageReturn = '\r';

constexpr std::array<char, 256> BuildEscapeIndex() {
  std::array<char, 256> index{};
  for (int b = 0; b < 256; ++b) index[static_cast<std::size_t>(b)] = static_cast<char>(b);
  for (const auto& escape : kLetterEscapes) {
    index[static_cast<unsigned char>(escape.typed)] = escape.written;
  }
  return index;
}

constexpr std::array<CharClass, 256> BuildClassIndex() {
  std::array<CharClass, 256> index{};
  for (auto& c : index) c = CharClass::kOther;
  for (char d = '0'; d <= '9'; ++d) index[static_cast<unsigned char>(d)] = CharClass::kDigit;
  index[static_cast<unsigned char>('{')] = CharClass::kOpenBrace;
  index[static_cast<unsigned char>('}')] = CharClass::kCloseBrace;
  index[static_cast<unsigned char>(kCarriageReturn)] = CharClass::kCarriageReturn;
  // Letters are tested first, so a letter byte is a Letter whatever else it might be.
  for (int i = 0; i < kConsonantCount; ++i) {
    index[static_cast<unsigned char>(kConsonantTable[i])] = CharClass::kLetter;
  }
  for (int i = 0; i < kVowelCount; ++i) {
    index[static_cast<unsigned char>(kVowelTable[i])] = CharClass::kLetter;
  }
  return index;
}

constexpr auto kEscapeIndex = BuildEscapeIndex();
constexpr auto kClassIndex = BuildClassIndex();

bool AtEnd(std::string_view text, std::size_t position) noexcept {
  return position >= text.size() || text[position] == '\0';
}

}  // namespace

void ApplyEscapes(std::string& text, std::vector<std::uint32_t>* source) {
  if (source != nullptr) source->clear();
  std::size_t write = 0;
  std::size_t read = 0;
  while (!AtEnd(text, read)) {
    const std::size_t typed = read;
    const char ch = text[read++];
    if (ch != kBackslash) {
      if (source != nullptr) source->push_back(static_cast<std::uint32_t>(typed));
      text[write++] = ch;
      continue;
    }
    if (AtEnd(text, read)) break;  // a backslash at the end disappears
    // The character after a backslash is consumed and never starts another escape.
    if (source != nullptr) source->push_back(static_cast<std::uint32_t>(typed));
    text[write++] = kEscapeIndex[static_cast<unsigned char>(text[read++])];
  }
  if (source != nullptr) source->push_back(static_cast<std::uint32_t>(read));
  text.resize(write);
}

CharClass ClassifyChar(char ch) noexcept { return kClassIndex[static_cast<unsigned char>(ch)]; }

bool NextRun(std::string_view text, std::size_t& position, std::string& run, RunKind& kind) {
  if (AtEnd(text, position)) return false;
  run.clear();
  const CharClass first = ClassifyChar(text[position]);
  if (first == CharClass::kOpenBrace) {
    ++position;
    const std::size_t start = position;
    while (!AtEnd(text, position) && text[position] != '}' && text[position] != kCarriageReturn) {
      ++position;
    }
    run.assign(text.substr(start, position - start));
    if (!AtEnd(text, position)) ++position;  // the closing "}" or carriage return
    kind = RunKind::kLiteral;
    return true;
  }
  const std::size_t start = position;
  do {
    ++position;
  } while (!AtEnd(text, position) && ClassifyChar(text[position]) == first);
  run.assign(text.substr(start, position - start));
  switch (first) {
    case CharClass::kLetter:
      kind = run.size() == 1 ? RunKind::kSingleLetter : RunKind::kWord;
      break;
    case CharClass::kDigit:
      kind = RunKind::kNumber;
      break;
    case CharClass::kCloseBrace:
    case CharClass::kCarriageReturn:
      kind = RunKind::kLiteral;
      break;
    case CharClass::kOther:
    case CharClass::kOpenBrace:
      kind = RunKind::kSymbols;
      break;
  }
  return true;
}

void AppendSpelledLetter(std::string_view run, std::string& out) {
  if (run.size() == 1) {
    if (VowelLookup(run[0]) >= 0) {
      out.append(run);  // written twice: one long vowel
      out.append(run);
      return;
    }
    if (const int c = ConsonantLookup(run[0]); c >= 0) {
      out.append(LetterNameTable[static_cast<std::size_t>(c / 2)]);
      return;
    }
  }
  out.append(run);
}

std::string SpellLetter(std::string_view run) {
  std::string result;
  AppendSpelledLetter(run, result);
  return result;
}

}  // namespace orvanel::frontend
