#!/usr/bin/env bash
# The main job. On a desktop, opens Orvanel's window. Without a display, speaks the two sample
# sentences through the command line; where no sound device answers either, writes them to
# orvanel-samples.wav and says so.
set -uo pipefail
build=${1:-build/release}
sentences=("Türkçe Konuşma Programı." "Törkiş TextTuSpiiç Sintisayzır.")

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/app/orvanel" ]; then
  echo "Opening the Orvanel window (press E&xamples, then Speak)."
  exec "$build/app/orvanel"
fi

say="$build/cli/orvanel-say"
echo "Phonetic transcription:"
"$say" --phonetic "${sentences[@]}"
echo
echo "Speaking: ${sentences[*]}"
"$say" "${sentences[@]}" 2>/tmp/orvanel-demo.err
status=$?
if [ $status -ne 1 ]; then exit $status; fi
cat /tmp/orvanel-demo.err >&2
out=orvanel-samples.wav
"$say" -w "$out" "${sentences[@]}" || exit 1
echo "No sound device could be opened; the speech was written to $out instead."
