/* orvanel.h: the C interface of Orvanel, a small Turkish text-to-speech synthesizer.
 *
 * Text goes in as UTF-8; speech comes out as 16-bit signed mono PCM, one stretch (about one
 * sentence) at a time, handed to a callback as soon as it is rendered. The library opens no
 * device, starts no thread and keeps no process-wide state: every instance is independent, and
 * different instances may be used on different threads at the same time.
 *
 *   orvanel_tts *tts = orvanel_new();
 *   orvanel_set_speed(tts, 40);
 *   if (orvanel_synthesize(tts, "Merhaba dünya.", -1, on_audio, &my_state) < 0)
 *     fprintf(stderr, "%s\n", orvanel_last_error(tts));
 *   orvanel_free(tts);
 *
 * Build with: cc prog.c $(pkg-config --cflags --libs orvanel)
 */
#ifndef ORVANEL_H
#define ORVANEL_H

#include <stddef.h>
#include <stdint.h>

#if defined(ORVANEL_BUILDING_LIBRARY)
#define ORVANEL_API __attribute__((visibility("default")))
#else
#define ORVANEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* An instance: its settings, its last error and its synthesis state. */
typedef struct orvanel_tts orvanel_tts;

/* Results of orvanel_synthesize and of the setters. */
enum {
  ORVANEL_OK = 0,              /* the whole text was spoken */
  ORVANEL_STOPPED = 1,         /* the callback returned nonzero */
  ORVANEL_CANCELLED = 2,       /* orvanel_cancel was called */
  ORVANEL_ERROR_ARGUMENT = -1, /* a null instance or text, or a value out of range */
  ORVANEL_ERROR_INPUT = -2,    /* the text is not valid UTF-8 (see orvanel_last_error) */
  ORVANEL_ERROR_MEMORY = -3    /* out of memory */
};

/* One rendered stretch. The samples are valid only during the callback. */
typedef struct orvanel_stretch {
  const int16_t* samples; /* 16-bit signed mono PCM, native byte order */
  size_t sample_count;
  unsigned sample_rate; /* samples per second; depends on the pitch setting */
  size_t text_begin;    /* the bytes of the text it was read from: [text_begin, text_end) */
  size_t text_end;
  /* Speech the stretch could not hold, which only the literal reading (orvanel_set_reading 0)
   * loses: a sentence longer than about 47.5 s is cut there. Every other reading ends such a
   * stretch at a phrase or word boundary and goes on in the next one, so nothing is lost.
   * dropped_samples is 0 when nothing was lost; else the lost speech begins at dropped_line and
   * dropped_column (1-based, the column in characters) of the text. */
  size_t dropped_samples;
  size_t dropped_line;
  size_t dropped_column;
} orvanel_stretch;

/* Receives each stretch; a nonzero return stops synthesis (orvanel_synthesize then returns
 * ORVANEL_STOPPED). Called on the thread that called orvanel_synthesize. */
typedef int (*orvanel_audio_callback)(const orvanel_stretch* stretch, void* user_data);

/* A new instance with the default settings (speed 50, pitch 50, volume 100, rate 100,
 * 0 semitones, Turkish reading on, punctuation none, prosody on), or NULL when there is no
 * memory. */
ORVANEL_API orvanel_tts* orvanel_new(void);
/* Frees an instance; NULL is allowed. It must not be synthesizing. */
ORVANEL_API void orvanel_free(orvanel_tts* tts);

/* Settings; each returns ORVANEL_OK, or ORVANEL_ERROR_ARGUMENT for a value out of range (the
 * setting then keeps its value, and orvanel_last_error says which value and range). They may be
 * called from any thread, also during synthesis: pitch and volume apply from the next stretch,
 * speed from the next vowel. */
