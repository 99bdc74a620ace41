// Numbers and what belongs to them: a sign or currency before, dates, groups of thousands,
// decimals, ranges, fractions, a unit or currency after, an ordinal dot, a suffix.
#include <array>

#include "reading/line_reader.h"
#include "reading/reading_tables.h"
#include "reading/turkish_words.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {

// "%6,5", "% 80", "‰5", "₺7,50", "€20", "$5", "−5", "±0,5"
std::optional<std::size_t> LineReader::ReadSignBeforeNumber(std::size_t i, std::string& out) {
  const char32_t cp = tokens_[i].cp;
  if (cp == '%' || cp == U'‰') {
    std::size_t k = i + 1;
    if (IsBlank(k)) ++k;
    if (!IsDigits(k)) return std::nullopt;
    Count(ReadingRule::kPercent);
    return ReadNumber(k, {{cp == '%' ? "yüzde" : "binde", false}}, out);
  }
  if (cp == U'−' || cp == U'±') {
    if (!IsDigits(i + 1)) return std::nullopt;
    Count(ReadingRule::kSign);
    return ReadNumber(i + 1, {{cp == U'−' ? "eksi" : "artı eksi", false}}, out);
  }
  if (cp == U'₺' || cp == U'€' || cp == '$' || cp == U'£') {
    if (!IsDigits(i + 1)) return std::nullopt;
    std::string_view currency = cp == U'₺'   ? "lira"
                                : cp == U'€' ? "avro"
                                : cp == '$'  ? "dolar"
                                             : "sterlin";
    currency_before_ = currency;
    auto end = ReadNumber(i + 1, {}, out);
    currency_before_ = {};
    return end;
  }
  return std::nullopt;
}

std::optional<std::size_t> LineReader::ReadNumber(std::size_t i, std::vector<Piece> pieces,
                                                  std::string& out) {
  if (const auto end = ReadDate(i, pieces, out)) return end;
  if (const auto end = ReadTime(i, pieces, out)) return end;
  if (pieces.empty() && currency_before_.empty()) {
    if (const auto end = ReadDottedChain(i, out)) return end;
  }
  Number n;
  n.i = i;
  n.prefixed = !pieces.empty() || !currency_before_.empty();
  n.changed = n.prefixed;
  n.pieces = std::move(pieces);
  ReadGroups(n);
  ReadDecimals(n);
  if (const auto end = ReadRangeOrFraction(n, out)) return end;
  return ReadQuantity(n, out);
}

// Dates: 23.04.1920, 29/10/1923.
std::optional<std::size_t> LineReader::ReadDate(std::size_t i, std::vector<Piece>& pieces,
                                                std::string& out) {
  const std::string_view first = Text(i);
  if (!(first.size() <= 2 && (IsChar(i + 1, '.') || IsChar(i + 1, '/')) && IsDigits(i + 2, 1, 2) &&
        IsChar(i + 3, tokens_[i + 1].cp) && IsDigits(i + 4, 4, 4) &&
        !(IsChar(i + 5, tokens_[i + 1].cp) && IsDigits(i + 6)) && ValueOf(first) >= 1 &&
        ValueOf(first) <= 31 && ValueOf(Text(i + 2)) >= 1 && ValueOf(Text(i + 2)) <= 12)) {
    return std::nullopt;
  }
  pieces.push_back({WithoutLeadingZeros(first), true});
  pieces.push_back({std::string(MonthName(ValueOf(Text(i + 2)))), false});
  pieces.push_back({std::string(Text(i + 4)), true});
  Count(ReadingRule::kDate);
  return Finish(i, i + 5, std::move(pieces), true, out);
}

// Thousands grouped with dots or blanks: 3.750.000, 12 500.
void LineReader::ReadGroups(Number& n) {
  const std::size_t i = n.i;
  const std::string_view first = Text(i);
  n.integer = std::string(first);
  n.j = i + 1;
  if (first.size() > 3 || first[0] == '0') return;
  std::size_t k = i + 1;
  std::string grouped(first);
  bool grouped_ok = false;
  while (IsChar(k, '.') && IsDigits(k + 1, 3, 3)) {
    grouped += Text(k + 1);
    k += 2;
  }
  if (k > i + 1) {
    grouped_ok = !(IsChar(k, '.') && IsDigits(k + 1));
  } else if (!(i >= 2 && IsKind(i - 1, TokenKind::kSpace) && IsDigits(i - 2))) {
    // Blank-grouped only when no further digit group follows (phone numbers).
    while (IsBlank(k) && IsDigits(k + 1, 3, 3)) {
      grouped += Text(k + 1);
      k += 2;
    }
    grouped_ok = k > i + 1 && !(IsKind(k, TokenKind::kSpace) && IsDigits(k + 1));
  }
  if (grouped_ok) {
    n.integer = grouped;
    n.j = k;
    Count(ReadingRule::kGroupedNumber);
    n.changed = true;
  }
}

