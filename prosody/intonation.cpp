#include "prosody/intonation.h"

#include <algorithm>
#include <string>

#include "frontend/letter_tables.h"
#include "prosody/word_stress.h"

namespace orvanel::prosody {
namespace {

// A comma and every phrase boundary inside a stretch (an aside, a colon, a semicolon) end a
// clause; the tune rises at its end and its baseline is reset.
bool IsClauseBoundary(frontend::PhraseBreak boundary) {
  return boundary != frontend::PhraseBreak::kNone &&
         boundary != frontend::PhraseBreak::kSentenceEnd;
}

using synth::Segment;
using synth::SegmentList;
using synth::VowelPitch;

struct Word {
  std::string_view letters;  // lower case, marks removed
  std::vector<int> vowels;   // segment indices
  int stressed = -1;         // segment index of the first marked vowel
  int clause = 0;
};

struct Reading {
  std::vector<Word> words;
  std::vector<bool> stressed;
  std::vector<bool> lateGlide;
  char end = 0;
  int clauses = 1;
};

// The stretch as the planner noted it: its words with their stressed vowels, and the clauses
// that commas (and the other phrase boundaries) divide it into.
Reading Read(const SegmentList& list, const synth::StretchNotes& notes) {
  Reading r;
  r.end = notes.sentenceEnd;
  r.stressed.assign(list.Size(), false);
  r.lateGlide.assign(list.Size(), false);
  for (std::size_t i = 0; i < list.Size(); ++i) {
    r.stressed[i] = notes.segments[i].stressMarks > 0;
    r.lateGlide[i] = notes.segments[i].lateGlide;
  }
  int clause = 0;
  std::size_t next = 0;  // the next word to place
  for (std::size_t i = 0; i <= list.Size(); ++i) {
    while (next < notes.words.size() && notes.words[next].first == i) {
      const synth::PlannedWord& planned = notes.words[next++];
      Word w;
      w.letters = planned.letters;
      w.clause = clause;
      for (const std::size_t v : planned.vowels) {
        w.vowels.push_back(static_cast<int>(v));
        if (w.stressed < 0 && r.stressed[v]) w.stressed = static_cast<int>(v);
      }
      r.words.push_back(std::move(w));
    }
    if (i < list.Size() && IsClauseBoundary(notes.segments[i].boundary)) ++clause;
  }
  // A boundary right before the sentence end opens no clause of its own.
  int last = 0;
  for (const Word& w : r.words) last = std::max(last, w.clause);
  r.clauses = last + 1;
  return r;
}

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
  Reading r = Read(list, notes);

  // Words without a vowel (a lone consonant) take no part in the tune.
  std::erase_if(r.words, [](const Word& w) { return w.vowels.empty(); });

  SentenceType type = SentenceType::kStatement;
  const bool hasParticle = std::any_of(r.words.begin(), r.words.end(),
                                       [](const Word& w) { return IsQuestionParticle(w.letters); });
  const bool hasWh = std::any_of(r.words.begin(), r.words.end(),
                                 [](const Word& w) { return IsQuestionWord(w.letters); });
  if (r.end == '?') {
    type = hasParticle ? SentenceType::kYesNoQuestion
           : hasWh     ? SentenceType::kWhQuestion
                       : SentenceType::kOtherQuestion;
  } else if (r.end == '!') {
    type = SentenceType::kExclamation;
  }
  const float scale = type == SentenceType::kExclamation ? t.exclamationScale : 1.0f;

  // The baseline: a steady declination over the vowels, raised again after each comma.
  std::vector<int> order(list.Size(), -1);
  int vowelCount = 0;
  for (std::size_t i = 0; i < list.Size(); ++i)
    if (list[i].Kind() == synth::SegmentKind::kVowel) order[i] = vowelCount++;
  std::vector<float> level(list.Size(), 0.f);
  for (const Word& w : r.words) {
    for (int v : w.vowels) {
      const auto i = static_cast<std::size_t>(v);
      const float k = vowelCount > 1 ? static_cast<float>(order[i]) / (vowelCount - 1) : 0.f;
      level[i] = std::min(0.f, -t.declination * k + t.commaReset * static_cast<float>(w.clause));
    }
  }
  std::vector<float> endLevel;

