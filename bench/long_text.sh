#!/usr/bin/env bash
# The front end with stress marks against the literal one on a long real text: the Turkish
# manual pages (Debian package manpages-tr), rendered as plain text, with the characters that
# Windows-1254 lacks dropped. Then prosody_bench's front-end benchmarks, the long text among them.
# Usage: bench/long_text.sh PROSODY_BENCH [benchmark flags...]
set -euo pipefail
bench=$(realpath "${1:?usage: $0 PROSODY_BENCH [benchmark flags...]}")
shift
pages=/usr/share/man/tr
[ -d "$pages" ] || { echo "no Turkish manual pages: apt-get install manpages-tr man-db" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for page in "$pages"/man*/*; do
  MANWIDTH=100 man -l "$page" 2>/dev/null | col -bx
done | tr -s ' ' | iconv -c -f UTF-8 -t CP1254 | iconv -f CP1254 -t UTF-8 > "$work/manpages-tr.txt"
echo "long text: $(wc -c < "$work/manpages-tr.txt") bytes of Turkish manual pages (the first 1 MB is used)"
ORVANEL_BENCH_LONG_TEXT="$work/manpages-tr.txt" "$bench" --benchmark_filter=FrontEnd "$@"
