#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and GUI
# tests of the normal build, random I/O faults in a build with failure
# points, the Debian package (as root), the unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the worker tests
# under ThreadSanitizer, and a short run of each fuzz harness (tools/fuzz.sh
# for long runs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/deps.sh test
jobs=$(nproc)

echo "== build"
bash tools/build.sh build
echo "== tests (unit and GUI, under Xvfb)"
bash tools/with-display.sh ctest --test-dir build --output-on-failure -j"$jobs"

# A tree of its own: the packaged programs must not carry the failure points
# (nor depend on libfiu).
echo "== random I/O faults, the *at calls' failure points included (tests/e2e/faults.sh)"
cmake -S "$root" -B "$root/build-faults" -DQORN_WERROR=ON -DQORN_FAULT_POINTS=ON >/dev/null
cmake --build "$root/build-faults" -j"$jobs" --target setup efdkit print_message fiu_tally
QORN_BIN_DIR=$root/build-faults/bin bash tests/e2e/faults.sh

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
bash tools/build.sh build-tsan thread test_app test_text test_kit   # only what this run tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L '^(app|text)$'
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j"$jobs" -R '^KitStream'

echo "== fuzz harnesses, a short run each (clang, libFuzzer, ASan + UBSan)"
bash tools/fuzz.sh --smoke 30
