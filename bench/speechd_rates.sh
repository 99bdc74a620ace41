#!/usr/bin/env bash
# Speaking time of one sentence through speech-dispatcher at rates -100..+100, sd_orvanel beside
# espeak-ng's module (install speech-dispatcher-espeak-ng for it), on a private PulseAudio server
# with a null sink in a runtime folder of its own.
# Usage: bench/speechd_rates.sh BUILD_DIR   (e.g. build/release)
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR}")
here=$(cd "$(dirname "$0")" && pwd)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
# shellcheck source=../scripts/sound-server.sh
source "$here/../scripts/sound-server.sh"
trap 'sound_server_stop; rm -rf "$XDG_RUNTIME_DIR"' EXIT
sound_server_start || { echo "no PulseAudio server could be started"; exit 1; }
/usr/bin/python3 "$here/speechd_rates.py" --module "$build/speechd/sd_orvanel" \
  --conf "$here/../speechd/orvanel.conf"
