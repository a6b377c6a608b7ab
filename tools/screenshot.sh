#!/usr/bin/env bash
# Saves a picture of the whole X screen named by $DISPLAY to the given PNG
# file: tools/screenshot.sh OUT.png. Used for the documentation screenshots.
set -euo pipefail
if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 OUT.png" >&2
  exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "$0: DISPLAY is not set" >&2
  exit 1
fi
out=$1
case "$out" in
  -*) out="./$out" ;;  # never let a file name pass for an option
esac
exec import -window root "png:$out"
