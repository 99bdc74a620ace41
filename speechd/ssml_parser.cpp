// SSML to pieces: a single forward scan, tags recognised only when they are well formed.
#include "speechd/ssml_parser.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "codepage/codepage.h"

namespace orvanel::speechd {
namespace {

constexpr std::size_t kMaxTagBytes = 4096;

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
         c == '.';
}
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The entity at text[0] == '&': appends its character and returns its length, or 0 when it is
// not an entity (the '&' is then text).
std::size_t DecodeEntity(std::string_view text, std::string& out) {
  const std::size_t end = text.find(';', 1);
  if (end == std::string_view::npos || end > 12) return 0;
  const std::string_view name = text.substr(1, end - 1);
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [n, c] : kNamed) {
    if (name == n) {
      out += c;
      return end + 1;
    }
  }
  if (name.size() < 2 || name[0] != '#') return 0;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  char32_t cp = 0;
  for (char c : digits) {
    int v;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      v = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      v = c - 'A' + 10;
    } else {
      return 0;
    }
    cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(v);
    if (cp > 0x10FFFF) return 0;
  }
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
    out += ' ';
  } else {
    codepage::AppendUtf8(out, cp);
  }
  return end + 1;
}

std::string DecodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '&') {
      const std::size_t n = DecodeEntity(text.substr(i), out);
      if (n > 0) {
        i += n;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

struct Tag {
  std::string name;  // lower case, without the '/'
  bool closing = false;
  bool selfClosing = false;
  std::vector<std::pair<std::string, std::string>> attributes;  // names lower case

  std::optional<std::string> Attribute(std::string_view key) const {
    for (const auto& [k, v] : attributes)
      if (k == key) return v;
    return std::nullopt;
  }
};

// Reads the tag inside "<...>" (without the brackets); nothing when it is not well formed.
std::optional<Tag> ReadTag(std::string_view inside) {
  Tag tag;
  std::size_t i = 0;
  if (i < inside.size() && inside[i] == '/') {
    tag.closing = true;
    ++i;
  }
  if (i >= inside.size() || !IsNameStart(inside[i])) return std::nullopt;
  const std::size_t nameBegin = i;
  while (i < inside.size() && IsNameChar(inside[i])) ++i;
  tag.name = LowerAscii(inside.substr(nameBegin, i - nameBegin));
  while (true) {
    const std::size_t before = i;
    while (i < inside.size() && IsSpace(inside[i])) ++i;
    if (i >= inside.size()) break;
    if (inside[i] == '/' && i + 1 == inside.size() && !tag.closing) {
      tag.selfClosing = true;
      break;
    }
    if (i == before || tag.closing || !IsNameStart(inside[i])) return std::nullopt;
    const std::size_t keyBegin = i;
    while (i < inside.size() && IsNameChar(inside[i])) ++i;
    std::string key = LowerAscii(inside.substr(keyBegin, i - keyBegin));
    while (i < inside.size() && IsSpace(inside[i])) ++i;
    if (i >= inside.size() || inside[i] != '=') return std::nullopt;
    ++i;
    while (i < inside.size() && IsSpace(inside[i])) ++i;
    if (i >= inside.size() || (inside[i] != '"' && inside[i] != '\'')) return std::nullopt;
    const char quote = inside[i++];
    const std::size_t close = inside.find(quote, i);
    if (close == std::string_view::npos) return std::nullopt;
    tag.attributes.emplace_back(std::move(key), DecodeEntities(inside.substr(i, close - i)));
    i = close + 1;
  }
  return tag;
}

std::uint32_t BreakStrengthMs(std::string_view strength) {
  static constexpr std::pair<std::string_view, std::uint32_t> kStrengths[] = {
      {"none", 0},     {"x-weak", 100}, {"weak", 200},
      {"medium", 400}, {"strong", 700}, {"x-strong", 1000}};
  for (const auto& [name, ms] : kStrengths)
    if (strength == name) return ms;
  return 400;
}

class PieceList {
 public:
  void Text(std::string_view text, bool spelled) {
    if (text.empty()) return;
    const PieceKind kind = spelled ? PieceKind::kCharacters : PieceKind::kText;
    if (pieces_.empty() || pieces_.back().kind != kind) pieces_.push_back({kind, {}, 0});
    pieces_.back().text += text;
  }
  void Add(SsmlPiece piece) { pieces_.push_back(std::move(piece)); }
  std::vector<SsmlPiece> Take() {
    for (auto& p : pieces_)
      if (p.kind == PieceKind::kText || p.kind == PieceKind::kCharacters)
        p.text = SanitizeUtf8(p.text);
    return std::move(pieces_);
  }

 private:
  std::vector<SsmlPiece> pieces_;
};

}  // namespace

std::int64_t ParseBreakTime(std::string_view value) {
  while (!value.empty() && IsSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsSpace(value.back())) value.remove_suffix(1);
  double number = 0;
  std::size_t i = 0;
  bool digits = false;
  while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
    number = number * 10 + (value[i++] - '0');
    digits = true;
    if (number > 1e9) number = 1e9;
  }
  if (i < value.size() && value[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
      number += (value[i++] - '0') * scale;
      scale /= 10;
      digits = true;
    }
  }
  if (!digits) return -1;
  const std::string unit = LowerAscii(value.substr(i));
  double ms;
  if (unit == "ms" || unit.empty()) {
    ms = number;
  } else if (unit == "s") {
    ms = number * 1000;
  } else {
    return -1;
  }
  return static_cast<std::int64_t>(std::min<double>(ms + 0.5, kMaxBreakMs));
}

