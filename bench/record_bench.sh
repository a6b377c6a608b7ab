#!/usr/bin/env bash
# What the kit's record costs, on 20,000 small files, every figure in the same
# run against `tar` unpacking the same files, in interleaved rounds, medians:
#   - a fresh installation by BIN_DIR's setup against one by REFERENCE_BIN_DIR's
#     (an installer without the record, e.g. a build of main): goal at most 1.05;
#   - `setup -V` and `setup -N` over the 20,000 installed files, each against
#     the fresh installation: goal under 0.25 each.
#
#   bench/record_bench.sh BIN_DIR [REFERENCE_BIN_DIR]
#
# BENCH_DIR (default /tmp) holds the scratch trees. Exits 1 when a goal is missed.
set -euo pipefail
bin=${1:?usage: record_bench.sh BIN_DIR [REFERENCE_BIN_DIR]}
reference=${2:-}
rounds=${BENCH_ROUNDS:-5}
root=$(mktemp -d "${BENCH_DIR:-/tmp}/qorn-record-bench.XXXXXX")
trap 'rm -rf "$root"' EXIT
export LC_ALL=C.UTF-8 XDG_STATE_HOME=$root/state TMPDIR=$root/tmp HOME=$root/home
unset DISPLAY

# 20,000 files of 200 bytes in 200 folders.
mkdir -p "$root/source" "$root/tmp" "$root/app" "$root/ref"
for folder in $(seq -w 0 199); do
    mkdir -p "$root/source/f$folder"
    head -c 20000 /dev/urandom | split -b 200 -a 2 - "$root/source/f$folder/t"
done
find "$root/source" -type f -exec touch -d '2024-01-01 00:00:00.5' {} +
"$bin/efdkit" pack --lang en --product Bench --provider Qorn "$root/source" "$root/qorn.efd" >/dev/null
tar -C "$root/source" -cf "$root/source.tar" .
cp "$bin/setup" "$root/qorn.efd" "$root/app/"
[ -z "$reference" ] || cp "$reference/setup" "$root/qorn.efd" "$root/ref/"
target=$root/target

# seconds COMMAND...: wall time of one run, read from the shell's own clock: a `date` started for each end
# would be timed too, and weigh on the short read-only runs far more than on the installation.
seconds() {
    local start=$EPOCHREALTIME end
    "$@" >/dev/null 2>&1 || { [ $? -le 1 ] || { echo "failed: $*" >&2; exit 2; }; }
    end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
# The sync: the installation's one syncfs would otherwise also pay for the removal of the tree before it.
fresh() { rm -rf "$target" "$root/home" "$root/state"; mkdir -p "$root/home"; sync; }
install() { "$1/setup" -S "-D$target"; }
untar() { mkdir -p "$target" && tar -C "$target" -xf "$root/source.tar"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

declare -a t_tar t_new t_ref t_verify t_dry
for round in $(seq 1 "$rounds"); do
    fresh; t_tar+=("$(seconds untar)")
    if [ -n "$reference" ]; then fresh; t_ref+=("$(seconds install "$root/ref")"); fi
    fresh; t_new+=("$(seconds install "$root/app")")
    t_verify+=("$(seconds "$root/app/setup" -V "-D$target")")
    t_dry+=("$(seconds "$root/app/setup" -N "-D$target")")
done
m() { printf '%s\n' "$@" | median; }
tar_s=$(m "${t_tar[@]}") new_s=$(m "${t_new[@]}") verify_s=$(m "${t_verify[@]}") dry_s=$(m "${t_dry[@]}")
printf 'tar -x of the 20,000 files      %6.3f s\n' "$tar_s"
printf 'fresh installation, record      %6.3f s  (%.2f x tar)\n' "$new_s" "$(ratio "$new_s" "$tar_s")"
status=0
if [ -n "$reference" ]; then
    ref_s=$(m "${t_ref[@]}")
    printf 'fresh installation, reference   %6.3f s  (%.2f x tar)\n' "$ref_s" "$(ratio "$ref_s" "$tar_s")"
    printf 'record / reference              %6.3f    (goal <= 1.05)\n' "$(ratio "$new_s" "$ref_s")"
    awk -v r="$(ratio "$new_s" "$ref_s")" 'BEGIN { exit !(r <= 1.05) }' || status=1
fi
printf -- '--verify                        %6.3f s  (%.2f x the installation, goal < 0.25)\n' "$verify_s" "$(ratio "$verify_s" "$new_s")"
printf -- '--dry-run                       %6.3f s  (%.2f x the installation, goal < 0.25)\n' "$dry_s" "$(ratio "$dry_s" "$new_s")"
awk -v v="$(ratio "$verify_s" "$new_s")" -v d="$(ratio "$dry_s" "$new_s")" 'BEGIN { exit !(v < 0.25 && d < 0.25) }' || status=1
exit $status
