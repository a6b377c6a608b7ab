#!/usr/bin/env bash
# Builds the fuzz harnesses with clang and runs them.
#   tools/fuzz.sh HARNESS SECONDS [libFuzzer options...]   one run of one harness
#   tools/fuzz.sh --smoke [SECONDS]                        each harness briefly (CI)
# Harnesses: kit_stream launcher_config strings record. A run starts from
# the seed corpus in tests/fuzz/corpus/HARNESS and grows a working corpus in
# build-fuzz/corpus/HARNESS; an input that fails is copied into
# tests/fuzz/regressions/HARNESS, where the ordinary test suite replays it,
# and the run exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
harnesses=(kit_stream launcher_config strings record)
# Longest input per harness: kits large enough for a few entries, texts
# long enough for a few hundred operations.
declare -A max_len=([kit_stream]=4096 [launcher_config]=4096 [strings]=2048 [record]=4096)

build_harnesses() {
  cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQORN_FUZZ=ON -DQORN_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]/#/fuzz_}" >/dev/null
}

run_one() {
  local name=$1 seconds=$2
  shift 2
  local corpus=$build/corpus/$name artifacts=$build/artifacts/$name/ log=$build/logs/$name.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local status=0
  "$build/bin/fuzz_$name" "$corpus" "$root/tests/fuzz/corpus/$name" -max_total_time="$seconds" \
    -max_len="${max_len[$name]}" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$@" >"$log" 2>&1 || status=$?
  local runs
  runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -1 || true)
  if [ "$status" -ne 0 ]; then
    mkdir -p "$root/tests/fuzz/regressions/$name"
    find "$artifacts" -type f -exec cp {} "$root/tests/fuzz/regressions/$name/" \;
    echo "fuzz $name: FAILED (status $status), input kept in tests/fuzz/regressions/$name; log $log" >&2
    tail -40 "$log" >&2
    return 1
  fi
  echo "fuzz $name: ${runs:-no run count}s, no failure"
}

build_harnesses
if [ "${1:-}" = "--smoke" ]; then
  seconds=${2:-30}
  failed=0
  for name in "${harnesses[@]}"; do run_one "$name" "$seconds" || failed=1; done
  exit $failed
fi
[ $# -ge 2 ] || { sed -n '2,9p' "$0" >&2; exit 2; }
name=$1 seconds=$2
shift 2
[ -n "${max_len[$name]:-}" ] || { echo "unknown harness: $name" >&2; exit 2; }
run_one "$name" "$seconds" "$@"