// Decimals: 7,25; 3.14 (a dot that is neither a group, an ordinal nor a sentence end). After dot
// groups, more than three digits after a comma are the next number of a list written without
// its blank ("35.666.549,1975").
void LineReader::ReadDecimals(Number& n) {
  const std::size_t i = n.i;
  const std::size_t j = n.j;
  if (IsChar(j, ',') && IsDigits(j + 1) && !(j > i + 1 && Text(j + 1).size() > 3)) {
    n.fraction = std::string(Text(j + 1));
  } else if (j == i + 1 && IsChar(j, '.') && IsDigits(j + 1) &&
             !(IsChar(j + 2, '.') && IsDigits(j + 3)) && !AfterSeparatedDigits(i)) {
    n.fraction = std::string(Text(j + 1));
    n.decimal_word = "nokta";
  } else {
    return;
  }
  n.j += 2;
  Count(ReadingRule::kDecimal);
  n.changed = true;
}

// Ranges and scores: 2-3, 1999-2001. Fractions: 3/8 -> "sekizde 3".
std::optional<std::size_t> LineReader::ReadRangeOrFraction(Number& n, std::string& out) {
  const std::size_t i = n.i;
  const std::size_t j = n.j;
  if (j != i + 1 || n.prefixed) return std::nullopt;
  const bool dash_before = i > 0 && (IsChar(i - 1, '-') || IsChar(i - 1, U'–'));
  if ((IsChar(j, '-') || IsChar(j, U'–')) && IsDigits(j + 1) && !dash_before) {
    out += n.integer;
    out += ' ';
    Count(ReadingRule::kRange);
    return j + 1;
  }
  if (IsChar(j, '/') && IsDigits(j + 1, 1, 3) && n.integer.size() <= 3 &&
      !(IsChar(j + 2, '/') && IsDigits(j + 3)) && !AfterSeparatedDigits(i)) {
    n.pieces.push_back({AttachSuffix(NumberWords(Text(j + 1)), "de"), false});
    n.pieces.push_back({n.integer, true});
    Count(ReadingRule::kFraction);
    return Finish(i, j + 2, std::move(n.pieces), true, out);
  }
  return std::nullopt;
}

// A currency or unit after the number, with or without a blank: 45 TL, 20 €, 12 km, 5 m².
LineReader::Quantity LineReader::FindQuantity(Number& n) const {
  Quantity found;
  found.currency = currency_before_;
  const std::size_t k = IsBlank(n.j) ? n.j + 1 : n.j;
  if (k >= tokens_.size() || !found.currency.empty()) return found;
  const std::size_t offset = tokens_[k].begin;
  // Most numbers are followed by a word that no unit or currency begins with.
  static const std::array<bool, 256> kFirstBytes = [] {
    std::array<bool, 256> bytes{};
    for (const Expansion& e : Currencies()) bytes[static_cast<unsigned char>(e.written[0])] = true;
    for (const Measure& m : Units()) bytes[static_cast<unsigned char>(m.written[0])] = true;
    return bytes;
  }();
  if (!kFirstBytes[static_cast<unsigned char>(line_[offset])]) return found;
  auto longest = [&](auto table) {
    decltype(&table[0]) best = nullptr;
    for (const auto& e : table) {
      if ((best == nullptr || e.written.size() > best->written.size()) &&
          MatchesAt(offset, e.written)) {
        best = &e;
      }
    }
    return best;
  };
  const Expansion* money = longest(Currencies());
  const Measure* measure = money == nullptr ? longest(Units()) : nullptr;
  const std::size_t length = money != nullptr     ? money->written.size()
                             : measure != nullptr ? measure->written.size()
                                                  : 0;
  if (length == 0) return found;
  const auto after = TokenAt(offset + length, k);
  if (!after) return found;
  if (money != nullptr) {
    found.currency = money->reading;
  } else {
    found.unit = measure->reading;
    found.per = measure->per;
  }
  n.j = *after;
  return found;
}

