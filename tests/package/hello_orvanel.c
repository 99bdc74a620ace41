/* A program against the installed library: speaks a sentence into a callback, counts samples. */
#include <orvanel.h>
#include <stdio.h>

static int count(const orvanel_stretch *stretch, void *user) {
  *(size_t *)user += stretch->sample_count;
  return 0;
}

int main(void) {
  size_t samples = 0;
  orvanel_tts *tts = orvanel_new();
  if (tts == NULL) return 1;
  if (orvanel_synthesize(tts, "Merhaba d\xC3\xBCnya.", -1, count, &samples) != ORVANEL_OK) {
    fprintf(stderr, "%s\n", orvanel_last_error(tts));
    return 1;
  }
  printf("orvanel %s: %zu samples\n", orvanel_version(), samples);
  orvanel_free(tts);
  return samples > 0 ? 0 : 1;
}
