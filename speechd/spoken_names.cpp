// The name tables: letters, digits, symbols and keys in Turkish.
#include "speechd/spoken_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

namespace orvanel::speechd {
namespace {

struct Name {
  std::string_view key;
  std::string_view name;
};

// Lower-case letters with their names; the capital of each pair follows in kCapitals.
constexpr Name kLetters[] = {
    {"a", "a"},  {"b", "be"}, {"c", "ce"},        {"ç", "çe"},         {"d", "de"},
    {"e", "e"},  {"f", "fe"}, {"g", "ge"},        {"ğ", "yumuşak ge"}, {"h", "he"},
    {"ı", "ı"},  {"i", "i"},  {"j", "je"},        {"k", "ke"},         {"l", "le"},
    {"m", "me"}, {"n", "ne"}, {"o", "o"},         {"ö", "ö"},          {"p", "pe"},
    {"q", "kü"}, {"r", "re"}, {"s", "se"},        {"ş", "şe"},         {"t", "te"},
    {"u", "u"},  {"ü", "ü"},  {"v", "ve"},        {"w", "çift ve"},    {"x", "iks"},
    {"y", "ye"}, {"z", "ze"}, {"â", "şapkalı a"}, {"î", "şapkalı i"},  {"û", "şapkalı u"},
};

// Capital -> lower case, through the Turkish pairs (I -> ı, İ -> i).
constexpr Name kCapitals[] = {
    {"A", "a"}, {"B", "b"}, {"C", "c"}, {"Ç", "ç"}, {"D", "d"}, {"E", "e"}, {"F", "f"},
    {"G", "g"}, {"Ğ", "ğ"}, {"H", "h"}, {"I", "ı"}, {"İ", "i"}, {"J", "j"}, {"K", "k"},
    {"L", "l"}, {"M", "m"}, {"N", "n"}, {"O", "o"}, {"Ö", "ö"}, {"P", "p"}, {"Q", "q"},
    {"R", "r"}, {"S", "s"}, {"Ş", "ş"}, {"T", "t"}, {"U", "u"}, {"Ü", "ü"}, {"V", "v"},
    {"W", "w"}, {"X", "x"}, {"Y", "y"}, {"Z", "z"}, {"Â", "â"}, {"Î", "î"}, {"Û", "û"},
};

constexpr Name kDigits[] = {{"0", "sıfır"}, {"1", "bir"},  {"2", "iki"},  {"3", "üç"},
                            {"4", "dört"},  {"5", "beş"},  {"6", "altı"}, {"7", "yedi"},
                            {"8", "sekiz"}, {"9", "dokuz"}};

// The nineteen symbols that the front end names itself (the same words), marked true, and the
// rest of the punctuation, which only the module names.
struct SymbolName {
  std::string_view symbol;
  std::string_view name;
  bool frontEnd;
};
constexpr SymbolName kSymbols[] = {
    {"\"", "tırnak", true},
    {"$", "dolar", true},
    {"%", "yüzde", true},
    {"&", "ve", true},
    {"(", "parantez aç", true},
    {")", "parantez kapat", true},
    {"*", "çarpı", true},
    {"+", "artı", true},
    {"-", "eksi", true},
    {"/", "bölü", true},
    {":", "iki nokta üstüste", true},
    {";", "noktalı virgül", true},
    {"<", "küçüktür", true},
    {"=", "eşittir", true},
    {">", "büyüktür", true},
    {"@", "et", true},
    {"[", "köşeli parantez aç", true},
    {"]", "köşeli parantez kapat", true},
    {"_", "alt çizgi", true},
    {".", "nokta", false},
    {",", "virgül", false},
    {"!", "ünlem", false},
    {"?", "soru işareti", false},
    {"'", "kesme işareti", false},
    {"#", "diyez", false},
    {"^", "şapka", false},
    {"{", "küme parantezi aç", false},
    {"}", "küme parantezi kapat", false},
    {"|", "dikey çizgi", false},
    {"\\", "ters bölü", false},
    {"~", "yaklaşık", false},
    {"`", "ters kesme", false},
    {"€", "avro", false},
    {"£", "sterlin", false},
    {"§", "paragraf", false},
    {"°", "derece", false},
    {"…", "üç nokta", false},
    {"«", "tırnak aç", false},
    {"»", "tırnak kapat", false},
    {"“", "tırnak aç", false},
    {"”", "tırnak kapat", false},
    {"‘", "kesme işareti", false},
    {"’", "kesme işareti", false},
    {"–", "kısa çizgi", false},
    {"—", "uzun çizgi", false},
};
// Sentence marks keep their place behind the name so that the sentence still ends there.
constexpr std::string_view kSentenceMarks = ".,!?";
// At kMost the marks of ordinary prose stay unnamed.
constexpr std::string_view kQuietInMost = ".,!?'’";

constexpr Name kKeys[] = {
    {"space", "boşluk"},
    {"underscore", "alt çizgi"},
    {"double-quote", "tırnak"},
    {"alt", "alt"},
    {"control", "kontrol"},
    {"hyper", "hiper"},
    {"meta", "meta"},
    {"shift", "üst karakter"},
    {"super", "süper"},
    {"backspace", "geri sil"},
    {"break", "kes"},
    {"delete", "sil"},
    {"down", "aşağı ok"},
    {"end", "son"},
    {"enter", "giriş"},
    {"return", "giriş"},
    {"escape", "çıkış"},
    {"home", "baş"},
    {"insert", "ekle"},
    {"left", "sol ok"},
    {"right", "sağ ok"},
    {"up", "yukarı ok"},
    {"menu", "menü"},
    {"next", "sayfa aşağı"},
    {"prior", "sayfa yukarı"},
    {"num-lock", "sayı kilidi"},
    {"caps-lock", "büyük harf kilidi"},
    {"scroll-lock", "kaydırma kilidi"},
    {"pause", "duraklat"},
    {"print", "ekran yazdır"},
    {"tab", "sekme"},
    {"window", "pencere"},
    {"kp-enter", "sayı tuşu giriş"},
    {"kp-add", "sayı tuşu artı"},
    {"kp-subtract", "sayı tuşu eksi"},
    {"kp-multiply", "sayı tuşu çarpı"},
    {"kp-divide", "sayı tuşu bölü"},
    {"kp-delete", "sayı tuşu sil"},
    {"kp-insert", "sayı tuşu ekle"},
};

template <std::size_t N>
const Name* Find(const Name (&table)[N], std::string_view key) {
  for (const Name& n : table)
    if (n.key == key) return &n;
  return nullptr;
}

const SymbolName* FindSymbol(std::string_view symbol) {
  for (const SymbolName& s : kSymbols)
    if (s.symbol == symbol) return &s;
  return nullptr;
}

// The length of the UTF-8 sequence that starts with c (1 for a stray byte).
std::size_t SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC2 && c <= 0xDF) return 2;
  return 1;
}

