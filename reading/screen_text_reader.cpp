// Screen text: file names, web and e-mail addresses, read as Turkish speakers say them. A dot in
// them is "nokta", not a sentence end; "@" is "et", "/" "eğik çizgi", "-" "tire", "_" "alt
// çizgi"; a short part or one without a vowel is spelled ("tr" -> "te re", "pdf" -> "pe de fe"),
// a longer one read as a word ("orvanel"). The scheme of a web address ("https://") is not said
// but at the punctuation level "all".
#include <string_view>
#include <vector>

#include "reading/line_reader.h"
#include "reading/reading_tables.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

namespace {

constexpr std::string_view kSeparators = ".:@_-/?=&#%~+";
constexpr std::size_t kLongestChain = 64;  // parts and separator runs

bool IsSeparator(char32_t cp) {
  return cp < 0x80 && kSeparators.find(static_cast<char>(cp)) != std::string_view::npos;
}

std::string_view SeparatorName(char c) {
  switch (c) {
    case '.':
      return "nokta";
    case '@':
      return "et";
    case '/':
      return "eğik çizgi";
    case '-':
      return "tire";
    case '_':
      return "alt çizgi";
    case ':':
      return "iki nokta";
    case '?':
      return "soru işareti";
    case '=':
      return "eşittir";
    case '&':
      return "ve";
    case '#':
      return "diyez";
    case '%':
      return "yüzde";
    case '~':
      return "yaklaşık";
    default:
      return "artı";
  }
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower;
}

const Expansion* Find(std::span<const Expansion> table, std::string_view lower) {
  for (const Expansion& e : table) {
    if (e.written == lower) return &e;
  }
  return nullptr;
}

// An item of a chain: a part (words and digits written together) or a run of separators, as a
// range of tokens.
struct Item {
  std::size_t begin;
  std::size_t end;
  std::string text;  // as written
};

// What a chain is: a web address, an e-mail address, a file name, or none.
enum class ScreenKind { kNone, kWeb, kMail, kFile };

// A top-level domain as addresses write it, in lower case.
bool IsDomainEnd(std::string_view part) {
  return part.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos &&
         IsTopLevelDomain(part);
}

ScreenKind Classify(const std::vector<Item>& items) {
  const std::size_t parts = (items.size() + 1) / 2;
  if (parts < 2) return ScreenKind::kNone;
  const std::string first = LowerAscii(items[0].text);
  const std::string last = LowerAscii(items.back().text);
  const std::string& first_separator = items[1].text;
  if ((first == "http" || first == "https" || first == "ftp") && first_separator == "://") {
    return ScreenKind::kWeb;
  }
  if (first == "www" && first_separator == ".") return ScreenKind::kWeb;
  int at = 0;
  bool dot_after_at = false;
  bool path = false;
  for (std::size_t k = 1; k < items.size(); k += 2) {
    at += items[k].text == "@";
    dot_after_at |= at == 1 && items[k].text == ".";
    path |= items[k].text.find_first_of("/:?=&#%~+") != std::string::npos;
  }
  if (at == 1 && dot_after_at && !path && IsDomainEnd(items.back().text)) {
    return ScreenKind::kMail;
  }
  if (at == 0 && !path && items[items.size() - 2].text == "." && Find(FileExtensions(), last)) {
    return ScreenKind::kFile;
  }
  // A domain: parts joined by dots up to a path, the last of them a top-level domain.
  if (at != 0) return ScreenKind::kNone;
  std::size_t domain_end = 0;
  bool dots_only = true;
  for (std::size_t k = 1; k < items.size() && dots_only; k += 2) {
    if (items[k].text == ".") {
      domain_end = k + 1;
    } else {
      dots_only = false;
    }
  }
  if (domain_end == 0 || !IsDomainEnd(items[domain_end].text)) {
    return ScreenKind::kNone;
  }
  return ScreenKind::kWeb;
}

}  // namespace

std::optional<std::size_t> LineReader::ReadScreenText(std::size_t i, std::string& out) {
  std::size_t k = i;
  while (IsSolid(k)) ++k;
  if (!IsKind(k, TokenKind::kChar) || !IsSeparator(tokens_[k].cp) || tokens_[k].cp == '/') {
    return std::nullopt;
  }
  if (i > 0 && IsKind(i - 1, TokenKind::kChar) && IsSeparator(tokens_[i - 1].cp)) {
    return std::nullopt;  // the middle of something already left as it is
  }
  std::size_t next = k;
  while (IsKind(next, TokenKind::kChar) && IsSeparator(tokens_[next].cp)) ++next;
  if (!IsSolid(next)) return std::nullopt;  // "bitti." "İzmir- "
  std::vector<Item> items;
  for (std::size_t at = i; items.size() < kLongestChain;) {
    std::size_t end = at;
    while (IsSolid(end)) ++end;
    items.push_back(
        {at, end,
         std::string(line_.substr(tokens_[at].begin, tokens_[end - 1].end - tokens_[at].begin))});
    std::size_t next = end;
    while (IsKind(next, TokenKind::kChar) && IsSeparator(tokens_[next].cp)) ++next;
    if (next == end || !IsSolid(next)) break;
    items.push_back(
        {end, next,
         std::string(line_.substr(tokens_[end].begin, tokens_[next].begin - tokens_[end].begin))});
    at = next;
  }
  if (items.size() % 2 == 0) items.pop_back();
  const ScreenKind kind = Classify(items);
  if (kind == ScreenKind::kNone) return std::nullopt;
  std::string reading;
  std::size_t first = 0;
  if (kind == ScreenKind::kWeb && items.size() > 2 && items[1].text == "://" &&
      Level() != Punctuation::kAll) {
    first = 2;  // "https://" is not said
  }
  for (std::size_t k = first; k < items.size(); ++k) {
    if (!reading.empty()) reading += ' ';
    if (k % 2 == 0) {
      reading += ReadScreenPart(items[k].text, kind == ScreenKind::kFile && k + 1 == items.size());
      continue;
    }
    for (std::size_t c = 0; c < items[k].text.size(); ++c) {
      if (c > 0) reading += ' ';
      reading += SeparatorName(items[k].text[c]);
    }
  }
  std::size_t end = items.back().end;
  if (const auto suffix = SuffixAt(end)) {
    reading = AttachSuffix(reading, *suffix);
    end += 2;
  }
  Count(ReadingRule::kScreenText);
  out += reading;
  return end;
}

// One part of an address or file name: digits as they are, the words of the table as it says,
// a short part or one without a vowel spelled, a word as it is written.
std::string LineReader::ReadScreenPart(std::string_view part, bool extension) const {
  const std::string lower = LowerAscii(part);
  if (const Expansion* e = Find(extension ? FileExtensions() : WebWords(), lower)) {
    return std::string(e->reading);
  }
  std::string reading;
  std::size_t k = 0;
  while (k < part.size()) {
    const bool digits = part[k] >= '0' && part[k] <= '9';
    std::size_t end = k;
    while (end < part.size() && (part[end] >= '0' && part[end] <= '9') == digits) ++end;
    if (!reading.empty()) reading += ' ';
    const std::string_view run = part.substr(k, end - k);
    const std::u32string letters = DecodeAll(run);
    bool vowel = false;
    for (const char32_t cp : letters) vowel |= IsTurkishVowel(cp);
    if (digits || (letters.size() > 2 && vowel)) {
      reading += run;
    } else {
      reading += Spell(letters);
    }
    k = end;
  }
  return reading;
}

}  // namespace orvanel::reading
