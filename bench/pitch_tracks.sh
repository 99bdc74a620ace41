#!/bin/sh
# Pitch-track figures of the prosody note (docs/prosody/prosody.md): six sentences read through
# the reading stage with prosody on, and by espeak-ng's Turkish voice side by side, each
# measured by orvanel-pitch-stats (10 ms frames; voiced stretches of 40 ms or more; the share
# whose pitch spans less than 0.3 semitones; the largest step between neighbouring voiced
# frames; peak and final fall in semitones re 113.66 Hz).
# Usage: bench/pitch_tracks.sh [BUILD_DIR]   (default build/dev; SAY=... to measure another
# orvanel-say, ESPEAK=none to leave espeak-ng out)
set -eu
build=${1:-build/dev}
say=${SAY:-$build/cli/orvanel-say}
stats=${STATS:-$build/tools/prosody/orvanel-pitch-stats}
espeak=${ESPEAK:-espeak-ng}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

n=0
while IFS='|' read -r name text; do
  n=$((n + 1))
  "$say" --prosody -w "$out/o$n-$name.wav" "$text"
  if [ "$espeak" != none ]; then "$espeak" -v tr -w "$out/e$n-$name.wav" "$text"; fi
done <<'SENTENCES'
statement|Annem bugün eve geldi.
yesno|Annem bugün eve geldi mi?
wh|Annem bugün nereye gitti?
list|Pazardan elma, armut, üzüm ve portakal aldım.
aside|Komşumuz Ali (bizim apartmanın yöneticisi) dün akşam geldi.
colon|Bunu unutmayın: yarın sabah erkenden yola çıkacağız.
SENTENCES

report() {
  "$stats" "$@" | awk -F'\t' '
    NR == 1 { print; next }
    { sub(".*/", "", $1); print; s += $2; f += $3; if ($5 > m) m = $5
      if ($1 ~ /statement/) sp = $6; if ($1 ~ /yesno/) qp = $6 }
    END { printf "all six: %d stretches, %d flat (%.1f %%), largest step %.2f st; " \
                 "question peak over statement peak %+.2f st\n", s, f, 100 * f / s, m, qp - sp }'
}
echo "orvanel-say --prosody ($say)"
report "$out"/o*.wav
if [ "$espeak" != none ]; then
  echo "espeak-ng -v tr"
  report "$out"/e*.wav
fi
