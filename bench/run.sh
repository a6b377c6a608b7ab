#!/usr/bin/env bash
# The speed benchmark in one command: bash bench/run.sh [--full]
# Builds setup, efdkit, the two floors and the driver in build/, measures in a
# scratch directory on tmpfs (/dev/shm when there is one) and, as root with a
# loop device, again on an ext4 image loop-mounted for the run (a sparse file
# in /var/tmp, one inode per 4 KiB, removed at the end), starts a private X
# server for the wizard row when Xvfb is installed, and prints the table of
# every figure against its reference with PASS or FAIL per goal. The quick
# mode (the default) takes a few minutes; --full is the one bench/README.md
# records.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:---quick}
build=${QORN_BENCH_BUILD:-$root/build}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target setup efdkit floor_bench toolkit_floor speed_bench >/dev/null

base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$base/qorn-bench.XXXXXX")
xvfb_pid=""
disk_image="" disk_mount="" disk_mounted=""
cleanup() {
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; }
    [ -z "$disk_mounted" ] || umount "$disk_mount" || umount -l "$disk_mount" || true
    [ -z "$disk_mount" ] || rmdir "$disk_mount" 2>/dev/null || true
    [ -z "$disk_image" ] || rm -f "$disk_image"
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

# The disk rows: an ext4 image on a real disk (never on tmpfs), large enough
# for the 40,000-folder update with its old copy, tar's copy and the backup.
disk_args=()
disk_base=/var/tmp
[ "$(df --output=fstype "$disk_base" 2>/dev/null | tail -1)" != tmpfs ] || disk_base=""
if [ "$(id -u)" -eq 0 ] && [ -n "$disk_base" ] && command -v mkfs.ext4 >/dev/null 2>&1; then
    disk_image=$(mktemp "$disk_base/qorn-bench-ext4.XXXXXX.img")
    disk_mount=$(mktemp -d "$disk_base/qorn-bench-ext4.XXXXXX")
    if truncate -s 8G "$disk_image" && mkfs.ext4 -q -F -i 4096 "$disk_image" &&
        mount -o loop "$disk_image" "$disk_mount" 2>"$scratch/mount.log"; then
        disk_mounted=1
        disk_args=(--disk "$disk_mount")
    fi
fi
[ ${#disk_args[@]} -gt 0 ] || echo "SKIP: the ext4 rows need root, mkfs.ext4 and a loop device" \
    "(not on tmpfs): $(cat "$scratch/mount.log" 2>/dev/null)" >&2

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(uname -sr)"
echo "scratch: $(df -T "$scratch" | awk 'NR==2 {print $2}') at $scratch"
[ -z "$disk_mounted" ] || echo "disk scratch: ext4 (-i 4096) on $(df --output=source "$disk_mount" | tail -1), image in $disk_base"
echo "load before: $(uptime)"
status=0
"$build/bin/speed_bench" --bin "$build/bin" --root "$scratch" "$mode" ${disk_args[@]+"${disk_args[@]}"} \
    ${display_args[@]+"${display_args[@]}"} || status=$?
echo "load after: $(uptime)"
exit "$status"
