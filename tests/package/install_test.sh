#!/usr/bin/env bash
# Installs the Debian package built by `make package` with apt, then uses it as a user would:
# the installed orvanel-say writes speech, the man pages are there, and a C program built with
# pkg-config against the installed header and library gets samples back. Removes it again.
# Usage: tests/package/install_test.sh BUILD_DIR   (needs root; exits 77 when not root)
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "skipped: installing a package needs root"; exit 77; }
deb=$(ls "$build"/orvanel_*.deb | head -1)
work=$(mktemp -d)
trap 'rm -rf "$work"; apt-get purge -y -qq orvanel >/dev/null 2>&1 || true' EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null
fail() { echo "FAIL: $*"; exit 1; }

[ -x /usr/bin/orvanel-say ] || fail "orvanel-say is not installed"
[ -x /usr/bin/orvanel ] || fail "orvanel is not installed"
[ -f /usr/bin/orvanel.HLP ] || fail "the help file is not beside the program"
for page in orvanel-say orvanel; do
  [ -f "/usr/share/man/man1/$page.1" ] || [ -f "/usr/share/man/man1/$page.1.gz" ] ||
    fail "no man page $page(1)"
done
/usr/bin/orvanel-say --version | grep -q "orvanel-say (Orvanel)" || fail "--version"
/usr/bin/orvanel-say -w "$work/merhaba.wav" "Merhaba dünya."
size=$(stat -c %s "$work/merhaba.wav")
[ "$size" -gt 10000 ] || fail "the installed orvanel-say wrote only $size bytes"

cc -std=c99 -Wall -Werror -o "$work/hello" "$here/hello_orvanel.c" \
  $(pkg-config --cflags --libs orvanel)
out=$("$work/hello")
echo "$out"
case "$out" in "orvanel "*": "*" samples") ;; *) fail "unexpected output: $out" ;; esac
ldd "$work/hello" | grep -Eq "liborvanel.so.0 => (/usr)?/lib/" || fail "not linked to the installed library"
echo "package test passed: $deb ($(dpkg-deb -f "$deb" Depends))"
