#!/usr/bin/env bash
# Hard rollbacks, each back to the exact tree of before with nothing left and no backup in TMPDIR: TMPDIR on
# /dev/shm, the target's file system filling up, the target a mount point (also read-only, and with Ctrl+C
# again mid-rollback); a kit that cannot fit, in bytes or in inodes; then a full or unwritable TMPDIR, which an
# installation no longer needs. Needs root (else 77).
source "$(dirname "$0")/lib.sh"
e2e_init

# Without a tmpfs the test is skipped.
small_fs() { e2e_mount_tmpfs "$@" || { e2e_log "SKIP: cannot mount a tmpfs"; exit 77; }; }
small_fs "$E2E_ROOT/fs" size=6m
small_fs "$E2E_ROOT/tiny" size=1m
shm=/dev/shm/qorn-e2e-rollback-$$
e2e_on_exit() { rm -rf "$shm"; }
mkdir -p "$shm"

# 30 files of 100 KB, so that a fill of the file system lands mid-way.
src=$E2E_WORK/rollback-source
mkdir -p "$src/docs" "$src/new"
for i in $(seq -w 1 29); do head -c 100000 /dev/urandom >"$src/docs/d$i.bin"; done
printf 'created\n' >"$src/new/n.tpl"
find "$src" -type f -exec touch -d '2023-01-01 00:00:00.5' {} +
e2e_run "packing the rollback kit" "$E2E_BIN/efdkit" pack "$src" "$E2E_INSTALL/qorn.efd"

# original HOME: a fresh home whose template directory holds older copies; their fingerprint in $before.
original() {
    e2e_use_home "$1"
    e2e_older_tree "$src" "$E2E_DEFAULT_DIR"
    before=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR")
}

# rolled_back NAME STATUS: the run ended with STATUS, and left the tree of before and nothing else.
rolled_back() {
    e2e_wait_exit "$2"
    e2e_check "$1: the exact tree of before" e2e_tree_is "$E2E_DEFAULT_DIR" "$before"
    local left=$(e2e_leftovers "$E2E_DEFAULT_DIR" "$shm")
    e2e_check "$1: nothing left behind${left:+ (found: $left)}" test -z "$left"
}

# run_case NAME HOME TEMP ACTION: ACTION once the installation is under way.
run_case() {
    local name=$1 action=$4
    original "$2"
    # 150 ms an entry: the ten entries after d20 leave a loaded machine a second and a half to act.
    e2e_start_headless "LD_PRELOAD=$E2E_BIN/slow_futimes.so" QORN_E2E_FUTIMES_DELAY_US=150000 "TMPDIR=$3" -S -Len
    # Far enough for several originals to be in the backup.
    e2e_wait_for "$name: the installation to be under way" test -e "$E2E_DEFAULT_DIR/docs/d20.bin"
    e2e_check "$name: the backup lies beside the template directory" test -d "$(dirname "$E2E_DEFAULT_DIR")/.xorup0"
    case $action in
        fill) dd if=/dev/zero of="$E2E_ROOT/fs/filler" bs=64k 2>/dev/null ;;
        interrupt) kill -INT "$E2E_SETUP_PID" ;;
        interrupt-twice) for signal in INT INT TERM; do kill -$signal "$E2E_SETUP_PID" 2>/dev/null; sleep 0.15; done ;;
    esac
    if [ "$action" = fill ]; then rolled_back "$name" 3; else rolled_back "$name" 4; fi   # failed / stopped
    rm -f "$E2E_ROOT/fs/filler"
}

run_case shm-temp home-shm "$shm" interrupt
run_case disk-full fs/home "$shm" fill
e2e_check "disk-full: the failure was reported" grep -qE 'Installation error|Insufficient space' "$E2E_SETUP_ERR"
# A target that is a mount point: the originals are copied (and synced) beside it; Ctrl+C again mid-rollback.
small_fs "$E2E_ROOT/home-mount/.qorn/Vq/vq8/tmplts" size=8m
run_case mount-root home-mount "$TMPDIR" interrupt-twice

# ---- such a target read-only, no folder to create: the first original is copied but never moves
cp -a "$src" "$E2E_WORK/ro-source" && rm -r "$E2E_WORK/ro-source/new"
e2e_run "packing the kit without new folders" "$E2E_BIN/efdkit" pack "$E2E_WORK/ro-source" "$E2E_INSTALL/qorn.efd"
small_fs "$E2E_ROOT/home-read-only/.qorn/Vq/vq8/tmplts" size=8m
original home-read-only
mount -o remount,ro "$E2E_DEFAULT_DIR" || e2e_fail "cannot turn the tmpfs read-only"
e2e_start_headless -S -Len
rolled_back read-only 3

# ---- a kit that cannot fit is refused before anything changes, so no journal is begun
original tiny/home
e2e_start_headless -S -Len
rolled_back "no room" 3
e2e_check "no room: said so" grep -q 'Insufficient space available in the template directory' "$E2E_SETUP_ERR"
e2e_check "no room: no journal was begun" test ! -e "$HOME/.local/state/qorn-setup"

# ---- the same for a kit of more files than the file system has inodes left (an ext4 of 48), blocks to spare
if e2e_mount_ext4 "$E2E_ROOT/few-inodes" 8M 48; then
    mkdir -p "$E2E_WORK/many/a" "$E2E_WORK/many/b" && touch "$E2E_WORK"/many/{a,b}/{1..30}.tpl
    e2e_run "packing the kit of 60 files" "$E2E_BIN/efdkit" pack "$E2E_WORK/many" "$E2E_INSTALL/qorn.efd"
    e2e_use_home few-inodes/home
    mkdir -p "$E2E_DEFAULT_DIR/a" && printf 'mine\n' >"$E2E_DEFAULT_DIR/a/1.tpl"
    before=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR")
    e2e_start_headless -S -Len
    rolled_back "few inodes" 3
    e2e_check "few inodes: said so" grep -q 'Insufficient space available in the template directory' "$E2E_SETUP_ERR"
    e2e_check "few inodes: no journal was begun" test ! -e "$HOME/.local/state/qorn-setup"
else
    e2e_log "SKIP few inodes: cannot loop-mount an ext4 image (not root, or no loop device)"
fi

# ---- a full or read-only TMPDIR does not matter: the kit is inflated in memory as it is installed, nothing goes there
mkdir -p "$E2E_WORK/big"
head -c $((80 << 20)) /dev/zero >"$E2E_WORK/big/zeros.bin"
e2e_run "packing the kit of an 80 MiB image" "$E2E_BIN/efdkit" pack "$E2E_WORK/big" "$E2E_INSTALL/qorn.efd"
for how in full:size=64m read-only:size=64m,ro; do
    IFS=: read -r how options <<<"$how"
    small_fs "$E2E_ROOT/tmp-$how" "$options"
    e2e_use_home "home-tmp-$how"
    e2e_start_headless "TMPDIR=$E2E_ROOT/tmp-$how" -S -Len
    e2e_wait_exit 0
    e2e_check "$how temp: nothing put in it" test -z "$(ls -A "$E2E_ROOT/tmp-$how")"
    e2e_check "$how temp: the kit installed whole" cmp -s "$E2E_WORK/big/zeros.bin" "$E2E_DEFAULT_DIR/zeros.bin"
done

e2e_finish
