#!/usr/bin/env bash
# Installs what Orvanel needs from Debian's archive; skips packages that are already present.
# Usage: scripts/install-deps.sh [build|test|bench|all]   (default: test)
set -euo pipefail
what=${1:-test}

build=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
       qt6-base-dev libasound2-dev libasound2-plugins fonts-dejavu-core dpkg-dev file)
# speech-dispatcher-espeak-ng: the speech-dispatcher end-to-end test checks the module's loudness
# against espeak-ng's module and prints their timings side by side. lintian: the package test
# fails on lintian errors.
test=(pulseaudio pulseaudio-utils alsa-utils xvfb xauth imagemagick openbox xdotool
      speech-dispatcher speech-dispatcher-audio-plugins python3-speechd speech-dispatcher-espeak-ng
      lintian)
bench=(espeak-ng time bc python3)

case "$what" in
  build) pkgs=("${build[@]}") ;;
  test) pkgs=("${build[@]}" "${test[@]}") ;;
  bench) pkgs=("${build[@]}" "${bench[@]}") ;;
  all) pkgs=("${build[@]}" "${test[@]}" "${bench[@]}") ;;
  *) echo "usage: $0 [build|test|bench|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