  std::vector<int> nuclei;
  const int lastClause = r.clauses - 1;
  for (int c = 0; c < r.clauses; ++c) {
    std::vector<std::size_t> words;
    for (std::size_t k = 0; k < r.words.size(); ++k)
      if (r.words[k].clause == c) words.push_back(k);
    if (words.empty()) continue;
    const bool finalClause = c == lastClause;
    // The nucleus: the question word, else the accented word before mI, else the accented word
    // before the clause's last accented word (the verb), else that word.
    std::ptrdiff_t nucleus = -1;
    std::ptrdiff_t particle = -1;
    for (std::size_t k : words) {
      if (IsQuestionWord(r.words[k].letters) && r.words[k].stressed >= 0) {
        nucleus = static_cast<std::ptrdiff_t>(k);
        break;
      }
    }
    if (nucleus < 0) {
      for (std::size_t k : words) {
        if (IsQuestionParticle(r.words[k].letters)) {
          particle = static_cast<std::ptrdiff_t>(k);
          break;
        }
      }
      if (particle >= 0) {
        for (std::ptrdiff_t k = particle - 1; k >= static_cast<std::ptrdiff_t>(words.front()); --k)
          if (r.words[static_cast<std::size_t>(k)].stressed >= 0) {
            nucleus = k;
            break;
          }
      }
    }
    if (nucleus < 0 && particle < 0) {
      std::vector<std::size_t> accented;
      for (std::size_t k : words)
        if (r.words[k].stressed >= 0) accented.push_back(k);
      if (accented.size() >= 2)
        nucleus = static_cast<std::ptrdiff_t>(accented[accented.size() - 2]);
      else if (accented.size() == 1)
        nucleus = static_cast<std::ptrdiff_t>(accented[0]);
    }
    const bool yesNo = finalClause && type == SentenceType::kYesNoQuestion;
    for (std::size_t k : words) {
      Word& w = r.words[k];
      const auto kk = static_cast<std::ptrdiff_t>(k);
      if (nucleus >= 0 && kk > nucleus) {
        for (int v : w.vowels) level[static_cast<std::size_t>(v)] += t.afterNucleus;
        continue;
      }
      if (w.stressed < 0) continue;
      const auto s = static_cast<std::size_t>(w.stressed);
      if (kk < nucleus || nucleus < 0) {
        level[s] += t.prenuclearAccent * scale;
      } else if (yesNo) {
        // High from the stressed syllable to the end of the host: mI begins the fall.
        bool after = false;
        for (int v : w.vowels) {
          if (v == w.stressed) after = true;
          if (after) level[static_cast<std::size_t>(v)] = t.yesNoPeak;
        }
        level[s] = t.yesNoPeak - 0.5f;
        if (w.vowels.back() == w.stressed) level[s] = t.yesNoPeak;
      } else if (finalClause && type == SentenceType::kWhQuestion) {
        level[s] = t.whPeak;
      } else if (finalClause) {
        level[s] += t.nuclearAccent * scale;
      } else {
        level[s] += (t.prenuclearAccent + 0.5f) * scale;  // the nucleus of a non-final clause
      }
    }
    if (nucleus >= 0 && r.words[static_cast<std::size_t>(nucleus)].stressed >= 0)
      nuclei.push_back(r.words[static_cast<std::size_t>(nucleus)].stressed);
    // The particle starts the fall: from its level down to the end of the question.
    if (yesNo && particle >= 0) {
      std::vector<int> tail;
      for (std::size_t k = static_cast<std::size_t>(particle); k < r.words.size(); ++k)
        for (int v : r.words[k].vowels) tail.push_back(v);
      for (std::size_t j = 0; j < tail.size(); ++j) {
        const float x = tail.size() > 1 ? static_cast<float>(j) / (tail.size() - 1) : 1.f;
        level[static_cast<std::size_t>(tail[j])] = t.particle + (t.yesNoEnd - t.particle) * x;
      }
    }
  }

  for (std::size_t i = 0; i < list.Size(); ++i) {
    if (list[i].Kind() != synth::SegmentKind::kVowel) continue;
    float end = level[i];
    if (r.lateGlide[i]) end += t.softGRise;
    contour[i] = {level[i], end};
  }
  // Boundary tones on the last vowel of each clause.
  for (int c = 0; c < r.clauses; ++c) {
    int last = -1;
    for (const Word& w : r.words)
      if (w.clause == c) last = w.vowels.back();
    if (last < 0) continue;
    VowelPitch& p = contour[static_cast<std::size_t>(last)];
    if (c != lastClause) {
      p.endSemitones = std::max(p.startSemitones + t.continuationRise, t.continuationFloor);
      continue;
    }
    switch (type) {
      case SentenceType::kStatement:
        p.endSemitones = t.statementEnd;
        break;
      case SentenceType::kExclamation:
        p.endSemitones = t.exclamationEnd;
        break;
      case SentenceType::kOtherQuestion:
        p.endSemitones = t.questionRise;
        break;
      case SentenceType::kYesNoQuestion:
      case SentenceType::kWhQuestion:
        break;  // the fall after mI, a level end after a question word
    }
  }
  for (VowelPitch& p : contour) {
    p.startSemitones = std::clamp(p.startSemitones, -synth::kMaxSemitones, synth::kMaxSemitones);
    p.endSemitones = std::clamp(p.endSemitones, -synth::kMaxSemitones, synth::kMaxSemitones);
  }
  if (info != nullptr) {
    info->type = type;
    info->nucleusVowels = nuclei;
    info->stressed = r.stressed;
  }
  return true;
}

}  // namespace orvanel::prosody
