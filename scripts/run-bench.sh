#!/usr/bin/env bash
# Runs every built benchmark program of a build directory, one after the other.
# Usage: scripts/run-bench.sh BUILD_DIR [extra Google Benchmark flags...]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [benchmark flags...]" >&2
  exit 2
fi
build_dir=$1
shift
bench_dir="$build_dir/bench"
if [ ! -d "$bench_dir" ]; then
  echo "no benchmark programs in $bench_dir (configure with -DORVANEL_BUILD_BENCH=ON)" >&2
  exit 1
fi
found=0
status=0
while IFS= read -r program; do
  found=1
  echo "== $(basename "$program")"
  "$program" "$@" || status=1
done < <(find "$bench_dir" -maxdepth 1 -type f -executable -name '*_bench' | sort)
if [ $found -eq 0 ]; then
  echo "no benchmark programs in $bench_dir" >&2
  exit 1
fi
exit $status
