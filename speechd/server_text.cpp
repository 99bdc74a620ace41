// The server's rewrites that leave a mark of their own, undone in three passes.
#include "speechd/server_text.h"

namespace orvanel::speechd {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A digit at `at`, or one blank and then a digit in the direction of step.
bool DigitBeside(std::string_view t, std::size_t at, int step) {
  for (int blanks = 0; blanks < 2 && at < t.size(); ++blanks) {
    if (IsDigit(t[at])) return true;
    if (t[at] != ' ' || (step < 0 && at == 0)) return false;
    at += step;
  }
  return false;
}

struct Named {
  std::string_view name;  // as the server writes it, with its blanks
  std::string_view sign;
};

// Every name that ok accepts at [begin, end) replaced by its sign.
template <typename Ok>
std::string Replace(std::string_view t, const Named& named, Ok ok) {
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    if (t.compare(i, named.name.size(), named.name) == 0 && ok(t, i, i + named.name.size())) {
      out += named.sign;
      i += named.name.size();
    } else {
      out += t[i++];
    }
  }
  return out;
}

// A sign between digits that the server names at its higher punctuation levels: "29/10" arrives
// as "29 bölü 10", "29 / 10" as "29  bölü  10", "3,14" as "3 virgül,14".
constexpr Named kSignsBetweenDigits[] = {
    {" bölü ", "/"}, {" tire ", "-"}, {" ikinokta ", ":"}, {" virgül,", ","}};

// A currency sign: the server writes its name with a blank on either side, so that it follows a
// blank of the client's or starts the text, next to a number ("₺99,90" arrives as
// " Türk Lirası 99,90", "99,90 ₺" as "99,90  Türk Lirası "). A name that the client wrote
// follows a letter or a digit directly, or stands away from numbers, and stays.
constexpr Named kCurrencies[] = {{" Türk Lirası ", "₺"}, {" TL ", "₺"},    {" avro ", "€"},
                                 {" euro ", "€"},        {" dolar ", "$"}, {" paund ", "£"}};

}  // namespace

std::string RestoreServerText(std::string_view text) {
  // The server's rule for a decimal point puts a blank before a dot that a digit follows when a
  // digit, a blank, a hyphen or the start of the text comes before it: "1.250" arrives as
  // "1 .250", "1 .5" as "1  .5". A single blank there is always the server's.
  std::string t;
  t.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool serversBlank =
        text[i] == ' ' && i + 2 < text.size() && text[i + 1] == '.' && IsDigit(text[i + 2]) &&
        (i == 0 || IsDigit(text[i - 1]) || text[i - 1] == ' ' || text[i - 1] == '-');
    if (!serversBlank) t += text[i];
  }
  for (const Named& sign : kSignsBetweenDigits) {
    t = Replace(t, sign, [](std::string_view s, std::size_t begin, std::size_t end) {
      return begin > 0 && DigitBeside(s, begin - 1, -1) && DigitBeside(s, end, 1);
    });
  }
  for (const Named& currency : kCurrencies) {
    t = Replace(t, currency, [](std::string_view s, std::size_t begin, std::size_t end) {
      const bool serversBlanks = begin == 0 || s[begin - 1] == ' ';
      const bool number =
          (end < s.size() && IsDigit(s[end])) || (begin >= 2 && IsDigit(s[begin - 2]));
      return serversBlanks && number;
    });
  }
  return t;
}

}  // namespace orvanel::speechd
