#!/usr/bin/env bash
# The temporary directory's own trouble is told as such, not as a damaged
# kit: a kit whose image does not fit gets the lack-of-space box, a
# directory that cannot be written its own box; neither leaves anything in
# it. Needs to mount small file systems (root); skipped otherwise.
source "$(dirname "$0")/lib.sh"
e2e_init
[ -x "$E2E_BIN/print_message" ] || e2e_fail "$E2E_BIN/print_message is missing: build it first"
mkdir -p "$E2E_WORK/big"
head -c $((80 << 20)) /dev/zero >"$E2E_WORK/big/zeros.bin"
e2e_run "packing the kit of an 80 MiB image" "$E2E_BIN/efdkit" pack --lang en --product Big --provider Test \
    "$E2E_WORK/big" "$E2E_INSTALL/qorn.efd"

small=$E2E_ROOT/small-tmp
mkdir -p "$small"
# The harness's clean-up reads the script's status: keep it across umount.
trap 'status=$?; umount -l "$small" 2>/dev/null; (exit $status); e2e_cleanup' EXIT
for how in full read-only; do
    case $how in
        full) options=size=64m; message=IDS_ERROR_NOSPACE ;;
        read-only) options=size=64m,ro; message=IDS_ERROR_TEMPDIR ;;
    esac
    mount -t tmpfs -o "$options" tmpfs "$small" 2>/dev/null || { e2e_log "SKIP: cannot mount a tmpfs"; exit 77; }
    expected=$("$E2E_BIN/print_message" en "$message") || e2e_fail "no text for $message"
    e2e_use_home "home-$how"
    saved=$TMPDIR
    export TMPDIR=$small
    e2e_start_headless -S -Len
    e2e_wait_exit 2
    e2e_check "$how: the box says $message" grep -qF "$expected" "$E2E_SETUP_ERR"
    e2e_check "$how: the temporary directory is left empty" test -z "$(ls -A "$small")"
    e2e_check "$how: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
    export TMPDIR=$saved
    umount "$small"
done
e2e_finish
