#!/bin/sh
# CPU seconds (user+system) of the prosody path on the 979 bench sentences, beside espeak-ng's
# Turkish voice on the same file, alternating RUNS times (default 9); prints each run and the
# medians with their ratios. BEFORE=path/to/another/orvanel-say adds it to every run.
# Usage: bench/prosody_cost.sh [BUILD_DIR]   (default build/rel: a Release build of orvanel-say)
set -eu
build=${1:-build/rel}
say=$build/cli/orvanel-say
file=bench/data/turkish-sentences.txt
runs=${RUNS:-9}
cpu() { /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1 + $2 }'; }
i=0
while [ $i -lt "$runs" ]; do
  i=$((i + 1))
  b=-
  if [ -n "${BEFORE:-}" ]; then b=$(cpu "$BEFORE" --prosody -w /dev/null -f "$file"); fi
  a=$(cpu "$say" --prosody -w /dev/null -f "$file")
  e=$(cpu espeak-ng -v tr -q --stdout -f "$file")
  echo "$b $a $e"
done | awk '
  { print "run " NR ": before " $1 " s, this build " $2 " s, espeak-ng " $3 " s"
    b[NR] = $1; a[NR] = $2; e[NR] = $3 }
  function median(x, n,   i, j, t) {
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (x[j] < x[i]) { t = x[i]; x[i] = x[j]; x[j] = t }
    return x[int((n + 1) / 2)]
  }
  END { n = NR; mb = median(b, n); ma = median(a, n); me = median(e, n)
        printf "median: this build %.2f s, espeak-ng %.2f s: %.1fx less CPU", ma, me, me / ma
        if (mb != "-" && mb > 0) printf "; before %.2f s (%.1fx), this build / before %.2f", mb, me / mb, ma / mb
        printf "\n" }'