template <typename F>
void ForEachCharacter(std::string_view text, F&& f) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n =
        std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
    f(text.substr(i, n));
    i += n;
  }
}

bool IsBlank(std::string_view c) { return c == " " || c == "\t" || c == "\n" || c == "\r"; }
bool IsDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::string CharacterName(std::string_view c, bool capitals) {
  if (c == "space" || IsBlank(c)) return "boşluk";
  if (const Name* capital = Find(kCapitals, c)) {
    const Name* letter = Find(kLetters, capital->name);
    const std::string name(letter != nullptr ? letter->name : capital->name);
    return capitals ? "büyük " + name : name;
  }
  if (const Name* letter = Find(kLetters, c)) return std::string(letter->name);
  if (const Name* digit = Find(kDigits, c)) return std::string(digit->name);
  if (const SymbolName* symbol = FindSymbol(c)) return std::string(symbol->name);
  return std::string(c);
}

std::string KeyName(std::string_view key) {
  const std::string lower = LowerAscii(key);
  if (const Name* k = Find(kKeys, lower)) return std::string(k->name);
  // Function keys: "f5" -> "fe beş", "f12" -> "fe on iki".
  if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' &&
      std::all_of(lower.begin() + 1, lower.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const int n = std::stoi(lower.substr(1));
    std::string name = "fe";
    if (n >= 10) {
      name += n >= 20 ? " yirmi" : " on";
    }
    if (n % 10 != 0 || n == 0) name.append(" ").append(kDigits[n % 10].name);
    return name;
  }
  // Combinations joined by '_' ("shift_a", "control_alt_delete"); a lone "_" is the key itself.
  if (key.size() > 1 && key.find('_') != std::string_view::npos) {
    std::string out;
    std::size_t begin = 0;
    while (begin <= key.size()) {
      std::size_t end = key.find('_', begin);
      if (end == std::string_view::npos) end = key.size();
      if (end > begin) {
        if (!out.empty()) out += ' ';
        out += KeyName(key.substr(begin, end - begin));
      }
      begin = end + 1;
    }
    return out;
  }
  std::size_t characters = 0;
  ForEachCharacter(key, [&](std::string_view) { ++characters; });
  if (characters == 1) return CharacterName(key, false);
  return SpellText(key, false);
}

std::string SoundIconName(std::string_view icon) {
  std::string out(icon);
  for (char& c : out)
    if (c == '-' || c == '_' || c == '.') c = ' ';
  return out;
}

std::string SpellText(std::string_view text, bool capitals) {
  std::string out;
  bool blankPending = false;
  ForEachCharacter(text, [&](std::string_view c) {
    if (IsBlank(c)) {
      blankPending = !out.empty();
      return;
    }
    if (!out.empty()) out += blankPending ? ", boşluk, " : ", ";
    blankPending = false;
    out += CharacterName(c, capitals);
  });
  return out;
}

std::string ApplyPunctuation(std::string_view text, PunctuationMode mode) {
  if (mode == PunctuationMode::kSome) return std::string(text);
  std::vector<std::string_view> chars;
  ForEachCharacter(text, [&](std::string_view c) { chars.push_back(c); });
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string_view c = chars[i];
    const SymbolName* symbol = FindSymbol(c);
    if (symbol == nullptr) {
      out += c;
      continue;
    }
    if (mode == PunctuationMode::kNone) {
      // The front end would name these; next to a digit they belong to a number or a range.
      const bool byDigit =
          (i > 0 && IsDigit(chars[i - 1])) || (i + 1 < chars.size() && IsDigit(chars[i + 1]));
      if (symbol->frontEnd && !byDigit) {
        out += ' ';
      } else {
        out += c;
      }
      continue;
    }
    // The front end names its own symbols at every level above kNone.
    if (symbol->frontEnd ||
        (mode == PunctuationMode::kMost && kQuietInMost.find(c) != std::string_view::npos)) {
      out += c;
      continue;
    }
    out += ' ';
    out += symbol->name;
    if (kSentenceMarks.find(c) != std::string_view::npos) out += c;
    out += ' ';
  }
  return out;
}

}  // namespace orvanel::speechd
