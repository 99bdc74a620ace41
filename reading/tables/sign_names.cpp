// The Turkish names of punctuation marks and signs, for the punctuation levels "some" and "all"
// and for web addresses. The marks are named as TDK's spelling guide names them ("kısa çizgi",
// "uzun çizgi", "eğik çizgi", "kesme işareti"), with the colon as Turkish speakers say it ("iki
// nokta üst üste", as the front end does); the signs as Turkish school mathematics names them.
#include "reading/reading_tables.h"

namespace orvanel::reading {

bool IsQuote(char32_t cp) {
  switch (cp) {
    case '"':
    case U'“':
    case U'”':
    case U'„':
    case U'‟':
    case U'«':
    case U'»':
    case U'‹':
    case U'›':
      return true;
    default:
      return false;
  }
}

std::string_view SignName(char32_t cp) {
  if (IsQuote(cp)) return "tırnak";
  switch (cp) {
    case '(':
      return "parantez aç";
    case ')':
      return "parantez kapat";
    case '[':
      return "köşeli parantez aç";
    case ']':
      return "köşeli parantez kapat";
    case '-':
      return "kısa çizgi";
    case U'–':
    case U'—':
    case U'―':
      return "uzun çizgi";
    case '/':
      return "eğik çizgi";
    case '\\':
      return "ters eğik çizgi";
    case ':':
      return "iki nokta üst üste";
    case ';':
      return "noktalı virgül";
    case '.':
      return "nokta";
    case ',':
      return "virgül";
    case '!':
      return "ünlem";
    case '?':
      return "soru işareti";
    case '\'':
    case U'’':
      return "kesme işareti";
    case U'…':
      return "üç nokta";
    case '*':
      return "yıldız";
    case '_':
      return "alt çizgi";
    case '#':
      return "diyez";
    case '&':
      return "ve";
    case '@':
      return "et";
    case '|':
      return "dikey çizgi";
    case '~':
      return "yaklaşık";
    case '^':
      return "şapka";
    case '+':
      return "artı";
    case '=':
      return "eşittir";
    case '<':
      return "küçüktür";
    case '>':
      return "büyüktür";
    case '%':
      return "yüzde";
    case '$':
      return "dolar";
    default:
      return {};
  }
}

}  // namespace orvanel::reading