// Money: "7,50 TL" -> "7 lira 50 kuruş"; decimals that are no hundredths stay decimals.
void LineReader::AddCurrency(Number& n, std::string_view currency, std::vector<Piece>& number) {
  Count(ReadingRule::kMoney);
  n.changed = true;
  const std::string_view hundredth = CurrencyFraction(currency);
  if (!n.fraction.empty() && n.fraction.size() <= 2 && !hundredth.empty()) {
    std::string cents = n.fraction.size() == 1 ? n.fraction + "0" : n.fraction;
    number.push_back({std::string(currency), false});
    if (cents != "00") {
      number.push_back({WithoutLeadingZeros(cents), true});
      number.push_back({std::string(hundredth), false});
    }
    n.fraction.clear();
    return;
  }
  if (!n.fraction.empty()) {
    number.insert(number.begin() + 1, {{n.decimal_word, false}, {n.fraction, true}});
    n.fraction.clear();
  }
  number.push_back({std::string(currency), false});
}

// The number with what follows it: ½ and ¼, a percent sign, a currency or unit, an ordinal dot.
std::optional<std::size_t> LineReader::ReadQuantity(Number& n, std::string& out) {
  const std::size_t i = n.i;
  const bool plain = n.j == i + 1;  // a bare integer, no date, time, grouping or decimals
  std::vector<Piece> number;
  number.push_back({n.integer, true});
  // 1½, 2¼
  if (plain && IsChar(n.j, U'½')) {
    number.push_back({"buçuk", false});
    ++n.j;
    Count(ReadingRule::kFraction);
    n.changed = true;
  } else if (plain && (IsChar(n.j, U'¼') || IsChar(n.j, U'¾'))) {
    number.push_back({"tam", false});
    number.push_back({IsChar(n.j, U'¼') ? "dörtte bir" : "dörtte üç", false});
    ++n.j;
    Count(ReadingRule::kFraction);
    n.changed = true;
  }
  // 35%, 5‰
  if (IsChar(n.j, '%') || IsChar(n.j, U'‰')) {
    n.pieces.push_back({IsChar(n.j, '%') ? "yüzde" : "binde", false});
    ++n.j;
    Count(ReadingRule::kPercent);
    n.changed = true;
  }
  const Quantity quantity = FindQuantity(n);
  if (!quantity.currency.empty()) {
    AddCurrency(n, quantity.currency, number);
  } else if (!quantity.unit.empty()) {
    Count(ReadingRule::kUnit);
    n.changed = true;
    if (!quantity.per.empty()) n.pieces.push_back({std::string(quantity.per), false});
  }
  if (!n.fraction.empty()) {
    number.insert(number.begin() + 1, {{n.decimal_word, false}, {n.fraction, true}});
  }
  if (!quantity.unit.empty()) number.push_back({std::string(quantity.unit), false});
  // 7. kat, 300. yıl, 3. Murat, 15.yüzyılda: an ordinal.
  const std::size_t j = n.j;
  if (plain && quantity.currency.empty() && quantity.unit.empty() && number.size() == 1 &&
      OrdinalDotAt(i, j)) {
    n.pieces.push_back({OrdinalWords(NumberWords(n.integer)), false});
    Count(ReadingRule::kOrdinal);
    const auto end = Finish(i, j + 1, std::move(n.pieces), true, out);
    if (IsKind(j + 1, TokenKind::kWord)) out += ' ';  // glued: "15.yüzyılda"
    return end;
  }
  for (Piece& piece : number) n.pieces.push_back(std::move(piece));
  return Finish(i, j, std::move(n.pieces), n.changed, out);
}

std::optional<std::size_t> LineReader::Finish(std::size_t begin, std::size_t j,
                                              std::vector<Piece> pieces, bool changed,
                                              std::string& out) {
  if (const auto suffix = SuffixAt(j)) {
    Piece& last = pieces.back();
    std::string words = last.digits ? NumberWords(last.text) : last.text;
    std::string_view rest;
    if (last.digits && SplitOrdinalSuffix(*suffix, rest)) {
      words = OrdinalWords(words);
      if (!rest.empty()) words = AttachSuffix(words, rest);
      Count(ReadingRule::kOrdinal);
    } else {
      words = AttachSuffix(words, *suffix);
      Count(ReadingRule::kSuffix);
    }
    last = {std::move(words), false};
    j += 2;
    changed = true;
  }
  if (!changed) {
    for (std::size_t k = begin; k < j; ++k) AppendToken(tokens_[k], out);
    return j;
  }
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    if (k > 0) out += ' ';
    out += pieces[k].text;
  }
  return j;
}

std::optional<std::string> LineReader::SuffixAt(std::size_t j) const {
  if (!(IsKind(j, TokenKind::kChar) && IsApostrophe(tokens_[j].cp) &&
        IsKind(j + 1, TokenKind::kWord))) {
    return std::nullopt;
  }
  const Token& suffix = tokens_[j + 1];
  if (!suffix.all_lower && !suffix.all_upper) return std::nullopt;
  return LowerTurkish(TextOf(suffix, line_, escaped_));
}

}  // namespace orvanel::reading
