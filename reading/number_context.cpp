// Numbers whose reading depends on what stands around them: times written with a dot, ordinals
// before a capital or glued to their word, versions and addresses of dotted numbers, phone
// numbers.
#include <array>

#include "reading/line_reader.h"
#include "reading/reading_tables.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

namespace {

// A suffix that a time takes: the locative and ablative ("'te", "'dan", "'deki") and the dative
// ("'e", "'ya"): "14.45'te başlayacak", "19.30'a kadar".
bool IsTimeSuffix(std::string_view suffix) {
  if (suffix == "a" || suffix == "e" || suffix == "ya" || suffix == "ye") return true;
  return suffix.size() >= 2 && (suffix[0] == 'd' || suffix[0] == 't') &&
         (suffix[1] == 'a' || suffix[1] == 'e');
}

constexpr std::array<std::string_view, 5> kAfterTime = {"itibarıyla", "itibariyle", "itibaren",
                                                        "sularında", "sıralarında"};

// The separators of a phone number's groups: one blank, a hyphen or a dot.
bool IsPhoneSeparator(const Token& token, std::string_view line) {
  if (token.kind == TokenKind::kSpace)
    return token.end - token.begin == 1 && line[token.begin] == ' ';
  return token.kind == TokenKind::kChar && (token.cp == '-' || token.cp == '.');
}

}  // namespace

// Times: 19:05, 00:15, 07:15:30, "saat 07.30", "akşam 19.15", "14.45'te".
std::optional<std::size_t> LineReader::ReadTime(std::size_t i, std::vector<Piece>& pieces,
                                                std::string& out) {
  const std::string_view first = Text(i);
  const bool colon = IsChar(i + 1, ':');
  if (first.size() > 2 || !(colon || IsChar(i + 1, '.')) || !IsDigits(i + 2, 2, 2) ||
      ValueOf(first) > 24 || ValueOf(Text(i + 2)) > 59) {
    return std::nullopt;
  }
  const bool seconds = colon && IsChar(i + 3, ':') && IsDigits(i + 4, 2, 2) &&
                       ValueOf(Text(i + 4)) <= 59 && !(IsChar(i + 5, ':') && IsDigits(i + 6));
  if (!seconds && IsChar(i + 3, tokens_[i + 1].cp) && IsDigits(i + 4)) return std::nullopt;
  if (!colon && !DotTimeContext(i)) return std::nullopt;
  pieces.push_back({WithoutLeadingZeros(first), true});
  if (Text(i + 2) != "00" || (seconds && Text(i + 4) != "00")) {
    pieces.push_back({std::string(Text(i + 2)), true});
  }
  if (seconds && Text(i + 4) != "00") pieces.push_back({std::string(Text(i + 4)), true});
  Count(ReadingRule::kTime);
  if (IsChar(i + 3, '-') && IsDigits(i + 4)) {
    // "14.00-19.00", "09:30-12:00": from one time to the other.
    for (const Piece& piece : pieces) out += piece.text + ' ';
    Count(ReadingRule::kRange);
    return i + 4;
  }
  return Finish(i, seconds ? i + 5 : i + 3, std::move(pieces), true, out);
}

// A time written with a dot (hours and two digits of minutes at i) needs its context: "saat"
// before it ("saat 07.30", "Saat: 14.00"), another dot time across a hyphen ("14.00-19.00"), a
// word of the time of day before it ("akşam 19.15"), or, with hours up to 23, a suffix that
// times take or a word that follows times ("14.45'te", "19.00 itibarıyla"). Otherwise the dot
// is a decimal point: "5.30 kere".
bool LineReader::DotTimeContext(std::size_t i) const {
  auto is_saat = [&](std::size_t k) {
    return k < tokens_.size() && LowerTurkish(Text(k)) == "saat";
  };
  if (is_saat(WordBefore(i)) ||
      (i >= 3 && IsBlank(i - 1) && IsChar(i - 2, ':') && is_saat(i - 3))) {
    return true;
  }
  auto dot_time_at = [&](std::size_t k) {
    return IsDigits(k, 1, 2) && IsChar(k + 1, '.') && IsDigits(k + 2, 2, 2);
  };
  if ((IsChar(i + 3, '-') && dot_time_at(i + 4)) ||
      (i >= 4 && IsChar(i - 1, '-') && dot_time_at(i - 4))) {
    return true;
  }
  if (ValueOf(Text(i)) > 23) return false;
  if (WordIn(WordBefore(i), TimeOfDayWords())) return true;
  if (const auto suffix = SuffixAt(i + 3)) return IsTimeSuffix(*suffix);
  return WordIn(WordAfter(i + 2), kAfterTime);
}

