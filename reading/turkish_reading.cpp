// The reading stage line by line: each line is cut into tokens (line_tokens.h), and the line
// reader's rules over short token patterns rewrite what the front end would misread; everything
// no rule takes is copied unchanged. Lines no rule can apply to take a shortcut (line_filter.h).
// Then the phrase marks of the line are settled, with the mark of its end (phrase_boundaries.h).
#include "reading/turkish_reading.h"

#include <algorithm>
#include <array>

#include "reading/line_filter.h"
#include "reading/line_reader.h"
#include "reading/phrase_boundaries.h"
#include "reading/signs.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

// Characters only: what is left when the rules would grow a line beyond the bound.
std::string ReadCharactersOnly(std::string_view line, ReadingTrace& trace) {
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8(line, i, cp);
    if (cp == kInvalidUtf8) {
      out += line[i];
    } else {
      AppendCharacter(cp, out, trace);
    }
    i += len;
  }
  return out;
}

std::size_t CharacterCount(std::string_view line) {
  return static_cast<std::size_t>(std::count_if(line.begin(), line.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void ReadLine(std::string_view line, const ReadingOptions& options, Tokens& cut,
              ReadingTrace& trace, std::string& out) {
  ReadingTrace line_trace;
  const std::size_t before = out.size();
  LineReader(line, cut, line_trace, options).Read(out);
  if (out.size() - before > kMaxReadingGrowth * line.size()) {
    out.resize(before);
    line_trace = {};
    out += ReadCharactersOnly(line, line_trace);
  }
  for (std::size_t k = 0; k < kReadingRuleCount; ++k) trace.uses[k] += line_trace.uses[k];
}

std::string ReadLines(std::string_view utf8, ReadingTrace& trace, const ReadingOptions& options,
                      bool shortcut) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 4);
  Tokens cut;
  std::size_t start = 0;
  const bool every_line = !shortcut || options.punctuation == Punctuation::kAll;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    const bool has_feed = end != std::string_view::npos;
    if (!has_feed) end = utf8.size();
    const std::string_view line = utf8.substr(start, end - start);
    const std::size_t before = out.size();
    if (!every_line && !MayNeedReading(line, options.punctuation)) {
      out += line;
    } else {
      ReadLine(line, options, cut, trace, out);
    }
    if (has_feed) {
      const std::size_t marked = out.size();
      MarkLineEnd(out, before, CharacterCount(line));
      trace.uses[static_cast<std::size_t>(ReadingRule::kLineEnd)] += out.size() > marked;
    }
    if (std::find_if(out.begin() + static_cast<std::ptrdiff_t>(before), out.end(), IsMarkByte) !=
        out.end()) {
      SettleMarks(out, before, has_feed);
    }
    if (has_feed) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

std::string_view ReadingRuleName(ReadingRule rule) {
  static constexpr std::array<std::string_view, kReadingRuleCount> kNames = {
      "grouped number", "decimal",     "percent",     "date",         "time",        "ordinal",
      "roman numeral",  "money",       "unit",        "abbreviation", "acronym",     "circumflex",
      "suffix",         "range",       "fraction",    "sign",         "punctuation", "joint",
      "line end",       "screen text", "foreign word"};
  return kNames[static_cast<std::size_t>(rule)];
}

std::string ReadTurkish(std::string_view utf8, ReadingTrace& trace, const ReadingOptions& options) {
  return ReadLines(utf8, trace, options, true);
}

std::string ReadTurkish(std::string_view utf8, const ReadingOptions& options) {
  ReadingTrace trace;
  return ReadTurkish(utf8, trace, options);
}

namespace detail {
std::string ReadEveryLine(std::string_view utf8, const ReadingOptions& options) {
  ReadingTrace trace;
  return ReadLines(utf8, trace, options, false);
}
}  // namespace detail

}  // namespace orvanel::reading
