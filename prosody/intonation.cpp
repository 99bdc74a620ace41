#include "prosody/intonation.h"

#include <algorithm>
#include <string>

#include "frontend/letter_tables.h"
#include "prosody/word_stress.h"

namespace orvanel::prosody {
namespace {

using frontend::PhraseBreak;
using synth::Segment;
using synth::SegmentList;
using synth::VowelPitch;

// A comma and every phrase boundary inside a stretch (an aside, a colon, a semicolon, a dash)
// end a phrase: its tune ends with a boundary tone and the next one starts on a reset baseline.
bool IsPhraseBoundary(PhraseBreak boundary) {
  return boundary != PhraseBreak::kNone && boundary != PhraseBreak::kSentenceEnd;
}

// A colon and a semicolon close a clause: its end falls. Every other boundary inside a
// sentence leaves it open: its end rises.
bool FallsBefore(PhraseBreak boundary) {
  return boundary == PhraseBreak::kColon || boundary == PhraseBreak::kSemicolon;
}

struct Word {
  std::string_view letters;  // lower case, marks removed
  std::vector<int> vowels;   // segment indices
  int stressed = -1;         // segment index of the first marked vowel
  int phrase = 0;
};

struct Phrase {
  std::vector<std::size_t> words;
  PhraseBreak end = PhraseBreak::kSentenceEnd;  // the boundary after it
  bool aside = false;                           // between parentheses
};

struct Reading {
  std::vector<Word> words;
  std::vector<Phrase> phrases;
  std::vector<bool> stressed;
  std::vector<bool> lateGlide;
  char end = 0;
};

// The stretch as the planner noted it: its words with their stressed vowels, and the phrases
// that the boundaries divide it into. A boundary before any word of its phrase opens none.
Reading Read(const SegmentList& list, const synth::StretchNotes& notes) {
  Reading r;
  r.end = notes.sentenceEnd;
  r.stressed.assign(list.Size(), false);
  r.lateGlide.assign(list.Size(), false);
  for (std::size_t i = 0; i < list.Size(); ++i) {
    r.stressed[i] = notes.segments[i].stressMarks > 0;
    r.lateGlide[i] = notes.segments[i].lateGlide;
  }
  r.phrases.emplace_back();
  bool aside = false;
  std::size_t next = 0;  // the next word to place
  for (std::size_t i = 0; i <= list.Size(); ++i) {
    while (next < notes.words.size() && notes.words[next].first == i) {
      const synth::PlannedWord& planned = notes.words[next++];
      Word w;
      w.letters = planned.letters;
      w.phrase = static_cast<int>(r.phrases.size()) - 1;
      for (const std::size_t v : planned.vowels) {
        w.vowels.push_back(static_cast<int>(v));
        if (w.stressed < 0 && r.stressed[v]) w.stressed = static_cast<int>(v);
      }
      if (w.vowels.empty()) continue;  // a lone consonant takes no part in the tune
      r.phrases.back().words.push_back(r.words.size());
      r.words.push_back(std::move(w));
    }
    if (i == list.Size() || !IsPhraseBoundary(notes.segments[i].boundary)) continue;
    const PhraseBreak b = notes.segments[i].boundary;
    if (b == PhraseBreak::kParenthesisOpen) aside = true;
    if (!r.phrases.back().words.empty()) {
      r.phrases.back().end = b;
      r.phrases.emplace_back();
    }
    if (b == PhraseBreak::kParenthesisClose) aside = false;
    r.phrases.back().aside = aside;
  }
  if (r.phrases.size() > 1 && r.phrases.back().words.empty()) r.phrases.pop_back();
  r.phrases.back().end = PhraseBreak::kSentenceEnd;
  return r;
}

SentenceType TypeOf(const Reading& r) {
  const bool hasParticle = std::any_of(r.words.begin(), r.words.end(),
                                       [](const Word& w) { return IsQuestionParticle(w.letters); });
  const bool hasWh = std::any_of(r.words.begin(), r.words.end(),
                                 [](const Word& w) { return IsQuestionWord(w.letters); });
  if (r.end == '?') {
    return hasParticle ? SentenceType::kYesNoQuestion
           : hasWh     ? SentenceType::kWhQuestion
                       : SentenceType::kOtherQuestion;
  }
  return r.end == '!' ? SentenceType::kExclamation : SentenceType::kStatement;
}

// The phrase's nucleus: the question word, else the accented word before mI, else the accented
// word before the phrase's last accented word (the verb), else that word; -1 when no word is
// accented. particle: the first mI of the phrase, or -1.
std::ptrdiff_t NucleusOf(const Reading& r, const Phrase& phrase, std::ptrdiff_t& particle) {
  particle = -1;
  for (std::size_t k : phrase.words)
    if (IsQuestionWord(r.words[k].letters) && r.words[k].stressed >= 0)
      return static_cast<std::ptrdiff_t>(k);
  for (std::size_t k : phrase.words) {
    if (IsQuestionParticle(r.words[k].letters)) {
      particle = static_cast<std::ptrdiff_t>(k);
      break;
    }
  }
  if (particle >= 0) {
    for (std::ptrdiff_t k = particle - 1; k >= static_cast<std::ptrdiff_t>(phrase.words.front());
         --k)
      if (r.words[static_cast<std::size_t>(k)].stressed >= 0) return k;
    return -1;
  }
  std::vector<std::size_t> accented;
  for (std::size_t k : phrase.words)
    if (r.words[k].stressed >= 0) accented.push_back(k);
  if (accented.empty()) return -1;
  return static_cast<std::ptrdiff_t>(accented[accented.size() >= 2 ? accented.size() - 2 : 0]);
}

// The baseline at the start of phrase p: each phrase a little lower than the one before, an
// aside lower still.
float PhraseTop(const IntonationTargets& t, std::size_t p, bool aside) {
  return -t.phraseDownstep * static_cast<float>(p) - (aside ? t.asideLowering : 0.f);
}

// The targets of one phrase: the pitch each of its vowels reaches at its end.
class PhraseTune {
 public:
  PhraseTune(const Reading& r, const IntonationTargets& t, SentenceType type,
             std::vector<float>& target)
      : r_(r), t_(t), type_(type), target_(target), base_(target.size(), 0.f) {}

