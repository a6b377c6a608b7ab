#!/usr/bin/env bash
# The Debian package as a user gets it: tools/deb-check.sh [BUILD_DIR]
# Builds qorn-setup_*.deb from the build tree with CPack, has lintian check it
# (errors fail; warnings about the copyright file are expected while the
# repository names no licence), installs it with apt-get, installs the sample
# kit with the installed setup (with usecwd, and as a one-file installer) in
# a scratch home, and removes the package again. Needs root and apt-get.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null || { echo "deb-check: needs root and apt-get" >&2; exit 2; }
fail() { echo "deb-check: FAIL: $*" >&2; exit 1; }

rm -f "$build"/qorn-setup_*.deb
(cd "$build" && cpack -G DEB >/dev/null 2>&1) || fail "cpack failed"
deb=$(ls "$build"/qorn-setup_*.deb)
echo "package: $deb"
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"

# Only GTK+ 2 and the libraries it depends on itself (GLib, Pango, X11...),
# zlib, ISA-L, libedit (the terminal's line editing), json-glib (the --json
# report), xxHash (the record's checksums) and what every C++
# program needs: nothing that apt would fetch for us alone.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
allowed=$( (echo libgtk2.0-0 zlib1g libisal2 libedit2 libjson-glib-1.0-0 libxxhash0 libc6 libgcc-s1 libstdc++6
            dpkg-query -W -f='${Depends}' libgtk2.0-0) | tr ', ' '\n\n' | grep -E '^[a-z0-9][a-z0-9.+-]+$')
extra=$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -vxF -f <(echo "$allowed") || true)
[ -z "$extra" ] || fail "unexpected dependencies: $extra"
# setup loads GTK+, json-glib and libedit itself, out of dpkg-shlibdeps' sight: the package must still name them.
for library in libgtk2.0-0 libjson-glib-1.0-0 libedit2; do
  tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qx "$library" || fail "$library is not a dependency"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/qorn-deb.XXXXXX")
cleanup() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y qorn-setup >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null
[ -x /usr/bin/setup ] && [ -x /usr/bin/efdkit ] || fail "the programs are not installed"
man -w setup efdkit >/dev/null 2>&1 || ! command -v man >/dev/null || fail "the manual pages are not found by man"

# run HOME_NAME DIR COMMAND...: a silent installation in a scratch home, from DIR.
run() {
  local home=$scratch/$1 dir=$2; shift 2
  mkdir -p "$home" "$home-tmp"
  (cd "$dir" && env -u DISPLAY HOME="$home" TMPDIR="$home-tmp" LC_ALL=C.UTF-8 "$@" -S -Len) 2>"$home.log" ||
    fail "$* ended with status $?: $(cat "$home.log")"
  # The kit's record lies beside its files, in a hidden folder of their own.
  diff -r -x .qorn-record "$root/examples/sample" "$home/.qorn/Vq/vq8/tmplts" >/dev/null ||
    fail "$*: the installed files differ from the sample"
  [ -n "$(ls -A "$home/.qorn/Vq/vq8/tmplts/.qorn-record")" ] || fail "$*: no record of the kit"
  [ -z "$(ls -A "$home-tmp")" ] || fail "$*: files left in TMPDIR"
}
mkdir -p "$scratch/kit"
bash "$root/tools/pack-sample.sh" /usr/bin/efdkit "$scratch/kit/qorn.efd" >/dev/null
run home-usecwd "$scratch/kit" setup usecwd
efdkit bundle /usr/bin/setup "$scratch/kit/qorn.efd" -o "$scratch/sample-setup" >/dev/null
run home-bundle / "$scratch/sample-setup"

DEBIAN_FRONTEND=noninteractive apt-get remove -y qorn-setup >/dev/null
[ ! -e /usr/bin/setup ] && [ ! -e /usr/bin/efdkit ] || fail "apt-get remove left the programs"
echo "deb-check: built, checked, installed, ran the sample kit, removed"
