#!/usr/bin/env bash
# Every test: the sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) runs the whole
# suite, with a private PulseAudio server for the real-device tests; a ThreadSanitizer build runs
# the threaded tests again.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh test

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_SANITIZE=address,undefined \
  -DORVANEL_BUILD_BENCH=ON
cmake --build build/test -j "$jobs"

cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_SANITIZE=thread \
  -DORVANEL_BUILD_APP=OFF -DORVANEL_BUILD_BENCH=OFF
cmake --build build/tsan -j "$jobs"

# The optimised build that `make demo` and `make bench` use must compile warning-free too.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$jobs"
# The Debian package of that build, installed with apt and used (root only; skipped otherwise).
(cd build/release && cpack -G DEB >/dev/null)

# shellcheck source=scripts/sound-server.sh
source scripts/sound-server.sh
sound_server_start || echo "note: no sound server; the real-device tests will be skipped"
trap sound_server_stop EXIT

status=0
# The real-device tests (the ALSA device, and the speech-dispatcher module under a private
# speech server) measure timing and what reaches the server, so they run on their own,
# after the rest, rather than next to sanitizer-loaded tests that could starve the audio.
serial='^(AlsaSoundServer|SpeechdServer)\.'
ctest --test-dir build/test --output-on-failure -j "$jobs" -E "$serial" || status=1
ctest --test-dir build/test --output-on-failure -R '^AlsaSoundServer\.' || status=1
# The speech-dispatcher end-to-end test measures what the server plays in real time, so it runs
# the optimised module, as users do (the sanitizer build's module runs the conversation tests).
ctest --test-dir build/release --output-on-failure -R '^SpeechdServer\.' || status=1
ctest --test-dir build/tsan --output-on-failure -j "$jobs" -L threaded || status=1
package_status=0
tests/package/install_test.sh build/release || package_status=$?
[ $package_status -eq 0 ] || [ $package_status -eq 77 ] || status=1
exit $status
