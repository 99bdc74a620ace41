#!/usr/bin/env bash
# orvanel-say -w - against espeak-ng --stdout on the same text, in one run: CPU seconds, their
# ratio, peak memory, and the time from process start to the first sample on standard output
# (the first two bytes after the 44-byte WAV header). orvanel-say's default is the natural
# reading with prosody; --no-prosody and --literal are the flat voice.
# Usage: bench/streaming.sh ORVANEL_SAY [TEXT]   (BIG=1 also streams a 50 MB text)
set -euo pipefail
say=$(realpath "${1:?usage: $0 ORVANEL_SAY [TEXT]}")
text=${2:-$(dirname "$0")/data/turkish-sentences.txt}
command -v espeak-ng >/dev/null || { echo "espeak-ng is missing (scripts/install-deps.sh bench)"; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU seconds (user + system) and peak resident memory of one command, its output discarded.
measure() {
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" > /dev/null 2> "$work/err" || {
    cat "$work/err" >&2; return 1; }
  read -r user sys rss < "$work/time"
  echo "$(echo "$user + $sys" | bc -l) $rss"
}

printf "%-34s %10s %12s\n" "command ($(wc -l < "$text") sentences)" "CPU s" "peak RSS"
read -r o_cpu o_rss < <(measure "$say" -w - -f "$text")
read -r n_cpu n_rss < <(measure "$say" -w - --no-prosody -f "$text")
read -r l_cpu l_rss < <(measure "$say" -w - --literal -f "$text")
read -r e_cpu e_rss < <(measure espeak-ng -v tr --stdout -f "$text")
printf "%-34s %10.2f %9d KiB\n" "orvanel-say -w -" "$o_cpu" "$o_rss"
printf "%-34s %10.2f %9d KiB\n" "orvanel-say -w - --no-prosody" "$n_cpu" "$n_rss"
printf "%-34s %10.2f %9d KiB\n" "orvanel-say -w - --literal" "$l_cpu" "$l_rss"
printf "%-34s %10.2f %9d KiB\n" "espeak-ng -v tr --stdout" "$e_cpu" "$e_rss"
printf "CPU ratio orvanel / espeak-ng: %.3f (target at most 0.1, aim 0.05)\n" \
  "$(echo "$o_cpu / $e_cpu" | bc -l)"

# Time to the first sample of a short sentence, over 20 runs each; the median.
python3 - "$say" <<'PY'
import statistics, subprocess, sys, time
say = sys.argv[1]
def first_sample(cmd):
    t0 = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    p.stdout.read(46)
    t = time.perf_counter() - t0
    p.stdout.read(); p.wait()
    return t * 1000
for name, cmd in (("orvanel-say -w -", [say, "-w", "-", "Merhaba, nasılsın?"]),
                  ("espeak-ng --stdout", ["espeak-ng", "-v", "tr", "--stdout", "Merhaba, nasılsın?"])):
    runs = sorted(first_sample(cmd) for _ in range(20))
    print(f"first sample, {name:20s} median {statistics.median(runs):6.1f} ms, max {runs[-1]:6.1f} ms")
PY

if [ "${BIG:-0}" = 1 ]; then
  while [ "$(stat -c %s "$work/big.txt" 2>/dev/null || echo 0)" -lt 52428800 ]; do
    cat "$text" >> "$work/big.txt"
  done
  read -r b_cpu b_rss < <(measure "$say" -w - -f "$work/big.txt")
  printf "%-34s %10.2f %9d KiB\n" "orvanel-say -w - (50 MB text)" "$b_cpu" "$b_rss"
fi
