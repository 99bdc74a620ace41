#include <algorithm>

#include "frontend/number_reading.h"
#include "frontend/phrase_marks.h"
#include "frontend/symbol_names.h"
#include "frontend/text_to_phonetic.h"
#include "frontend/word_transcription.h"
#include "prosody/stress_letters.h"
#include "prosody/word_stress.h"

namespace orvanel::prosody {

using detail::IsUpperLetter;
using detail::kRightQuote;

void StressTranscriber::AppendRun(const frontend::Run& piece, std::string& out) {
  using frontend::RunKind;
  const std::string_view run = piece.text;
  const std::string_view rest = piece.rest;
  switch (piece.kind) {
    case RunKind::kSymbols: {
      frontend::AppendSymbols(run, out);
      afterApostrophe_ = lastWasWord_ && (run == "'" || run == std::string_view(&kRightQuote, 1));
      nameMark_ = !run.empty() && run.back() == frontend::kNameMark;
      for (const char c : run) {  // (find_first_of would search the set once per character)
        if (c == '.' || c == '!' || c == '?' || c == ':' || c == ';' || c == '\n') {
          sentenceStart_ = true;
          break;
        }
      }
      lastWasWord_ = false;
      return;
    }
    case RunKind::kWord: {
      const std::size_t start = out.size();
      if (afterApostrophe_ || !marks_) {  // the suffixes of a name: the name keeps the stress
        frontend::AppendTranscribedWord(run, scratch_, out);
      } else {
        // Most words are in lower case and stand before no apostrophe: no name.
        const bool apostrophe = rest.size() >= 2 && (rest[0] == '\'' || rest[0] == kRightQuote) &&
                                frontend::ClassifyChar(rest[1]) == frontend::CharClass::kLetter;
        const NameCue cue = nameMark_               ? NameCue::kJoined
                            : apostrophe            ? NameCue::kName
                            : IsUpperLetter(run[0]) ? CapitalCue(run, rest)
                                                    : NameCue::kNone;
        // The word's slot in the memo is fetched while the word is transcribed.
        StressCache::Key key;
        const bool keep = StressCache::MakeKey(run, static_cast<std::uint8_t>(cue), key);
        if (keep) Memo().Prefetch(key);
        frontend::AppendTranscribedWord(run, scratch_, out);
        const std::size_t at =
            MarkOffset(run, cue, keep ? &key : nullptr, std::string_view(out).substr(start));
        if (at != std::string::npos) {
          // Shift the few letters after the mark by hand: a word is short.
          out.push_back(frontend::kStressMark);
          char* const word = out.data() + start;
          const std::size_t size = out.size() - start;
          for (std::size_t i = size - 1; i > at; --i) word[i] = word[i - 1];
          word[at] = frontend::kStressMark;
        }
      }
      afterApostrophe_ = false;
      nameMark_ = false;
      lastWasWord_ = true;
      sentenceStart_ = false;
      return;
    }
    case RunKind::kNumber: {
      word_.clear();
      frontend::AppendNumber(run, word_);
      afterApostrophe_ = false;
      nameMark_ = false;
      lastWasWord_ = false;
      sentenceStart_ = false;
      if (!marks_ || word_.find(frontend::kStressMark) != std::string::npos) {
        out.append(word_);  // a number with a scale word already carries its marks
        return;
      }
      // The first numeral of the number carries the phrase's stress on its last syllable.
      std::size_t best = 0;
      auto consider = [&](std::string_view name) {
        if (!name.empty() && name.size() > best &&
            std::string_view(word_).substr(0, name.size()) == name)
          best = name.size();
      };
      for (std::string_view name : frontend::OnesNames) consider(name);
      for (std::string_view name : frontend::TensNames) consider(name);
      consider(frontend::kHundredWord);
      out.append(word_, 0, best);
      if (best != 0) out.push_back(frontend::kStressMark);
      out.append(word_, best, std::string::npos);
      return;
    }
    case RunKind::kSingleLetter:
      frontend::AppendSpelledLetter(run, out);
      afterApostrophe_ = false;
      nameMark_ = false;
      lastWasWord_ = false;
      return;
    case RunKind::kLiteral:
      out.append(run);
      afterApostrophe_ = false;
      nameMark_ = false;
      lastWasWord_ = false;
      return;
  }
}

NameCue StressTranscriber::CapitalCue(std::string_view run, std::string_view rest) const {
  // A word all in capitals (a heading, an abbreviation) is no name.
  if (std::all_of(run.begin(), run.end(), IsUpperLetter)) return NameCue::kNone;
  if (!sentenceStart_) return NameCue::kName;
  // At the start of a sentence a capital says nothing, unless the word is the whole sentence.
  for (const char c : rest) {
    if (c == '.' || c == '!' || c == '?' || c == '\n') break;
    const frontend::CharClass k = frontend::ClassifyChar(c);
    if (k == frontend::CharClass::kLetter || k == frontend::CharClass::kDigit ||
        k == frontend::CharClass::kOpenBrace)
      return NameCue::kNone;
  }
  return NameCue::kAlone;
}

std::size_t StressTranscriber::MarkOffset(std::string_view word, NameCue cue,
                                          const StressCache::Key* key,
                                          std::string_view transcription) {
  constexpr std::size_t npos = std::string_view::npos;
  if (key != nullptr) {
    if (const StressCache::Value* known = Memo().Find(*key)) {
      ++counts_[known->rule];
      return known->mark == StressCache::kNoMark ? npos : known->mark;
    }
  }
  const WordStress stress = StressOf(word, cue);
  ++counts_[static_cast<int>(stress.rule)];
  const std::size_t at =
      stress.syllable >= 0 ? StressMarkOffset(transcription, stress.syllable) : npos;
  // A mark further in than a byte can say is not kept (no Turkish word comes near it).
  if (key != nullptr && (at == npos || at < StressCache::kNoMark)) {
    Memo().Store(*key, {static_cast<std::int8_t>(stress.rule),
                        at == npos ? StressCache::kNoMark : static_cast<std::uint8_t>(at)});
  }
  return at;
}

void TextToPhoneticWithStress(std::string& text, std::string& out) {
  StressTranscriber transcriber;
  frontend::ForEachRun(text, [&](const frontend::Run& run) { transcriber.AppendRun(run, out); });
}

}  // namespace orvanel::prosody