std::string SanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const std::size_t length = text[i] == '\0' ? 0 : codepage::DecodeUtf8(text, i, cp);
    if (length == 0) {
      out += ' ';
      ++i;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

void PrintTo(const SsmlPiece& piece, std::ostream* os) {
  static constexpr const char* kNames[] = {"text", "mark", "break", "spell"};
  *os << kNames[static_cast<int>(piece.kind)] << '(';
  if (piece.kind == PieceKind::kBreak) {
    *os << piece.ms;
  } else {
    *os << piece.text;
  }
  *os << ')';
}

std::vector<SsmlPiece> ParseSsml(std::string_view ssml) {
  PieceList pieces;
  int spelling = 0;  // depth of open <say-as interpret-as="characters">
  std::vector<bool> sayAsStack;
  std::size_t textBegin = 0;
  auto flushText = [&](std::size_t end) {
    if (end > textBegin)
      pieces.Text(DecodeEntities(ssml.substr(textBegin, end - textBegin)), spelling > 0);
  };
  std::size_t i = 0;
  while (i < ssml.size()) {
    if (ssml[i] != '<') {
      ++i;
      continue;
    }
    // Comments, declarations and processing instructions are dropped whole.
    // A tag or comment longer than kMaxTagBytes is not markup; the window keeps the scan linear.
    std::string_view rest = ssml.substr(i, kMaxTagBytes);
    std::size_t skip = 0;
    if (rest.starts_with("<!--")) {
      const std::size_t end = rest.find("-->", 4);
      if (end != std::string_view::npos) skip = end + 3;
    } else if (rest.starts_with("<?") || rest.starts_with("<!")) {
      const std::size_t end = rest.find('>');
      if (end != std::string_view::npos) skip = end + 1;
    }
    if (skip > 0) {
      flushText(i);
      i += skip;
      textBegin = i;
      continue;
    }
    const std::size_t close = rest.find('>');
    const std::size_t nextOpen = rest.find('<', 1);
    std::optional<Tag> tag;
    if (close != std::string_view::npos && (nextOpen == std::string_view::npos || close < nextOpen))
      tag = ReadTag(rest.substr(1, close - 1));
    if (!tag) {  // not markup: the '<' is text
      ++i;
      continue;
    }
    flushText(i);
    i += close + 1;
    textBegin = i;
    if (tag->name == "mark" && !tag->closing) {
      if (auto name = tag->Attribute("name")) pieces.Add({PieceKind::kMark, *name, 0});
    } else if (tag->name == "break" && !tag->closing) {
      std::int64_t ms = -1;
      if (auto time = tag->Attribute("time")) ms = ParseBreakTime(*time);
      if (ms < 0) ms = BreakStrengthMs(tag->Attribute("strength").value_or("medium"));
      if (ms > 0) pieces.Add({PieceKind::kBreak, {}, static_cast<std::uint32_t>(ms)});
    } else if (tag->name == "say-as") {
      if (tag->closing) {
        if (!sayAsStack.empty()) {
          if (sayAsStack.back()) --spelling;
          sayAsStack.pop_back();
        }
      } else if (!tag->selfClosing) {
        const std::string how = LowerAscii(tag->Attribute("interpret-as").value_or(""));
        const bool spell = how == "characters" || how == "spell-out" || how == "tts:char";
        sayAsStack.push_back(spell);
        if (spell) ++spelling;
      }
    }
    // Every other tag (speak, p, s, voice, prosody, emphasis, unknown ones) is dropped.
  }
  flushText(ssml.size());
  return pieces.Take();
}

}  // namespace orvanel::speechd
