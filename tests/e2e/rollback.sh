#!/usr/bin/env bash
# Hard rollbacks, each back to the exact tree of before with nothing left and no backup in TMPDIR: TMPDIR on
# /dev/shm, the target's file system filling up, the target a mount point (also read-only, and with Ctrl+C
# again mid-rollback); then a full or unwritable TMPDIR. Needs root for its tmpfs mounts (else 77).
source "$(dirname "$0")/lib.sh"
e2e_init

mounts=()
shm=""
# Keeps the script's own status: the test fails when a check failed.
unmount_all() {
    local status=$? point
    for point in "${mounts[@]}"; do umount -l "$point" 2>/dev/null; done
    [ -z "$shm" ] || rm -rf "$shm"
    (exit "$status")
    e2e_cleanup
}
trap unmount_all EXIT

# small_fs DIR SIZE[,OPTIONS]: a tmpfs of SIZE at DIR.
small_fs() {
    mkdir -p "$1"
    mount -t tmpfs -o "size=$2" tmpfs "$1" 2>/dev/null || { e2e_log "SKIP: cannot mount a tmpfs"; exit 77; }
    mounts+=("$1")
}
small_fs "$E2E_ROOT/fs" 6m
small_fs "$E2E_ROOT/tiny" 1m
shm=/dev/shm/qorn-e2e-rollback-$$
mkdir -p "$shm"
[ "$(stat -c %d "$shm")" != "$(stat -c %d "$TMPDIR")" ] || e2e_log "note: /dev/shm is on the disk's file system here"

# 30 files of 100 KB, so that a fill of the file system lands mid-way.
src=$E2E_WORK/rollback-source
mkdir -p "$src/docs" "$src/new"
for i in $(seq -w 1 29); do head -c 100000 /dev/urandom >"$src/docs/d$i.bin"; done
printf 'created\n' >"$src/new/n.tpl"
find "$src" -type f -exec touch -d '2023-01-01 00:00:00.5' {} +
e2e_run "packing the rollback kit" "$E2E_BIN/efdkit" pack "$src" "$E2E_INSTALL/qorn.efd"

