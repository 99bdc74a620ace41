#include "prosody/stress_lexicon.h"

#include <algorithm>
#include <cstdlib>

#include "codepage/codepage.h"
#include "prosody/stress_letters.h"

namespace orvanel::prosody::detail {

// The lexicon as a plain table (prosody/stress_lexicon.txt), embedded at build time.
extern const char kStressLexiconText[];
extern const std::size_t kStressLexiconSize;

std::string FromUtf8(std::string_view s) {
  std::string out;
  codepage::DecodeError error;
  codepage::Utf8ToCp1254(s, out, error);
  return out;
}

std::string Lower(std::string_view word) {
  std::string w(word);
  for (char& c : w) c = kLetters.lower[static_cast<unsigned char>(c)];
  return w;
}

const Lexicon& TheLexicon() {
  static const Lexicon lexicon = [] {
    Lexicon l;
    std::string_view text(kStressLexiconText, kStressLexiconSize);
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      if (line.empty() || line[0] == '#') continue;
      const std::size_t space = line.rfind(' ');
      if (space == std::string_view::npos || space + 1 >= line.size()) continue;
      const std::string word = Lower(FromUtf8(line.substr(0, space)));
      const std::string_view value = line.substr(space + 1);
      if (value == "N" || value == "V") {
        l.roots.insert_or_assign(word, value == "N" ? kNominalRoot : kVerbRoot);
        continue;
      }
      const int index = value == "F" ? kFinalEntry : std::atoi(std::string(value).c_str()) - 1;
      l.entries.emplace(word, index);
      l.longest = std::max(l.longest, word.size());
      if (word.size() >= 2 && word.size() < 32)
        l.lengths[Lexicon::Pair(word)] |= std::uint32_t{1} << word.size();
      if (word.size() >= 3 && word.size() < 32)
        l.entryLengths[Lexicon::TripleKey(word)] |= std::uint32_t{1} << word.size();
    }
    for (const std::string& clitic : Clitics()) {
      l.entries.insert_or_assign(clitic, kCliticEntry);
      l.longest = std::max(l.longest, clitic.size());
      if (clitic.size() >= 2 && clitic.size() < 32)
        l.lengths[Lexicon::Pair(clitic)] |= std::uint32_t{1} << clitic.size();
    }
    return l;
  }();
  return lexicon;
}

const WordSet& Clitics() {
  static const WordSet set = [] {
    WordSet s;
    for (const char* w :
         {"de",        "da",         "ki",        "ya",    "ile",  "ve",     "veya",
          "bile",      "bir",        "bu",        "\xFEu", "o",    "idi",    "imi\xFE",
          "ise",       "iken",       "idim",      "idin",  "idik", "idiniz", "idiler",
          "imi\xFEim", "imi\xFEsin", "imi\xFEiz", "isem",  "isen", "isek",   "iseniz"}) {
      s.insert(w);
    }
    for (const char* tail : {"", "im", "sin", "iz", "siniz", "ler", "di", "dir", "se", "ken", "dim",
                             "din", "dik", "mi\xFE"}) {
      s.insert(std::string("de\xF0il") + tail);
    }
    for (char v : {kDotlessI, 'i', 'u', kUUml}) {
      const std::string I(1, v);
      for (std::string tail :
           {std::string(), "y" + I + "m", "s" + I + "n", "y" + I + "z", "s" + I + "n" + I + "z",
            "yd" + I, "yd" + I + "m", "yd" + I + "n", "yd" + I + "k", "yd" + I + "n" + I + "z",
            "ym" + I + "\xFE", "d" + I + "r", std::string("yken")}) {
        s.insert("m" + I + tail);
      }
    }
    return s;
  }();
  return set;
}

}  // namespace orvanel::prosody::detail