// The plain number at i, with its dot at j, is an ordinal: before a lower-case word ("7. kat"),
// glued to its word ("15.yüzyılda"), or before a capital where the context says so.
bool LineReader::OrdinalDotAt(std::size_t i, std::size_t j) const {
  if (!IsChar(j, '.')) return false;
  std::size_t word = tokens_.size();
  if (IsBlank(j + 1) && IsKind(j + 2, TokenKind::kWord)) {
    if (tokens_[j + 2].first_lower) return true;
    word = j + 2;
  } else if (IsKind(j + 1, TokenKind::kWord) && !AfterSeparatedDigits(i)) {
    // Glued, but not a file name ("2.jpg").
    for (const Expansion& e : FileExtensions()) {
      if (MatchesAt(tokens_[j + 1].begin, e.written, true)) return false;
    }
    if (tokens_[j + 1].first_lower) return true;
    word = j + 1;
  } else {
    return false;
  }
  // Before a capital: a number at a sentence end is as likely ("Saat 5. Sonra gel."). An
  // ordinal when the capital word is one that ordinals name ("5. Cadde", "3. Murat"), or when it
  // begins a title of capital words ("2. Dünya Savaşı"); a number at a sentence end after a
  // counting word ("saat", "sayfa") or before a word that opens sentences ("Bu", "Sonra").
  const std::string_view digits = Text(i);
  if (digits.size() > 3 || digits[0] == '0') return false;
  if (WordIn(WordBefore(i), CountingWords())) return false;
  if (WordIn(word, OrdinalHeads())) return true;
  if (WordIn(word, SentenceStarters())) return false;
  return IsCapitalized(WordAfter(word));
}

// Versions and numeric addresses: "4.2.1" -> "4 nokta 2 nokta 1", "192.168.1.1". Three or more
// numbers joined by dots that are no date ("23.04.1920", "01.02.03") and no thousands grouped
// with dots ("1.000.000").
std::optional<std::size_t> LineReader::ReadDottedChain(std::size_t i, std::string& out) {
  std::size_t k = i;
  std::size_t parts = 1;
  bool grouped = Text(i).size() <= 3 && Text(i)[0] != '0';
  bool short_parts = Text(i).size() == 2;
  while (IsChar(k + 1, '.') && IsDigits(k + 2)) {
    grouped &= Text(k + 2).size() == 3;
    short_parts &= Text(k + 2).size() == 2;
    k += 2;
    ++parts;
  }
  if (parts < 3 || grouped || AfterSeparatedDigits(i)) return std::nullopt;
  const bool dated = parts == 3 && Text(i).size() <= 2 && Text(i + 2).size() <= 2 &&
                     (Text(i + 4).size() == 4 || short_parts);
  if (dated) return std::nullopt;
  std::vector<Piece> pieces;
  for (std::size_t part = i; part <= k; part += 2) {
    if (part > i) pieces.push_back({"nokta", false});
    pieces.push_back({std::string(Text(part)), true});
  }
  Count(ReadingRule::kScreenText);
  return Finish(i, k + 1, std::move(pieces), true, out);
}

// Phone numbers in their groups: "(0216) 555 12 34" and "0532-111-22-33" -> "0 532 111 22 33",
// with no "parantez" or "eksi". The area code is "(ddd)" or "(0ddd)", or "0ddd" without
// parentheses; then three digits and two groups of two (or one of four, read as two).
std::optional<std::size_t> LineReader::ReadPhone(std::size_t i, std::string& out) {
  std::size_t k = i;
  std::string_view area;
  if (IsChar(i, '(')) {
    if (!IsDigits(i + 1, 3, 4) || !IsChar(i + 2, ')') ||
        (Text(i + 1).size() == 4 && Text(i + 1)[0] != '0')) {
      return std::nullopt;
    }
    area = Text(i + 1);
    k = i + 3;
    if (IsBlank(k)) ++k;
  } else {
    if (!IsDigits(i, 4, 4) || Text(i)[0] != '0' || k + 1 >= tokens_.size() ||
        !IsPhoneSeparator(tokens_[k + 1], line_)) {
      return std::nullopt;
    }
    area = Text(i);
    k = i + 2;
  }
  auto separated = [&](std::size_t at) {
    return at < tokens_.size() && IsPhoneSeparator(tokens_[at], line_);
  };
  if (!IsDigits(k, 3, 3) || !separated(k + 1)) return std::nullopt;
  std::vector<std::string_view> groups = {Text(k)};
  std::size_t end = 0;
  if (IsDigits(k + 2, 2, 2) && separated(k + 3) && IsDigits(k + 4, 2, 2)) {
    groups.push_back(Text(k + 2));
    groups.push_back(Text(k + 4));
    end = k + 5;
  } else if (IsDigits(k + 2, 4, 4)) {
    groups.push_back(Text(k + 2).substr(0, 2));
    groups.push_back(Text(k + 2).substr(2));
    end = k + 3;
  } else {
    return std::nullopt;
  }
  // Another group after it: not a phone number of this shape.
  if (separated(end) && IsDigits(end + 1)) return std::nullopt;
  std::vector<Piece> pieces;
  if (area[0] == '0') {
    pieces.push_back({"0", true});
    area.remove_prefix(1);
  }
  pieces.push_back({std::string(area), true});
  for (const std::string_view group : groups) pieces.push_back({std::string(group), true});
  Count(ReadingRule::kScreenText);
  return Finish(i, end, std::move(pieces), true, out);
}

}  // namespace orvanel::reading