  // Returns the segment index of the nucleus' stressed vowel, or -1.
  int Place(std::size_t p, bool final) {
    const Phrase& phrase = r_.phrases[p];
    for (std::size_t k : phrase.words)
      for (int v : r_.words[k].vowels) vowels_.push_back(v);
    // The baseline: reset at the phrase's start (each phrase a little lower than the one
    // before), declining over its vowels; an aside lies lower.
    const float top = PhraseTop(t_, p, phrase.aside);
    for (std::size_t j = 0; j < vowels_.size(); ++j) {
      const float x = vowels_.size() > 1 ? static_cast<float>(j) / (vowels_.size() - 1) : 0.f;
      base_[Index(vowels_[j])] = top - t_.declination * x;
      target_[Index(vowels_[j])] = base_[Index(vowels_[j])];
    }
    float scale = type_ == SentenceType::kExclamation ? t_.exclamationScale : 1.f;
    if (phrase.aside) scale *= t_.asideScale;
    std::ptrdiff_t particle = -1;
    const std::ptrdiff_t nucleus = NucleusOf(r_, phrase, particle);
    const bool yesNo = final && type_ == SentenceType::kYesNoQuestion;
    for (std::size_t k : phrase.words) {
      const Word& w = r_.words[k];
      const auto kk = static_cast<std::ptrdiff_t>(k);
      if ((nucleus >= 0 && kk > nucleus) || w.stressed < 0) continue;
      const float b = base_[Index(w.stressed)];
      float peak = b + t_.prenuclearAccent * scale;
      if (kk == nucleus) {
        if (yesNo) {
          peak = t_.yesNoPeak;
        } else if (final && type_ == SentenceType::kWhQuestion) {
          peak = t_.whPeak;
        } else if (final) {
          peak = b + t_.nuclearAccent * scale;
        } else {
          peak = b + (t_.prenuclearAccent + 0.5f) * scale;
        }
      }
      Accent(w, peak, yesNo && kk == nucleus);
    }
    MakeRoomBeforeInitialAccents(phrase, nucleus);
    // After the nucleus the words are deaccented: the pitch goes from the nucleus' end to the
    // phrase's end target, evenly over the vowels between.
    std::size_t from = 0;  // position in vowels_ of the first vowel after the nucleus
    if (nucleus >= 0) {
      const int last = r_.words[static_cast<std::size_t>(nucleus)].vowels.back();
      from = static_cast<std::size_t>(std::find(vowels_.begin(), vowels_.end(), last) -
                                      vowels_.begin()) +
             1;
    }
    const float low = base_[Index(vowels_.back())] + t_.afterNucleus;
    float endTarget = low;
    if (final) {
      switch (type_) {
        case SentenceType::kStatement:
          endTarget = t_.statementEnd;
          break;
        case SentenceType::kExclamation:
          endTarget = t_.exclamationEnd;
          break;
        case SentenceType::kYesNoQuestion:
          endTarget = t_.yesNoEnd;
          break;
        case SentenceType::kWhQuestion:
        case SentenceType::kOtherQuestion:
          break;
      }
    } else if (FallsBefore(phrase.end)) {
      endTarget = std::min(low, t_.clauseFall);
    }
    if (nucleus >= 0 && from < vowels_.size()) {
      float start = target_[Index(vowels_[from - 1])];
      std::size_t first = from;
      if (yesNo && particle > nucleus) {
        // The particle begins the fall: from its own level down to the end of the question.
        const auto pv = r_.words[static_cast<std::size_t>(particle)].vowels.front();
        first = static_cast<std::size_t>(std::find(vowels_.begin(), vowels_.end(), pv) -
                                         vowels_.begin());
        for (std::size_t j = from; j <= first && j < vowels_.size(); ++j)
          target_[Index(vowels_[j])] = t_.particle;
        start = t_.particle;
        ++first;
      }
      const std::size_t n = vowels_.size() - first + 1;
      for (std::size_t j = first; j < vowels_.size(); ++j) {
        const float x = static_cast<float>(j - first + 1) / static_cast<float>(n - 1);
        target_[Index(vowels_[j])] = start + (endTarget - start) * x;
      }
    } else if (final && type_ != SentenceType::kWhQuestion) {
      // The nucleus ends the phrase: a final stressed vowel takes the fall itself, its peak
      // reached as it begins.
      const int last = vowels_.back();
      if (nucleus >= 0 && last == r_.words[static_cast<std::size_t>(nucleus)].stressed &&
          vowels_.size() >= 2 && type_ != SentenceType::kOtherQuestion)
        target_[Index(vowels_[vowels_.size() - 2])] = target_[Index(last)];
      target_[Index(last)] = endTarget;
    }
    return nucleus >= 0 ? r_.words[static_cast<std::size_t>(nucleus)].stressed : -1;
  }

