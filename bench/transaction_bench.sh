#!/usr/bin/env bash
# What the crash-safe installation costs, each figure against a reference
# measured in the same run on the same file system, in interleaved rounds,
# as the median of the per-round ratios:
#   - replacing 2,000 older files with TMPDIR on another file system
#     (/dev/shm) against the same run with TMPDIR beside the template
#     directory (goal: at most 1.2);
#   - a fresh installation, an update (every file older) and a
#     reinstallation (every file up to date) against the installer given as
#     REFERENCE, e.g. a build of an earlier commit (goal: at most 1.1 each).
#
#   bench/transaction_bench.sh BIN_DIR [REFERENCE_BIN_DIR]
#
# BIN_DIR holds setup and efdkit. BENCH_DIR (default /tmp) is where the
# template directories live, BENCH_OTHER (default /dev/shm) a folder on
# another file system for the second TMPDIR; BENCH_DIR=/dev/shm
# BENCH_OTHER=/var/tmp keeps the disk's noise out of the comparison with the
# reference. Exits 1 when a goal is missed.
set -euo pipefail
bin=${1:?usage: transaction_bench.sh BIN_DIR [REFERENCE_BIN_DIR]}
reference=${2:-}
rounds=${BENCH_ROUNDS:-5}
files=2000
root=$(mktemp -d "${BENCH_DIR:-/tmp}/qorn-transaction-bench.XXXXXX")
shm=$(mktemp -d "${BENCH_OTHER:-/dev/shm}/qorn-transaction-bench.XXXXXX")
[ "$(stat -c %d "$root")" != "$(stat -c %d "$shm")" ] || { echo "BENCH_OTHER is on BENCH_DIR's file system" >&2; exit 2; }
trap 'rm -rf "$root" "$shm"' EXIT
export LC_ALL=C.UTF-8 XDG_STATE_HOME=$root/state
unset DISPLAY

# 2,000 files of 4 KB in 20 folders, and a copy of the same names with older
# contents and times to update.
mkdir -p "$root/source" "$root/old" "$root/tmp" "$root/app" "$root/ref"
for folder in $(seq -w 0 19); do
    mkdir -p "$root/source/f$folder" "$root/old/f$folder"
    for file in $(seq -w 0 99); do
        head -c 4096 /dev/urandom >"$root/source/f$folder/t$file.tpl"
        printf 'older\n' >"$root/old/f$folder/t$file.tpl"
    done
done
find "$root/source" -type f -exec touch -d '2024-01-01 00:00:00.5' {} +
find "$root/old" -type f -exec touch -d '2001-01-01' {} +
"$bin/efdkit" pack "$root/source" "$root/qorn.efd" >/dev/null
cp "$bin/setup" "$root/qorn.efd" "$root/app/"
[ -z "$reference" ] || cp "$reference/setup" "$root/qorn.efd" "$root/ref/"

# seconds DIR TMPDIR: one headless installation by DIR/setup into $root/home's default directory.
seconds() {
    local start end
    start=$(date +%s.%N)
    HOME=$root/home TMPDIR=$2 "$1/setup" -S >/dev/null 2>&1 || { echo "installation failed" >&2; exit 2; }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
target=$root/home/.qorn/Vq/vq8/tmplts
fresh() { rm -rf "$root/home"; mkdir -p "$root/home"; }
older() { fresh; mkdir -p "$target"; cp -a "$root/old/." "$target/"; }

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

replace_ratios=() fresh_ratios=() reinstall_ratios=() update_ratios=()
replace_same=() replace_other=() fresh_app=() fresh_ref=() reinstall_app=() reinstall_ref=() update_app=() update_ref=()
for round in $(seq 1 "$rounds"); do
    older; same=$(seconds "$root/app" "$root/tmp")
    older; other=$(seconds "$root/app" "$shm")
    replace_same+=("$same") replace_other+=("$other") replace_ratios+=("$(ratio "$other" "$same")")
    if [ -n "$reference" ]; then
        fresh; ref=$(seconds "$root/ref" "$root/tmp"); ref_again=$(seconds "$root/ref" "$root/tmp")
        fresh; app=$(seconds "$root/app" "$root/tmp"); app_again=$(seconds "$root/app" "$root/tmp")
        fresh_app+=("$app") fresh_ref+=("$ref") fresh_ratios+=("$(ratio "$app" "$ref")")
        reinstall_app+=("$app_again") reinstall_ref+=("$ref_again")
        reinstall_ratios+=("$(ratio "$app_again" "$ref_again")")
        older; ref=$(seconds "$root/ref" "$root/tmp")
        older; app=$(seconds "$root/app" "$root/tmp")
        update_app+=("$app") update_ref+=("$ref") update_ratios+=("$(ratio "$app" "$ref")")
    fi
done

status=0
# row NAME GOAL RATIOS MEASURED REFERENCE: one line of the table, and the goal check.
row() {
    local name=$1 goal=$2 r m f
    r=$(printf '%s\n' $3 | median) m=$(printf '%s\n' $4 | median) f=$(printf '%s\n' $5 | median)
    printf '%-44s %8.3f s %8.3f s %6.2f  (goal <= %s)\n' "$name" "$m" "$f" "$r" "$goal"
    awk -v r="$r" -v g="$goal" 'BEGIN { exit !(r <= g) }' || { echo "  ^ goal missed"; status=1; }
}
printf '%-44s %10s %10s %6s\n' "work ($files files of 4 KB, $rounds rounds)" measured reference ratio
row "replace older files, TMPDIR on another fs" 1.2 "${replace_ratios[*]}" "${replace_other[*]}" "${replace_same[*]}"
if [ -n "$reference" ]; then
    row "fresh installation against the reference" 1.1 "${fresh_ratios[*]}" "${fresh_app[*]}" "${fresh_ref[*]}"
    row "update against the reference" 1.1 "${update_ratios[*]}" "${update_app[*]}" "${update_ref[*]}"
    row "reinstallation against the reference" 1.1 "${reinstall_ratios[*]}" "${reinstall_app[*]}" "${reinstall_ref[*]}"
fi
exit "$status"
