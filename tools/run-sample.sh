#!/usr/bin/env bash
# Installs what building and running need, builds the installer and efdkit,
# packs the sample kit beside the installer and runs it in a scratch home, so
# that nothing of the real home is touched: the wizard where there is a
# display, a silent installation where there is none. Afterwards it lists what was installed and what was recorded.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/deps.sh run
# Only the two programs: no test suite, harness or benchmark. A tree that
# tools/test.sh configured keeps its tests; a new one is made without them.
if [ -f build/CMakeCache.txt ]; then
  cmake -S . -B build >/dev/null
else
  cmake -S . -B build -DQORN_BUILD_TESTS=OFF >/dev/null
fi
cmake --build build -j"$(nproc)" --target setup efdkit
bash tools/pack-sample.sh build/bin/efdkit build/bin/qorn.efd

scratch="$root/build/sample-run"
rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/tmp"
export HOME="$scratch/home" TMPDIR="$scratch/tmp"
export LC_ALL=${LC_ALL:-C.UTF-8}

# A cancelled or failed run still ends with the listing below.
status=0
# xdpyinfo (x11-utils) tells a dead display from a live one where it is installed.
if [ -n "${DISPLAY:-}" ] && { ! command -v xdpyinfo >/dev/null || xdpyinfo >/dev/null 2>&1; }; then
  echo "Starting the wizard (scratch home: $HOME)"
  build/bin/setup "$@" || status=$?
else
  echo "No display: installing silently into the scratch home $HOME"
  build/bin/setup -S "$@" || status=$?
fi
echo "The installer ended with status $status (see README.md, Exit status)."

echo
echo "Installed files:"
(cd "$HOME" && find . -path ./.Vq -prune -o -type f -printf '  %p  (%s bytes, %TY-%Tm-%Td %TH:%TM)\n' | sort)
echo "Launcher configuration:"
for f in "$HOME/.Vq/tavrilon/tavrilon.cfg" "$HOME/.Vq/tavrilont/tavrilon.cfg"; do
  [ -f "$f" ] && { echo "  $f:"; sed 's/^/    /' "$f"; }
done
echo "Left in the temporary directory: $(ls -A "$TMPDIR" | wc -l) entries"