 private:
  const Reading& r_;
  const IntonationTargets& t_;
  SentenceType type_;
  std::vector<float>& target_;
  std::vector<int> vowels_;
  std::vector<float> base_;  // the baseline at each vowel of the phrase

  static std::size_t Index(int v) { return static_cast<std::size_t>(v); }

  // A word stressed on its first vowel rises into it only from a lower start. When the word
  // before it ends high (on its own final accent), that word's peak moves to the start of its
  // stressed vowel, which then falls to the low start; an unstressed vowel there just ends low.
  void MakeRoomBeforeInitialAccents(const Phrase& phrase, std::ptrdiff_t nucleus) {
    for (std::size_t j = 1; j < phrase.words.size(); ++j) {
      const Word& w = r_.words[phrase.words[j]];
      if (w.stressed != w.vowels.front()) continue;
      if (nucleus >= 0 && static_cast<std::ptrdiff_t>(phrase.words[j]) > nucleus) break;
      const Word& before = r_.words[phrase.words[j - 1]];
      const int v = before.vowels.back();
      if (target_[Index(v)] <= target_[Index(w.stressed)] - 1.f) continue;
      if (v == before.stressed) {
        if (before.vowels.size() < 2) continue;  // a one-vowel accent keeps its peak
        target_[Index(before.vowels[before.vowels.size() - 2])] = target_[Index(v)];
      }
      target_[Index(v)] = base_[Index(v)] - t_.wordStartDip;
    }
  }

