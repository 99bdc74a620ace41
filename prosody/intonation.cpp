#include "prosody/intonation.h"

#include <algorithm>
#include <string>

#include "frontend/letter_tables.h"
#include "prosody/word_stress.h"

namespace orvanel::prosody {
namespace {

using synth::Segment;
using synth::SegmentList;
using synth::VowelPitch;

struct Word {
  std::string letters;      // lower case, marks removed
  std::vector<int> vowels;  // segment indices
  int stressed = -1;        // segment index of the marked vowel
  int clause = 0;
};

struct Reading {
  std::vector<Word> words;
  std::vector<bool> stressed;
  std::vector<bool> lateGlide;
  std::vector<synth::SegmentKind> kinds;
  char end = 0;
  int clauses = 1;
};

// Walks the stretch's text as the planner does and notes, per segment, what the planner does not
// keep: stress marks, soft-g glides, words and clauses.
Reading Read(std::string_view text) {
  Reading r;
  int lastVowel = -1;
  int previousVowel = -1;  // vowel unit of the previous record, -1 when it was not a vowel
  bool inWord = false;
  for (const char ch : text) {
    if (ch == '\0') break;
    if (ch == frontend::kFrontMark) continue;
    if (lastVowel >= 0 && (ch == frontend::kStressMark || ch == frontend::kLateGlideMark ||
                           ch == frontend::kEarlyGlideMark)) {
      const auto v = static_cast<std::size_t>(lastVowel);
      if (ch == frontend::kStressMark) {
        r.stressed[v] = true;
        for (Word& w : r.words) {
          if (std::find(w.vowels.begin(), w.vowels.end(), lastVowel) != w.vowels.end() &&
              w.stressed < 0)
            w.stressed = lastVowel;
        }
      }
      if (ch == frontend::kLateGlideMark) r.lateGlide[v] = true;
      previousVowel = -1;
      continue;
    }
    synth::SegmentKind kind = synth::SegmentKind::kNone;
    switch (ch) {
      case '\r':
      case ' ':
      case ',':
        kind = synth::SegmentKind::kPause;
        break;
      case '!':
      case '.':
      case ':':
      case ';':
      case '?':
        kind = synth::SegmentKind::kSentenceEnd;
        break;
      default:
        if (frontend::VowelLookup(ch) >= 0) {
          kind = synth::SegmentKind::kVowel;
        } else if (frontend::ConsonantLookup(ch) >= 0) {
          kind = (frontend::ConsonantLookup(ch) & 1) == 0 ? synth::SegmentKind::kOnset
                                                          : synth::SegmentKind::kCoda;
        }
    }
    if (kind == synth::SegmentKind::kVowel || kind == synth::SegmentKind::kOnset ||
        kind == synth::SegmentKind::kCoda) {
      if (!inWord) {
        r.words.push_back({});
        r.words.back().clause = r.clauses - 1;
        inWord = true;
      }
      r.words.back().letters.push_back(frontend::ToLowerLetter(ch));
    } else if (kind == synth::SegmentKind::kPause || kind == synth::SegmentKind::kSentenceEnd) {
      inWord = false;
      if (ch == ',') ++r.clauses;
    }
    const int unit = kind == synth::SegmentKind::kVowel ? frontend::VowelLookup(ch) / 2 : -1;
    if (kind == synth::SegmentKind::kVowel && unit == previousVowel) {
      // merged into the previous vowel
    } else if (kind != synth::SegmentKind::kNone) {
      r.kinds.push_back(kind);
      r.stressed.push_back(false);
      r.lateGlide.push_back(false);
      if (kind == synth::SegmentKind::kVowel) {
        lastVowel = static_cast<int>(r.kinds.size()) - 1;
        r.words.back().vowels.push_back(lastVowel);
      }
    }
    previousVowel = unit;
    if (kind == synth::SegmentKind::kSentenceEnd) {
      r.end = ch;
      break;
    }
  }
  // A comma right before the sentence end opens no clause of its own.
  int last = 0;
  for (const Word& w : r.words) last = std::max(last, w.clause);
  r.clauses = last + 1;
  return r;
}

}  // namespace

void PrepareSegmentsForProsody(SegmentList& list, std::vector<bool>& stressed) {
  stressed.assign(list.Size(), false);
  for (std::size_t i = 0; i < list.Size(); ++i) {
    Segment& s = list[i];
    if (s.Kind() != synth::SegmentKind::kVowel) continue;
    stressed[i] = s.lengthPercent != 100;
    s.lengthPercent = 100;
    s.glideSteps = 0;
  }
}

bool ContourForStretch(const SegmentList& list, std::string_view text,
                       std::vector<VowelPitch>& contour, const IntonationTargets& t,
                       StretchIntonation* info) {
  contour.assign(list.Size(), VowelPitch{});
  Reading r = Read(text);
  bool same = r.kinds.size() == list.Size();
  for (std::size_t i = 0; same && i < list.Size(); ++i) same = list[i].Kind() == r.kinds[i];
  if (info != nullptr) *info = {};
  if (!same) return false;

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
