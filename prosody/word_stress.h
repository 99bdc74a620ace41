// Turkish word stress for the prosody mode: which syllable of a typed word carries the stress,
// and the transcription that writes one stress mark per prosodic word. Words are Windows-1254.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/text_to_phonetic.h"
#include "prosody/stress_cache.h"

namespace orvanel::prosody {

// Why a word is stressed where it is; kFinal is the default.
enum class StressRule : int {
  kNone = 0,         // clitic or function word: no stress
  kFinal,            // the last syllable
  kMonosyllable,     // a one-syllable word
  kLexicon,          // an entry of the exception lexicon (or a word built on one)
  kProperName,       // place-name rule on a name or a word before an apostrophe
  kReduplication,    // kapkara, masmavi: the prefix
  kNegative,         // before -mA
  kProgressive,      // -(I)yor: its own first vowel
  kAdverbialSuffix,  // -(y)ArAk, -mAksIzIn, -(y)IncA, -sAnA: their own first vowel
  kCopula,           // before -(y)DI, -(y)mIş, -(y)sA, the copular person endings
  kGeneralizing,     // before -DIr
  kPreStressing,     // before -(y)ken, -(y)lA, -lArcA, -leyin
  kRelativeKi,       // before -ki
  kPlaceName,        // a name of the gazetteer (prosody/place_names.txt), alone or with suffixes
  kEquative,         // before adverbial -CA: yavaşça, güzelce
};
inline constexpr int kStressRuleCount = 15;
std::string_view StressRuleName(StressRule rule);

struct WordStress {
  int syllable = -1;  // 0-based vowel index, -1 for no stress
  StressRule rule = StressRule::kNone;
};

// What the text shows of a word being a proper name, by its spelling and its place.
enum class NameCue : std::uint8_t {
  kNone = 0,    // lower case, or a capital that starts a sentence of more words
  kAlone = 1,   // a capital word that is a sentence of its own ("Ordu.", a screen reader's word)
  kName = 2,    // a capital inside a sentence, or any word directly before an apostrophe
  kJoined = 3,  // after the name mark: a name with its suffixes joined on ("Adanaya")
};

// The stressed syllable of one word (letters only). A place name of the gazetteer keeps its
// stress with any cue, unless a common word is spelled the same: then it needs kAlone, kName or
// kJoined. kName and kJoined make any other word a name (the place-name rule), kJoined on the
// part before its suffixes. "kitaplar" -> 2, "gelmedi" -> 0, "Ankara" -> 0, "Adanaya" (kJoined)
// -> 1, "mısın" -> none.
WordStress StressOf(std::string_view word, NameCue cue);
// properName: kName, else kNone.
inline WordStress StressOf(std::string_view word, bool properName) {
  return StressOf(word, properName ? NameCue::kName : NameCue::kNone);
}

// The question particle and its forms (mi, mısın, muydu ...), lower case.
bool IsQuestionParticle(std::string_view lowerWord);
// Question words and their forms (kim, neden, nerede, nasıl, hangisi, kaç ...), lower case.
bool IsQuestionWord(std::string_view lowerWord);

// Where in a word's transcription the stress mark of `syllable` goes: just after the last letter
// of that syllable ("Eşi~t" + "`" + "~Tir"), never between two letters of one long vowel.
// Returns the insertion offset, or npos when the transcription has no such syllable.
std::size_t StressMarkOffset(std::string_view transcription, int syllable);

// The front end's literal conversion, run by run, with stress marks on words and numbers. It
// remembers what it needs across runs (sentence starts, a pending apostrophe), so one instance
// must see the runs of a text in their order; pieces of one text may be fed one after another.
class StressTranscriber {
 public:
  // marks false: exactly the literal conversion, through the same run loop. memo: a memo of
  // word analyses to use instead of the transcriber's own, kept across texts by its owner (it
  // must outlive the transcriber, and serve one transcriber at a time).
  explicit StressTranscriber(bool marks = true, StressCache* memo = nullptr)
      : marks_(marks), shared_(memo) {}
  // Appends the conversion of one run, as frontend::AppendRun would, plus the stress mark. The
  // text after the run is read for an apostrophe that makes a word a name.
  void AppendRun(const frontend::Run& run, std::string& out);
  // The same for a run and the text after it given apart.
  void AppendRun(std::string_view run, frontend::RunKind kind, std::string_view rest,
                 std::string& out) {
    frontend::Run r;
    r.text = run;
    r.kind = kind;
    r.rest = rest;
    AppendRun(r, out);
  }
  // The rule of every word transcribed so far, for reports.
  const int* RuleCounts() const noexcept { return counts_; }

 private:
  // The mark's offset in transcription (the word's own, just appended), from the memo (key:
  // the word's, nullptr for a word the memo does not keep) or the analysis; counts its rule.
  std::size_t MarkOffset(std::string_view word, NameCue cue, const StressCache::Key* key,
                         std::string_view transcription);
  // What the text shows of a word run that begins with a capital being a name; rest is the
  // text after it.
  NameCue CapitalCue(std::string_view run, std::string_view rest) const;

  bool marks_ = true;
  bool sentenceStart_ = true;
  bool afterApostrophe_ = false;  // the last run was an apostrophe right after a word
  bool lastWasWord_ = false;
  bool nameMark_ = false;  // the last run ended with frontend::kNameMark
  std::string scratch_;
  std::string word_;
  int counts_[kStressRuleCount] = {};
  StressCache& Memo() noexcept { return shared_ != nullptr ? *shared_ : cache_; }
  StressCache* shared_ = nullptr;
  StressCache cache_;  // the words analysed so far, without a shared memo
};

// TextToPhonetic with stress marks: rewrites the escapes of text in place, then appends exactly the
// literal transcription plus one "`" per prosodic word. "Ankara'ya gelmedi." ->
// "A`nKaRa'Ya ~Ge`l~Me~Di."
void TextToPhoneticWithStress(std::string& text, std::string& out);

}  // namespace orvanel::prosody