  // An accent is a movement: from a low start of the word up to the peak at the end of the
  // stressed vowel, down again over the vowels after it. The host of mI stays high to its end.
  void Accent(const Word& w, float peak, bool holdHigh) {
    const auto s = static_cast<std::size_t>(
        std::find(w.vowels.begin(), w.vowels.end(), w.stressed) - w.vowels.begin());
    const std::size_t n = w.vowels.size();
    for (std::size_t k = 0; k < n; ++k) {
      const int v = w.vowels[k];
      const float low = base_[Index(v)] - t_.wordStartDip;
      float& out = target_[Index(v)];
      if (k < s) {
        out = k == 0 ? low : low + (peak - low) * static_cast<float>(k) / static_cast<float>(s);
      } else if (k == s || holdHigh) {
        out = peak;
      } else {
        out = peak + (low - peak) * static_cast<float>(k - s) / static_cast<float>(n - 1 - s);
      }
    }
  }
};

}  // namespace

void PrepareSegmentsForProsody(SegmentList& list) {
  for (Segment& s : list) {
    if (s.Kind() != synth::SegmentKind::kVowel) continue;
    s.lengthPercent = 100;
    s.glideSteps = 0;
  }
}

bool ContourForStretch(const SegmentList& list, const synth::StretchNotes& notes,
                       std::vector<VowelPitch>& contour, const IntonationTargets& t,
                       StretchIntonation* info) {
  contour.assign(list.Size(), VowelPitch{});
  if (info != nullptr) *info = {};
  if (notes.segments.size() != list.Size()) return false;
  const Reading r = Read(list, notes);
  const SentenceType type = TypeOf(r);

  // Every vowel's target: the pitch it reaches at its end.
  std::vector<float> target(list.Size(), 0.f);
  std::vector<int> nuclei;
  const std::size_t lastPhrase = r.phrases.size() - 1;
  for (std::size_t p = 0; p < r.phrases.size(); ++p) {
    if (r.phrases[p].words.empty()) continue;
    PhraseTune tune(r, t, type, target);
    const int nucleus = tune.Place(p, p == lastPhrase);
    if (nucleus >= 0) nuclei.push_back(nucleus);
  }

  // The path: within a phrase each vowel starts where the one before it ended, voiced
  // consonants between them carrying the same pitch, and moves to its own target; the first
  // vowel of a phrase starts on the phrase's reset baseline.
  const auto clamp = [](float st) {
    return std::clamp(st, -synth::kMaxSemitones, synth::kMaxSemitones);
  };
  for (std::size_t p = 0; p < r.phrases.size(); ++p) {
    const Phrase& phrase = r.phrases[p];
    if (phrase.words.empty()) continue;
    std::vector<int> vowels;
    for (std::size_t k : phrase.words)
      for (int v : r.words[k].vowels) vowels.push_back(v);
    const bool final = p == lastPhrase;
    // Boundary tones inside the sentence: a rise that keeps the sentence open, or a fall
    // before a colon or a semicolon (already among the targets).
    auto& last = target[static_cast<std::size_t>(vowels.back())];
    const float before =
        vowels.size() > 1 ? target[static_cast<std::size_t>(vowels[vowels.size() - 2])] : last;
    if (!final && !FallsBefore(phrase.end)) {
      // An aside rises less and stays in its lower register.
      last = phrase.aside ? before + t.continuationRise * t.asideScale
                          : std::max(before + t.continuationRise, t.continuationFloor);
    }
    if (final && type == SentenceType::kOtherQuestion) last = t.questionRise;
    if (final && type == SentenceType::kWhQuestion) last = before;  // a level end

    float start = PhraseTop(t, p, phrase.aside);
    for (const int v : vowels) {
      const auto i = static_cast<std::size_t>(v);
      float end = target[i];
      if (r.lateGlide[i]) end += t.softGRise;
      VowelPitch& out = contour[i];
      out.startSemitones = clamp(start);
      out.endSemitones = clamp(end);
      start = end;
    }
    // Lengthening before the boundary: the phrase's last vowel, more at the sentence end.
    contour[static_cast<std::size_t>(vowels.back())].lengthPercent =
        static_cast<std::uint16_t>(final ? t.finalLengthPercent : t.boundaryLengthPercent);
  }
  if (info != nullptr) {
    info->type = type;
    info->nucleusVowels = nuclei;
    info->stressed = r.stressed;
  }
  return true;
}

}  // namespace orvanel::prosody
