// The C interface of orvanel.h over the synthesis library.
#include "orvanel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include "codepage/codepage.h"
#include "library/built_in_units.h"
#include "library/synthesizer.h"

namespace {

using orvanel::library::Outcome;
using orvanel::library::TextEncoding;

}  // namespace

struct orvanel_tts {
  orvanel::library::BuiltInVoice data;
  orvanel::library::VoiceSettings voice;
  orvanel::library::Synthesizer synthesizer{data.units, &data.voice};
  std::string error;

  // A cancel counts only while a synthesis runs.
  std::mutex cancelLock;
  bool running = false;
  std::atomic<bool> cancelled{false};
};

namespace {

std::string_view TextOf(const char* text, std::ptrdiff_t length) {
  return length < 0 ? std::string_view(text)
                    : std::string_view(text, static_cast<std::size_t>(length));
}

// "speed 120 is out of range (0 to 99)"
int OutOfRange(orvanel_tts* tts, const char* what, double value, int lo, int hi) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %g is out of range (%d to %d)", what, value, lo, hi);
  tts->error = text;
  return ORVANEL_ERROR_ARGUMENT;
}

int SetValue(orvanel_tts* tts, const char* what, int value, int lo, int hi,
             std::atomic<std::uint16_t>& field) {
  tts->error.clear();
  if (value < lo || value > hi) return OutOfRange(tts, what, value, lo, hi);
  field.store(static_cast<std::uint16_t>(value), std::memory_order_relaxed);
  return ORVANEL_OK;
}

}  // namespace

