#!/usr/bin/env bash
# Installs the Debian packages built by `make package` with apt, then uses them as a user would:
# the installed orvanel-say writes speech, the man pages are there, and a C program built with
# pkg-config against the installed header and library gets samples back; the module's
# orvanel.conf is a conffile that an edit survives a reinstall and a remove in, and only a purge
# removes. lintian (where installed) reports no errors on either package. Removes them again.
# Usage: tests/package/install_test.sh BUILD_DIR   (needs root; exits 77 when not root)
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "skipped: installing a package needs root"; exit 77; }
deb=$(ls "$build"/orvanel_*.deb | head -1)
module_deb=$(ls "$build"/speech-dispatcher-orvanel_*.deb | head -1)
conf=/etc/speech-dispatcher/modules/orvanel.conf
work=$(mktemp -d)
trap 'rm -rf "$work"; apt-get purge -y -qq orvanel speech-dispatcher-orvanel >/dev/null 2>&1 || true' EXIT
export DEBIAN_FRONTEND=noninteractive
fail() { echo "FAIL: $*"; exit 1; }

if command -v lintian >/dev/null; then
  for d in "$deb" "$module_deb"; do
    # Errors fail the test; the warnings that remain are listed in docs/speechd/screen-reader.md.
    report=$(lintian --tag-display-limit 0 "$d" 2>&1 || true)
    echo "$report"
    if grep -q '^E: ' <<<"$report"; then fail "lintian reports errors on $(basename "$d")"; fi
  done
fi

apt-get install -y -qq "$(realpath "$deb")" >/dev/null

[ -x /usr/bin/orvanel-say ] || fail "orvanel-say is not installed"
[ -x /usr/bin/orvanel ] || fail "orvanel is not installed"
[ -f /usr/bin/orvanel.HLP ] || fail "the help file is not beside the program"
for page in orvanel-say orvanel; do
  [ -f "/usr/share/man/man1/$page.1" ] || [ -f "/usr/share/man/man1/$page.1.gz" ] ||
    fail "no man page $page(1)"
done
grep -q "orvanel-say (Orvanel)" <<<"$(/usr/bin/orvanel-say --version)" || fail "--version"
/usr/bin/orvanel-say -w "$work/merhaba.wav" "Merhaba dünya."
size=$(stat -c %s "$work/merhaba.wav")
[ "$size" -gt 10000 ] || fail "the installed orvanel-say wrote only $size bytes"

cc -std=c99 -Wall -Werror -o "$work/hello" "$here/hello_orvanel.c" \
  $(pkg-config --cflags --libs orvanel)
out=$("$work/hello")
echo "$out"
case "$out" in "orvanel "*": "*" samples") ;; *) fail "unexpected output: $out" ;; esac
# Outputs are read whole before grep -q: one leaving a pipe early would fail it (pipefail).
grep -Eq "liborvanel.so.0 => (/usr)?/lib/" <<<"$(ldd "$work/hello")" ||
  fail "not linked to the installed library"

# The module: its configuration is a conffile, kept through a reinstall and a remove.
apt-get install -y -qq "$(realpath "$module_deb")" >/dev/null
[ -x /usr/lib/speech-dispatcher-modules/sd_orvanel ] || fail "sd_orvanel is not installed"
grep -q "^ $conf " <<<"$(dpkg-query -W -f='${Conffiles}\n' speech-dispatcher-orvanel)" ||
  fail "$conf is not a conffile"
echo "OrvanelReadingStage 0  # edited" >> "$conf"
apt-get install -y -qq --reinstall \
  -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
  "$(realpath "$module_deb")" >/dev/null
grep -q "# edited" "$conf" || fail "a reinstall reverted the edited $conf"
apt-get remove -y -qq speech-dispatcher-orvanel >/dev/null
[ ! -e /usr/lib/speech-dispatcher-modules/sd_orvanel ] || fail "remove left sd_orvanel"
grep -q "# edited" "$conf" || fail "remove deleted the edited $conf"
apt-get purge -y -qq speech-dispatcher-orvanel >/dev/null
[ ! -e "$conf" ] || fail "purge left $conf"
echo "package test passed: $deb ($(dpkg-deb -f "$deb" Depends)), $module_deb ($(dpkg-deb -f "$module_deb" Depends))"
