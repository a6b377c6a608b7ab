#!/usr/bin/env bash
# The speed benchmark in one command: bash bench/run.sh [--full]
# Builds setup, efdkit and the driver in build/, measures in a scratch
# directory on tmpfs (/dev/shm when there is one), starts a private X server
# for the wizard row when Xvfb is installed, and prints the table of every
# figure against its reference with PASS or FAIL per goal. The quick mode
# (the default) takes a few minutes; --full is the one bench/README.md records.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:---quick}
build=${QORN_BENCH_BUILD:-$root/build}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target setup efdkit speed_bench >/dev/null

base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$base/qorn-bench.XXXXXX")
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

display_args=()
if command -v Xvfb >/dev/null 2>&1; then
    mkfifo "$scratch/displayfd"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/displayfd" \
        >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    number=""
    read -r -t 20 number <"$scratch/displayfd" || true
    [ -z "$number" ] || display_args=(--display ":$number")
fi
[ ${#display_args[@]} -gt 0 ] || echo "no X server: the wizard row is skipped" >&2

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(uname -sr)"
echo "scratch: $(df -T "$scratch" | awk 'NR==2 {print $2}') at $scratch"
"$build/bin/speed_bench" --bin "$build/bin" --root "$scratch" "$mode" ${display_args[@]+"${display_args[@]}"}