ORVANEL_API int orvanel_set_speed(orvanel_tts* tts, int speed);    /* 0 fastest .. 99 slowest */
ORVANEL_API int orvanel_set_pitch(orvanel_tts* tts, int pitch);    /* 1 lowest .. 100 highest */
ORVANEL_API int orvanel_set_volume(orvanel_tts* tts, int percent); /* 0 .. 200; 100 unchanged */
/* The speaking rate in percent of the normal rate, 25 .. 400 (default 100). Vowels, consonants
 * and pauses all shrink or grow, without a change of pitch; it scales the timing that the speed
 * gives. Read once per stretch. */
ORVANEL_API int orvanel_set_rate(orvanel_tts* tts, int percent);
/* A pitch shift in semitones, -6 .. 6 (default 0), that keeps the tempo and the vowels'
 * formants; the pitch setting (the playback rate) still applies on top. Read once per stretch. */
ORVANEL_API int orvanel_set_semitones(orvanel_tts* tts, double semitones);
/* 1: read numbers, dates, abbreviations and the like as Turkish (the default); 0: the literal
 * reading, the text exactly as written, as the window's Preprocess shows it. */
ORVANEL_API int orvanel_set_reading(orvanel_tts* tts, int on);
/* How much punctuation the Turkish reading says aloud. Whatever the level, the punctuation of
 * prose (parentheses, quotes, dashes, a colon, a semicolon, an ellipsis, line ends) is heard as
 * pauses. NONE (the default): prose punctuation is not said, signs are said where they mean
 * something ("3 + 4 = 7", "%20"); SOME: every other sign is said by its name too ("#" diyez, "*"
 * yıldız); ALL: every mark is said by its name ("nokta", "virgül", "parantez aç"). The literal
 * reading (orvanel_set_reading(tts, 0)) reads the text as written, whatever this setting. Read
 * once per call. */
enum { ORVANEL_PUNCTUATION_NONE = 0, ORVANEL_PUNCTUATION_SOME = 1, ORVANEL_PUNCTUATION_ALL = 2 };
ORVANEL_API int orvanel_set_punctuation(orvanel_tts* tts, int level);
/* 1: prosody mode, automatic Turkish word stress and sentence intonation (statements fall,
 * yes/no questions peak before the particle mI, phrases rise or fall at their punctuation; the
 * default); 0: the flat voice of the literal reading. Read once per call. */
ORVANEL_API int orvanel_set_prosody(orvanel_tts* tts, int on);

/* Speaks length bytes of UTF-8 text (length -1: up to the terminating zero), calling callback
 * for every stretch in order. Returns ORVANEL_OK, ORVANEL_STOPPED, ORVANEL_CANCELLED or a
 * negative error. */
ORVANEL_API int orvanel_synthesize(orvanel_tts* tts, const char* text, ptrdiff_t length,
                                   orvanel_audio_callback callback, void* user_data);

/* Asks a running orvanel_synthesize on this instance to stop; it returns ORVANEL_CANCELLED
 * within one segment's render time (a few milliseconds). Safe from any thread; does nothing
 * when the instance is idle (a later synthesis is not affected). */
ORVANEL_API void orvanel_cancel(orvanel_tts* tts);

/* The phonetic transcription of a UTF-8 text, as UTF-8 in a new string that the caller frees
 * with orvanel_string_free; NULL on an error (see orvanel_last_error). */
ORVANEL_API char* orvanel_phonetic(orvanel_tts* tts, const char* text, ptrdiff_t length);
ORVANEL_API void orvanel_string_free(char* text);

/* What went wrong in the last call on this instance (every call but orvanel_cancel counts), in
 * English, e.g. "input is not valid UTF-8 (byte offset 7)" or "speed 120 is out of range (0 to
 * 99)"; "" when that call succeeded. Valid until the next call on the instance. */
ORVANEL_API const char* orvanel_last_error(const orvanel_tts* tts);

/* The library's version, "MAJOR.MINOR.PATCH". */
ORVANEL_API const char* orvanel_version(void);

#ifdef __cplusplus
}
#endif

#endif /* ORVANEL_H */
