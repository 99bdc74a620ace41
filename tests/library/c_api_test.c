/* The C interface from a C99 program: defaults, settings, errors, two instances speaking at once
 * on two threads (each must give the same samples as one instance alone), and a cancel from a
 * third thread. Exits 0 when every check holds. */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "orvanel.h"

static int failures = 0;
#define CHECK(cond)                                                            \
  do {                                                                         \
    if (!(cond)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                              \
    }                                                                          \
  } while (0)

typedef struct {
  unsigned long long sum; /* a checksum of every sample, in order */
  size_t samples;
  size_t stretches;
  unsigned rate;
} Tally;

static int tally(const orvanel_stretch* s, void* user) {
  Tally* t = (Tally*)user;
  size_t i;
  for (i = 0; i < s->sample_count; ++i)
    t->sum = t->sum * 31u + (unsigned long long)(s->samples[i] + 32768);
  t->samples += s->sample_count;
  t->stretches += 1;
  t->rate = s->sample_rate;
  return 0;
}

/* Counts the stretches that lost speech, and where the first loss began. */
typedef struct {
  size_t stretches;
  size_t lossy;
  size_t line;
  size_t column;
} Dropped;

static int note_dropped(const orvanel_stretch* s, void* user) {
  Dropped* d = (Dropped*)user;
  d->stretches += 1;
  if (s->dropped_samples > 0) {
    if (d->lossy == 0) {
      d->line = s->dropped_line;
      d->column = s->dropped_column;
    }
    d->lossy += 1;
  } else if (s->dropped_line != 0) {
    d->lossy += 100; /* a place without a loss is a fault */
  }
  return 0;
}

static const char kText[] =
    "Merhaba d\xC3\xBCnya. Bu bir denemedir. Sa\xC3\xA7ma sapan bir c\xC3\xBCmle daha.";

typedef struct {
  orvanel_tts* tts;
  Tally tally;
  int result;
} Job;

static void* speak(void* arg) {
  Job* job = (Job*)arg;
  job->result = orvanel_synthesize(job->tts, kText, -1, tally, &job->tally);
  return NULL;
}

/* Cancelling: the callback says when the first stretch has come, a third thread cancels. */
typedef struct {
  orvanel_tts* tts;
  pthread_mutex_t lock;
  pthread_cond_t first;
  int started;
  size_t stretches_after_cancel;
  int cancelled;
} CancelState;

static int count_and_signal(const orvanel_stretch* s, void* user) {
  CancelState* c = (CancelState*)user;
  (void)s;
  pthread_mutex_lock(&c->lock);
  if (c->cancelled) c->stretches_after_cancel += 1;
  c->started = 1;
  pthread_cond_signal(&c->first);
  pthread_mutex_unlock(&c->lock);
  return 0;
}

static void* cancel_when_started(void* arg) {
  CancelState* c = (CancelState*)arg;
  pthread_mutex_lock(&c->lock);
  while (!c->started) pthread_cond_wait(&c->first, &c->lock);
  orvanel_cancel(c->tts);
  c->cancelled = 1;
  pthread_mutex_unlock(&c->lock);
  return NULL;
}