extern "C" {

orvanel_tts* orvanel_new(void) {
  auto* tts = new (std::nothrow) orvanel_tts;
  if (tts == nullptr) return nullptr;
  std::string error;
  if (orvanel::library::LoadBuiltInVoice(tts->data, error) == 0) {
    delete tts;
    return nullptr;
  }
  return tts;
}

void orvanel_free(orvanel_tts* tts) { delete tts; }

int orvanel_set_speed(orvanel_tts* tts, int speed) {
  return tts ? SetValue(tts, "speed", speed, 0, 99, tts->voice.speed) : ORVANEL_ERROR_ARGUMENT;
}

int orvanel_set_pitch(orvanel_tts* tts, int pitch) {
  return tts ? SetValue(tts, "pitch", pitch, 1, 100, tts->voice.pitch) : ORVANEL_ERROR_ARGUMENT;
}

int orvanel_set_volume(orvanel_tts* tts, int percent) {
  return tts ? SetValue(tts, "volume", percent, 0, orvanel::library::kMaxVolume, tts->voice.volume)
             : ORVANEL_ERROR_ARGUMENT;
}

int orvanel_set_rate(orvanel_tts* tts, int percent) {
  return tts ? SetValue(tts, "rate", percent, orvanel::synth::kMinRatePercent,
                        orvanel::synth::kMaxRatePercent, tts->voice.ratePercent)
             : ORVANEL_ERROR_ARGUMENT;
}

int orvanel_set_semitones(orvanel_tts* tts, double semitones) {
  if (tts == nullptr) return ORVANEL_ERROR_ARGUMENT;
  tts->error.clear();
  const int limit = static_cast<int>(orvanel::synth::kMaxSemitones);
  if (!(semitones >= -limit) || !(semitones <= limit))
    return OutOfRange(tts, "semitones", semitones, -limit, limit);
  tts->voice.semitones.store(static_cast<float>(semitones), std::memory_order_relaxed);
  return ORVANEL_OK;
}

int orvanel_set_prosody(orvanel_tts* tts, int on) {
  if (tts == nullptr) return ORVANEL_ERROR_ARGUMENT;
  tts->error.clear();
  tts->voice.prosody.store(on != 0);
  return ORVANEL_OK;
}

int orvanel_set_reading(orvanel_tts* tts, int on) {
  if (tts == nullptr) return ORVANEL_ERROR_ARGUMENT;
  tts->error.clear();
  tts->voice.reading.store(on != 0);
  return ORVANEL_OK;
}

int orvanel_set_punctuation(orvanel_tts* tts, int level) {
  if (tts == nullptr || level < ORVANEL_PUNCTUATION_NONE || level > ORVANEL_PUNCTUATION_ALL) {
    return ORVANEL_ERROR_ARGUMENT;
  }
  static_assert(static_cast<int>(orvanel::reading::Punctuation::kSome) ==
                    ORVANEL_PUNCTUATION_SOME &&
                static_cast<int>(orvanel::reading::Punctuation::kAll) == ORVANEL_PUNCTUATION_ALL);
  tts->voice.punctuation.store(static_cast<orvanel::reading::Punctuation>(level));
  return ORVANEL_OK;
}

int orvanel_synthesize(orvanel_tts* tts, const char* text, std::ptrdiff_t length,
                       orvanel_audio_callback callback, void* user_data) {
  if (tts == nullptr) return ORVANEL_ERROR_ARGUMENT;
  tts->error.clear();
  if (text == nullptr || callback == nullptr) {
    tts->error = text == nullptr ? "no text" : "no callback";
    return ORVANEL_ERROR_ARGUMENT;
  }
  {
    std::lock_guard lock(tts->cancelLock);
    tts->running = true;
    tts->cancelled.store(false);
  }
  Outcome outcome = Outcome::kFinished;
  int result = ORVANEL_OK;
  try {
    outcome = tts->synthesizer.Speak(
        TextOf(text, length), TextEncoding::kUtf8, tts->voice,
        [&](const orvanel::library::Stretch& s) {
          const orvanel_stretch stretch{s.samples,      s.sampleCount,
                                        s.sampleRate,   s.textBegin,
                                        s.textEnd,      static_cast<std::size_t>(s.dropped.samples),
                                        s.dropped.line, s.dropped.column};
          return callback(&stretch, user_data) == 0;
        },
        [tts](std::size_t, std::size_t) { return tts->cancelled.load(std::memory_order_relaxed); });
  } catch (const std::bad_alloc&) {
    tts->error = "out of memory";
    result = ORVANEL_ERROR_MEMORY;
  }
  {
    std::lock_guard lock(tts->cancelLock);
    tts->running = false;
    tts->cancelled.store(false);
  }
  if (result != ORVANEL_OK) return result;
  switch (outcome) {
    case Outcome::kFinished:
      return ORVANEL_OK;
    case Outcome::kSinkStopped:
      return ORVANEL_STOPPED;
    case Outcome::kCancelled:
      return ORVANEL_CANCELLED;
    default:
      tts->error = tts->synthesizer.error();
      return ORVANEL_ERROR_INPUT;
  }
}

void orvanel_cancel(orvanel_tts* tts) {
  if (tts == nullptr) return;
  std::lock_guard lock(tts->cancelLock);
  if (tts->running) tts->cancelled.store(true);
}

char* orvanel_phonetic(orvanel_tts* tts, const char* text, std::ptrdiff_t length) {
  if (tts == nullptr) return nullptr;
  tts->error.clear();
  if (text == nullptr) {
    tts->error = "no text";
    return nullptr;
  }
  try {
    std::string phonetic;
    if (!tts->synthesizer.Transcribe(TextOf(text, length), TextEncoding::kUtf8, tts->voice,
                                     phonetic)) {
      tts->error = tts->synthesizer.error();
      return nullptr;
    }
    const std::string utf8 = orvanel::codepage::Cp1254ToUtf8(phonetic);
    char* out = static_cast<char*>(std::malloc(utf8.size() + 1));
    if (out == nullptr) {
      tts->error = "out of memory";
      return nullptr;
    }
    std::memcpy(out, utf8.c_str(), utf8.size() + 1);
    return out;
  } catch (const std::bad_alloc&) {
    tts->error = "out of memory";
    return nullptr;
  }
}

void orvanel_string_free(char* text) { std::free(text); }

const char* orvanel_last_error(const orvanel_tts* tts) {
  return tts != nullptr ? tts->error.c_str() : "no instance";
}

const char* orvanel_version(void) { return ORVANEL_VERSION_TEXT; }

}  // extern "C"