# make_original DIR: older copies of every third file, with modes and times of their own.
make_original() {
    rm -rf "${1:?}"/* "$1"/.[!.]* 2>/dev/null
    mkdir -p "$1/docs"
    local i
    for i in 01 04 07 10 13 16 19 22 25 28; do printf 'old %s\n' "$i" >"$1/docs/d$i.bin"; done
    chmod 0604 "$1/docs/d01.bin"
    find "$1" -type f -exec touch -d '2001-01-01 00:00:00.25' {} +
    find "$1" -type d -exec touch -d '2002-02-02 00:00:00.75' {} +
}

# run_case NAME HOME TEMP BACKUP ACTION: ACTION once the installation is under way.
run_case() {
    local name=$1 temp=$3 backup=$4 action=$5 before target
    e2e_use_home "$2"
    target=$E2E_DEFAULT_DIR
    mkdir -p "$target"
    make_original "$target"
    before=$(e2e_tree_fingerprint "$target")
    # 150 ms an entry: the ten entries after d20 leave a loaded machine a
    # second and a half to act before the run could end on its own.
    E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" "QORN_E2E_FUTIMES_DELAY_US=150000" "TMPDIR=$temp")
    e2e_start_headless -S -Len
    # Far enough for several originals to be in the backup.
    e2e_wait_for "$name: the installation to be under way" test -e "$target/docs/d20.bin"
    e2e_check "$name: the backup lies in $backup" test -d "$backup"
    case $action in
        interrupt) kill -INT "$E2E_SETUP_PID" ;;
        fill) dd if=/dev/zero of="$E2E_ROOT/fs/filler" bs=64k 2>/dev/null ;;
        interrupt-twice)
            kill -INT "$E2E_SETUP_PID"
            sleep 0.15
            kill -INT "$E2E_SETUP_PID" 2>/dev/null
            sleep 0.15
            kill -TERM "$E2E_SETUP_PID" 2>/dev/null ;;
    esac
    local expected=4   # stopped by a signal, rolled back
    [ "$action" != fill ] || expected=3   # failed, rolled back
    e2e_wait_exit "$expected"
    rm -f "$E2E_ROOT/fs/filler"
    e2e_check "$name: the exact tree of before" e2e_tree_is "$target" "$before"
    left=$(e2e_leftovers "$target" "$shm")
    e2e_check "$name: nothing left behind${left:+ (found: $left)}" test -z "$left"
    e2e_check "$name: no claim that originals were kept elsewhere" \
        test "$(grep -c 'Not every original file' "$E2E_SETUP_ERR")" = 0
}

run_case same-fs home-same "$TMPDIR" "$E2E_ROOT/home-same/.qorn/Vq/vq8/.xorup0" interrupt
run_case shm-temp home-shm "$shm" "$E2E_ROOT/home-shm/.qorn/Vq/vq8/.xorup0" interrupt
run_case disk-full fs/home "$shm" "$E2E_ROOT/fs/home/.qorn/Vq/vq8/.xorup0" fill
e2e_check "disk-full: the failure was reported" grep -qE 'Installation error|Insufficient space' "$E2E_SETUP_ERR"
# A target that is a mount point: the originals are copied (and synced) beside it.
for name in mount-root ctrl-c-in-rollback; do
    small_fs "$E2E_ROOT/home-$name/.qorn/Vq/vq8/tmplts" 8m
    action=interrupt
    [ "$name" = mount-root ] || action=interrupt-twice
    run_case "$name" "home-$name" "$TMPDIR" "$E2E_ROOT/home-$name/.qorn/Vq/vq8/.xorup0" "$action"
done

# ---- such a target read-only: the first original is copied but never moves; status 3, no backup kept.
# (No folder to create, so that the first failure is the first file's.)
cp -a "$src" "$E2E_WORK/ro-source" && rm -r "$E2E_WORK/ro-source/new"
e2e_run "packing the kit without new folders" "$E2E_BIN/efdkit" pack "$E2E_WORK/ro-source" "$E2E_INSTALL/qorn.efd"
e2e_use_home home-read-only
small_fs "$E2E_DEFAULT_DIR" 8m
make_original "$E2E_DEFAULT_DIR"
mount -o remount,ro "$E2E_DEFAULT_DIR" || e2e_fail "cannot turn the tmpfs read-only"
before=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR")
E2E_SETUP_ENV=()
e2e_start_headless -S -Len
e2e_wait_exit 3
e2e_check "read-only: the tree is untouched" e2e_tree_is "$E2E_DEFAULT_DIR" "$before"
e2e_check "read-only: said it is unchanged" grep -qF "$(e2e_message IDS_ERROR_FINISH)" "$E2E_SETUP_ERR"
e2e_check "read-only: no claim that originals were kept elsewhere" \
    test "$(grep -c 'Not every original file' "$E2E_SETUP_ERR")" = 0
left=$(e2e_leftovers "$E2E_DEFAULT_DIR" "$shm")
e2e_check "read-only: nothing left behind${left:+ (found: $left)}" test -z "$left"

# ---- a kit that cannot fit is refused before anything changes
e2e_use_home tiny/home
mkdir -p "$E2E_DEFAULT_DIR"
make_original "$E2E_DEFAULT_DIR"
before=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR")
E2E_SETUP_ENV=()
e2e_start_headless -S -Len
e2e_wait_exit 3
e2e_check "no room: said so" grep -q 'Insufficient space available in the template directory' "$E2E_SETUP_ERR"
e2e_check "no room: the tree is untouched" e2e_tree_is "$E2E_DEFAULT_DIR" "$before"
e2e_check "no room: found before any change, so no journal was begun" test ! -e "$HOME/.local/state/qorn-setup"
left=$(e2e_leftovers "$E2E_DEFAULT_DIR" "$shm")
e2e_check "no room: nothing left behind${left:+ (found: $left)}" test -z "$left"


# ---- TMPDIR's own trouble told as such, not as a damaged kit, and nothing left in it
mkdir -p "$E2E_WORK/big"
head -c $((80 << 20)) /dev/zero >"$E2E_WORK/big/zeros.bin"
e2e_run "packing the kit of an 80 MiB image" "$E2E_BIN/efdkit" pack "$E2E_WORK/big" "$E2E_INSTALL/qorn.efd"
for how in full read-only; do
    case $how in
        full) options=64m message=IDS_ERROR_NOSPACE ;;
        read-only) options=64m,ro message=IDS_ERROR_TEMPDIR ;;
    esac
    small_fs "$E2E_ROOT/tmp-$how" "$options"
    e2e_use_home "home-tmp-$how"
    E2E_SETUP_ENV=("TMPDIR=$E2E_ROOT/tmp-$how")
    e2e_start_headless -S -Len
    e2e_wait_exit 2
    e2e_check "$how temp: the box says $message" grep -qF "$(e2e_message $message)" "$E2E_SETUP_ERR"
    e2e_check "$how temp: nothing left in it" test -z "$(ls -A "$E2E_ROOT/tmp-$how")"
    e2e_check "$how temp: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
done

e2e_finish