int main(void) {
  orvanel_tts* a = orvanel_new();
  orvanel_tts* b = orvanel_new();
  Tally alone;
  Job ja, jb;
  pthread_t ta, tb, tc;
  char* phonetic;
  char* long_text;
  size_t i;
  CancelState c;
  int r;

  CHECK(a != NULL && b != NULL);
  CHECK(strcmp(orvanel_version(), "") != 0);
  /* A new instance speaks with prosody: the transcription has its stress marks. The checks
   * after this one are of the flat voice. */
  phonetic = orvanel_phonetic(a, "Eve geliyor musun?", -1);
  CHECK(phonetic != NULL && strcmp(phonetic, "EVe` ~Ge~Li`Yor MuSun?") == 0);
  orvanel_string_free(phonetic);
  CHECK(orvanel_set_prosody(a, 0) == ORVANEL_OK && orvanel_set_prosody(b, 0) == ORVANEL_OK);
  CHECK(orvanel_set_speed(a, 100) == ORVANEL_ERROR_ARGUMENT);
  CHECK(strcmp(orvanel_last_error(a), "speed 100 is out of range (0 to 99)") == 0);
  CHECK(orvanel_set_speed(a, 50) == ORVANEL_OK);
  CHECK(strcmp(orvanel_last_error(a), "") == 0); /* the last call only */
  CHECK(orvanel_set_pitch(a, 0) == ORVANEL_ERROR_ARGUMENT);
  CHECK(strcmp(orvanel_last_error(a), "pitch 0 is out of range (1 to 100)") == 0);
  CHECK(orvanel_set_volume(a, 201) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_volume(NULL, 100) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_rate(a, 24) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_rate(a, 401) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_semitones(a, 6.5) == ORVANEL_ERROR_ARGUMENT);
  CHECK(strcmp(orvanel_last_error(a), "semitones 6.5 is out of range (-6 to 6)") == 0);
  CHECK(orvanel_set_semitones(a, -6.5) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_synthesize(a, NULL, -1, tally, NULL) == ORVANEL_ERROR_ARGUMENT);
  CHECK(strcmp(orvanel_last_error(a), "no text") == 0);

  /* Invalid UTF-8 names its byte offset. */
  memset(&alone, 0, sizeof alone);
  CHECK(orvanel_synthesize(a, "ab\xFF", -1, tally, &alone) == ORVANEL_ERROR_INPUT);
  CHECK(strcmp(orvanel_last_error(a), "input is not valid UTF-8 (byte offset 2)") == 0);
  CHECK(orvanel_phonetic(a, "\xC3", 1) == NULL);

  /* A sentence too long for one stretch: the literal reading says where it lost speech, the
   * Turkish reading loses none. */
  long_text = (char*)malloc(150 * 6 + 1);
  long_text[0] = '\0';
  for (i = 0; i < 150; ++i) strcat(long_text, i % 2 ? "masa " : "kalem ");
  for (r = 0; r < 2; ++r) {
    Dropped d;
    memset(&d, 0, sizeof d);
    CHECK(orvanel_set_reading(a, r) == ORVANEL_OK);
    CHECK(orvanel_synthesize(a, long_text, -1, note_dropped, &d) == ORVANEL_OK);
    CHECK(d.stretches >= (r == 1 ? 2u : 1u));
    CHECK(r == 1 ? d.lossy == 0 : (d.lossy == 1 && d.line == 1 && d.column > 1));
  }
  free(long_text);
  long_text = NULL;

  /* Literal reading gives the transcription as written. */
  CHECK(orvanel_set_reading(a, 0) == ORVANEL_OK);
  phonetic = orvanel_phonetic(a, "T\xC3\xBCrk 12.", -1);
  CHECK(phonetic != NULL && strcmp(phonetic, "T\xC3\xBCr~k On\xC4\xB0~ki.") == 0);
  orvanel_string_free(phonetic);

  /* One instance alone, then two at once on two threads: the same samples. */
  memset(&alone, 0, sizeof alone);
  CHECK(orvanel_synthesize(a, kText, -1, tally, &alone) == ORVANEL_OK);
  CHECK(alone.stretches == 3 && alone.samples > 22050 && alone.rate == 22050);
  CHECK(orvanel_set_reading(b, 0) == ORVANEL_OK);
  memset(&ja, 0, sizeof ja);
  memset(&jb, 0, sizeof jb);
  ja.tts = a;
  jb.tts = b;
  pthread_create(&ta, NULL, speak, &ja);
  pthread_create(&tb, NULL, speak, &jb);
  pthread_join(ta, NULL);
  pthread_join(tb, NULL);
  CHECK(ja.result == ORVANEL_OK && jb.result == ORVANEL_OK);
  CHECK(ja.tally.sum == alone.sum && ja.tally.samples == alone.samples);
  CHECK(jb.tally.sum == alone.sum && jb.tally.samples == alone.samples);

  /* Twice the rate, half the samples (within a tenth); the shift keeps the length. */
  CHECK(orvanel_set_rate(b, 200) == ORVANEL_OK);
  memset(&jb.tally, 0, sizeof jb.tally);
  CHECK(orvanel_synthesize(b, kText, -1, tally, &jb.tally) == ORVANEL_OK);
  CHECK(jb.tally.samples * 2 > alone.samples * 9 / 10 &&
        jb.tally.samples * 2 < alone.samples * 11 / 10);
  CHECK(orvanel_set_rate(b, 100) == ORVANEL_OK && orvanel_set_semitones(b, -4) == ORVANEL_OK);
  memset(&jb.tally, 0, sizeof jb.tally);
  CHECK(orvanel_synthesize(b, kText, -1, tally, &jb.tally) == ORVANEL_OK);
  CHECK(jb.tally.sum != alone.sum && jb.tally.samples > alone.samples * 98 / 100 &&
        jb.tally.samples < alone.samples * 102 / 100);
  CHECK(orvanel_set_semitones(b, 0) == ORVANEL_OK);

  /* Prosody marks the stress in the transcription and changes the sound. */
  CHECK(orvanel_set_prosody(b, 1) == ORVANEL_OK);
  phonetic = orvanel_phonetic(b, "Eve geliyor musun?", -1);
  CHECK(phonetic != NULL && strcmp(phonetic, "EVe` ~Ge~Li`Yor MuSun?") == 0);
  orvanel_string_free(phonetic);
  memset(&jb.tally, 0, sizeof jb.tally);
  CHECK(orvanel_synthesize(b, kText, -1, tally, &jb.tally) == ORVANEL_OK &&
        jb.tally.sum != alone.sum);
  CHECK(orvanel_set_prosody(b, 0) == ORVANEL_OK);

  /* The punctuation level: none hears the colon as a pause (the mark 0x15), all names it; the
   * literal reading ignores the level. */
  CHECK(orvanel_set_punctuation(b, 3) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_punctuation(b, -1) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_punctuation(NULL, ORVANEL_PUNCTUATION_NONE) == ORVANEL_ERROR_ARGUMENT);
  CHECK(orvanel_set_reading(b, 1) == ORVANEL_OK);
  phonetic = orvanel_phonetic(b, "Karar: kabul", -1);
  CHECK(phonetic != NULL && strcmp(phonetic, "KaRar\x15 KaBul") == 0);
  orvanel_string_free(phonetic);
  CHECK(orvanel_set_punctuation(b, ORVANEL_PUNCTUATION_ALL) == ORVANEL_OK);
  phonetic = orvanel_phonetic(b, "Karar: kabul", -1);
  CHECK(phonetic != NULL && strstr(phonetic, "NokTa") != NULL && strchr(phonetic, 0x15) != NULL);
  orvanel_string_free(phonetic);
  CHECK(orvanel_set_reading(b, 0) == ORVANEL_OK);
  phonetic = orvanel_phonetic(b, "Karar: kabul", -1);
  CHECK(phonetic != NULL && strchr(phonetic, 0x15) == NULL && strstr(phonetic, "NokTa") != NULL);
  orvanel_string_free(phonetic);
  CHECK(orvanel_set_punctuation(b, ORVANEL_PUNCTUATION_NONE) == ORVANEL_OK);

  /* A higher pitch plays faster. */
  CHECK(orvanel_set_pitch(b, 100) == ORVANEL_OK);
  memset(&jb.tally, 0, sizeof jb.tally);
  CHECK(orvanel_synthesize(b, "Bir.", -1, tally, &jb.tally) == ORVANEL_OK);
  CHECK(jb.tally.rate == 33075);

  /* A cancel from a third thread ends a long text after its first stretch. */
  long_text = malloc(200 * sizeof kText);
  long_text[0] = '\0';
  for (i = 0; i < 200; ++i) strcat(long_text, kText);
  memset(&c, 0, sizeof c);
  c.tts = a;
  pthread_mutex_init(&c.lock, NULL);
  pthread_cond_init(&c.first, NULL);
  pthread_create(&tc, NULL, cancel_when_started, &c);
  r = orvanel_synthesize(a, long_text, -1, count_and_signal, &c);
  pthread_join(tc, NULL);
  CHECK(r == ORVANEL_CANCELLED);
  CHECK(c.stretches_after_cancel == 0);
  /* The cancel is spent: the next synthesis runs to its end. */
  memset(&alone, 0, sizeof alone);
  CHECK(orvanel_synthesize(a, "Tamam.", -1, tally, &alone) == ORVANEL_OK && alone.stretches == 1);
  orvanel_cancel(a); /* idle: no effect */
  memset(&alone, 0, sizeof alone);
  CHECK(orvanel_synthesize(a, "Tamam.", -1, tally, &alone) == ORVANEL_OK && alone.stretches == 1);

  free(long_text);
  pthread_mutex_destroy(&c.lock);
  pthread_cond_destroy(&c.first);
  orvanel_free(a);
  orvanel_free(b);
  orvanel_free(NULL);
  if (failures == 0) printf("c api: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
