#!/usr/bin/env bash
# The main job: speaks the two sample sentences.
set -euo pipefail
build=${1:-build/release}
"$build/cli/orvanel-say" --phonetic "Türkçe Konuşma Programı." "Törkiş TextTuSpiiç Sintisayzır."
