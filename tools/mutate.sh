#!/usr/bin/env bash
# The mutation check: does the test suite catch the faults of tests/mutants?
#
#   tools/mutate.sh [MUTANT.diff...]     (default: every tests/mutants/*.diff)
#
# Each diff is one small, plausible fault; its first line says what it
# breaks ("# breaks: ..."), an optional "# tests: REGEX" names the ctest
# tests that should catch it (default: every test). The tree is copied
# to a scratch directory (QORN_MUTATE_DIR, default /tmp/qorn-mutate-$USER)
# with one build directory reused throughout; each diff is applied, the tree
# rebuilt incrementally, the named tests run (GUI and end-to-end ones under
# tools/with-display.sh), and the diff taken back out. A fault is "caught"
# when a test fails, "missed" when all pass, "stale" when the diff no longer
# applies, "broken" when the mutant does not build. Exits non-zero unless
# every fault is caught. Not part of tools/test.sh: it takes long.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=${QORN_MUTATE_DIR:-/tmp/qorn-mutate-${USER:-$(id -un)}}
per_mutant=${QORN_MUTATE_TIMEOUT:-900}   # seconds for one mutant's tests
jobs=$(nproc)
tree=$scratch/tree build=$scratch/build
if [ "$#" -eq 0 ]; then set -- "$root"/tests/mutants/*.diff; fi

# A copy of the tree as it stands (tracked and new files). A file whose bytes
# are those of the last run's copy keeps that copy and its time, so the build
# directory stays up to date between runs; any other is copied with the time
# of now, newer than whatever a run built before (a file edited while a run
# was building keeps an older time of its own). A run cut short with a fault
# applied may have left objects built from it: that build starts afresh.
[ ! -e "$scratch/applied" ] || rm -rf "$build" "$scratch/applied"
fresh=$scratch/fresh
rm -rf "$fresh"
mkdir -p "$tree" "$build" "$fresh"
# (A file deleted but not yet committed is left out.)
(cd "$root" && git ls-files -co --exclude-standard -z | tar --null --ignore-failed-read -T - -cf - 2>/dev/null) |
    (cd "$fresh" && tar -xf -) ||
    { echo "mutate: cannot copy the tree to $fresh" >&2; exit 2; }
while IFS= read -r -d '' file; do
    cmp -s "$fresh/$file" "$tree/$file" && continue
    mkdir -p "$(dirname "$tree/$file")"
    cp --preserve=mode "$fresh/$file" "$tree/$file" && touch "$tree/$file"
done < <(cd "$fresh" && find . -type f -print0)
while IFS= read -r -d '' file; do
    [ -e "$fresh/$file" ] || rm -f "$tree/$file"
done < <(cd "$tree" && find . -type f -print0)
rm -rf "$fresh"

build_tree() {
    cmake -S "$tree" -B "$build" >"$scratch/cmake.log" 2>&1 &&
        cmake --build "$build" -j"$jobs" >"$scratch/build.log" 2>&1
}

tests_of() { sed -n 's/^# tests: *//p' "$1" | head -n 1; }
breaks_of() { sed -n 's/^# breaks: *//p' "$1" | head -n 1; }

# run_tests REGEX: 0 when every matching test passes; 3 when none matches.
run_tests() {
    local regex=$1 listed
    listed=$(ctest --test-dir "$build" -N -R "$regex" | sed -n 's/^Total Tests: *//p')
    [ "${listed:-0}" -gt 0 ] || return 3
    timeout "$per_mutant" bash "$tree/tools/with-display.sh" \
        ctest --test-dir "$build" -R "$regex" -j"$jobs" --timeout 600 >"$scratch/test.log" 2>&1
}

echo "mutate: building the unchanged tree in $build"
build_tree || { echo "mutate: the unchanged tree does not build (see $scratch/build.log)" >&2; exit 2; }

# The named tests must pass on the unchanged tree, or a "caught" means nothing.
declare -A baseline=()
for diff in "$@"; do
    regex=$(tests_of "$diff")
    regex=${regex:-.}
    [ -z "${baseline[$regex]:-}" ] || continue
    run_tests "$regex"
    baseline[$regex]=$?
    [ "${baseline[$regex]}" -eq 0 ] ||
        echo "mutate: tests '$regex' do not pass unchanged (status ${baseline[$regex]}): its mutants count as broken" >&2
done

caught=0 total=0
rows=()
for diff in "$@"; do
    name=$(basename "$diff" .diff)
    regex=$(tests_of "$diff")
    regex=${regex:-.}
    total=$((total + 1))
    started=$SECONDS
    if ! (cd "$tree" && patch -p1 --dry-run --silent <"$diff" >/dev/null 2>&1); then
        result=stale
    elif [ "${baseline[$regex]}" -ne 0 ]; then
        result=broken
    else
        echo "$diff" >"$scratch/applied"
        (cd "$tree" && patch -p1 --silent <"$diff")
        if ! build_tree; then
            result=broken
        else
            run_tests "$regex"
            case $? in
                0) result=missed ;;
                3) result=broken ;;
                *) result=caught; caught=$((caught + 1)) ;;
            esac
        fi
        (cd "$tree" && patch -p1 -R --silent <"$diff")
        rm -f "$scratch/applied"
    fi
    rows+=("$(printf '%-8s %-40s %4ss  %s' "$result" "$name" $((SECONDS - started)) "$(breaks_of "$diff")")")
    echo "${rows[-1]}"
done
build_tree >/dev/null 2>&1   # leaves the scratch build as the unchanged tree's

echo
echo "result   mutant                                   time  what it breaks"
printf '%s\n' "${rows[@]}"
echo "caught $caught of $total"
[ "$caught" -eq "$total" ]
