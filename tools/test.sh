#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and GUI
# tests of the normal build, the Debian package (as root), the unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the worker tests
# under ThreadSanitizer, and a short run of each fuzz harness (tools/fuzz.sh
# for long runs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/deps.sh test
jobs=$(nproc)

echo "== build (with the failure points of tests/e2e/faults.sh)"
bash tools/build.sh build "" -DQORN_FAULT_POINTS=ON
echo "== tests (unit and GUI, under Xvfb)"
bash tools/with-display.sh ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Debian package (cpack, lintian, apt-get install, the sample kit, apt-get remove)"
if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  bash tools/deb-check.sh build
else
  echo "skipped: installing a package needs root and apt-get"
fi

echo "== unit tests under AddressSanitizer + UndefinedBehaviorSanitizer"
bash tools/build.sh build-asan address
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE gui

echo "== worker and progress tests under ThreadSanitizer"
bash tools/build.sh build-tsan thread
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L '^(app|text)$'

echo "== fuzz harnesses, a short run each (clang, libFuzzer, ASan + UBSan)"
bash tools/fuzz.sh --smoke 30
