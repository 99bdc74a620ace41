#!/usr/bin/env bash
# Takes pictures of the running program under a private X server: the main window, the thread
# priority dialog, the about box and the help viewer, as PNG files.
# Usage: scripts/screenshots.sh [PATH/TO/orvanel] [OUTPUT_DIR]
#   defaults: build/app/app/orvanel and docs/screenshots (relative to the repository)
# Exits 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$repo/build/app/app/orvanel}
out=${2:-$repo/docs/screenshots}

for tool in Xvfb xdotool import convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "screenshots: $tool not found, skipping" >&2
    exit 77
  fi
done
[ -x "$program" ] || { echo "screenshots: no program at $program" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "screenshots: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

if command -v openbox >/dev/null 2>&1; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  sleep 0.5
fi

# Speech goes nowhere: the null PCM discards it, so no sound server is needed.
export ORVANEL_PCM=null
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

# Waits for a window whose title matches $1 and prints its id.
wait_window() {
  local id=""
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$program_pid" 2>/dev/null || { echo "screenshots: the program ended" >&2; cat "$work/program.log" >&2; return 1; }
    sleep 0.2
  done
  echo "screenshots: no window \"$1\"" >&2
  return 1
}

# Saves window $1 (with its frame) as $2 and checks that the picture is not blank.
shoot() {
  sleep 0.6
  import -window "$1" -frame "$out/$2" 2>/dev/null || import -window "$1" "$out/$2"
  local colours
  colours=$(convert "$out/$2" -format '%k' info:)
  if [ "$colours" -lt 8 ]; then
    echo "screenshots: $2 looks blank ($colours colours)" >&2
    return 1
  fi
  echo "saved $out/$2 ($colours colours)"
}

# Gives window $1 the keyboard focus.
focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.3
}

main=$(wait_window "Turkish Text To Speech Program")
focus "$main"
xdotool key alt+x          # Examples: two sample sentences
shoot "$main" main-window.png

focus "$main"
xdotool key alt+e Down Down Down Return   # Speech Engine > Thread Priority...
priority=$(wait_window "Speech Engine Thread Priority")
shoot "$priority" priority-dialog.png
focus "$priority"
xdotool key Escape
sleep 0.3

focus "$main"
xdotool key alt+e Right Right Down Down Return   # Help > About
about=$(wait_window "About Orvanel")
shoot "$about" about-box.png
focus "$about"
xdotool key Escape
sleep 0.3

focus "$main"
xdotool key F1
viewer=$(wait_window "orvanel Help")
focus "$viewer"
sleep 1
shoot "$viewer" help-viewer.png
