// The reading stage line by line: each line is cut into tokens (line_tokens.h), and the line
// reader's rules over short token patterns rewrite what the front end would misread; everything
// no rule takes is copied unchanged. Lines no rule can apply to take a shortcut, and so do lines
// whose only rules are the marks of a few punctuation marks (line_filter.h): the same reading,
// checked by the tests against the line reader's. Then the phrase marks of the line are settled,
// with the mark of its end (phrase_boundaries.h).
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

// Reads one line through the rules. Returns where in out its first phrase mark is, or
// std::string::npos.
std::size_t ReadLine(std::string_view line, const ReadingOptions& options, Tokens& cut,
                     ReadingTrace& trace, std::string& out) {
  ReadingTrace line_trace;
  const std::size_t before = out.size();
  std::size_t first_mark = std::string::npos;
  if (line.size() <= kLongestTokenizedLine) {
    first_mark = LineReader(line, cut, line_trace, options).Read(out);
  }
  if (line.size() > kLongestTokenizedLine ||
      out.size() - before > kMaxReadingGrowth * line.size()) {
    out.resize(before);
    line_trace = {};
    out += ReadCharactersOnly(line, line_trace);
    first_mark = std::string::npos;
  }
  for (std::size_t k = 0; k < kReadingRuleCount; ++k) trace.uses[k] += line_trace.uses[k];
  return first_mark;
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
    std::size_t first_mark = std::string::npos;
    if (every_line ||
        ReadPlainLine(line, options.punctuation, out, trace, first_mark) == LineNeed::kRules) {
      first_mark = ReadLine(line, options, cut, trace, out);
    }
    if (has_feed) {
      const std::size_t line_mark = MarkLineEnd(out, before, line);
      if (line_mark != std::string::npos) {
        ++trace.uses[static_cast<std::size_t>(ReadingRule::kLineEnd)];
        first_mark = std::min(first_mark, line_mark);
      }
    }
    if (first_mark != std::string::npos) SettleMarks(out, before, first_mark, has_feed);
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
