#!/usr/bin/env bash
# The order in which an installation, and the undo of one that was killed, make their work durable, seen by
# strace, so that a power loss between any two steps leaves what the next start can settle.
source "$(dirname "$0")/lib.sh"
e2e_need strace
e2e_init
e2e_default_kit
target=$E2E_DEFAULT_DIR
# An older copy of one file, so that there is a backup to drop.
mkdir -p "$target/forms"
printf 'older\n' >"$target/forms/invoice.tpl"
touch -d '2001-01-01' "$target/forms/invoice.tpl"
E2E_SETUP_ENV=(strace -f -y -qq -s 0 -o "$E2E_ROOT/calls.trace" -e trace=write,fsync,fdatasync,syncfs,rename,renameat,renameat2,linkat,unlink,unlinkat,rmdir,mkdir,mkdirat,utimensat)
e2e_start_headless -S -Len
e2e_wait_exit

# calls_log TRACE: the trace as "call path [second path]" lines: a descriptor's path joined with the name
# after it; a call that another thread's cut in two is kept where it began.
calls_log() {
    sed -E '/ resumed>/d; s/^[0-9]+ +//; s/ <unfinished \.\.\.>//; s/[0-9]+<([^>]*)>, "([^"]*)"/\1\/\2/g
            s/[0-9]+<([^>]*)>/\1/g; s/"//g' "$1" |
        awk -F '[(]|, |[)]' '{
            call = $1
            if (call ~ /^(renameat2?|linkat|unlinkat|mkdirat)$/) sub(/at2?$/, "", call)
            if (call == "unlink" && /AT_REMOVEDIR/) call = "rmdir"
            print call " " $2 (call ~ /^(rename|link)$/ ? " " $3 : "")
        }'
}
log=$E2E_ROOT/calls.log
calls_log "$E2E_ROOT/calls.trace" >"$log"

# at first|last CALLS PREFIX: the number of the first (last) line of a call matching CALLS on a path under
# PREFIX; 0 when there is none.
at() {
    awk -v which="$1" -v calls="^($2)\$" -v prefix="$3" '
        $1 ~ calls && index($2, prefix) == 1 { if (which == "first" && !found) found = NR; if (which == "last") found = NR }
        END { print found + 0 }' "$log"
}
# in_order LINE...: each line is found (not 0) and comes after the one before; sort names the first that does not.
in_order() { printf '%s\n' 0 "$@" | sort -nuc; }
# synced_before LINE: the journal's last write before LINE (found, not 0) is followed by an fdatasync before it.
synced_before() {
    awk -v limit="$1" -v prefix="$journal" '
        NR >= limit { exit }
        index($2, prefix) == 1 && $1 == "write" { synced = 0 }
        index($2, prefix) == 1 && $1 == "fdatasync" { synced = 1 }
        END { exit !(limit > 0 && synced) }' "$log"
}

journal=$HOME/.local/state/qorn-setup/
changes='mkdir|link|rename|unlink|rmdir|utimensat'
first_change=$(at first "$changes" "$target/")
e2e_check "the journal's name is synced before the first change to the template directory" \
    in_order "$(at first fsync "${journal%/}")" "$first_change"
e2e_check "all the journal says is synced before the first change to the template directory" \
    synced_before "$first_change"
# The backup folder, wherever it lies: where the replaced original was linked.
backup=$(awk '$1 == "link" && index($2, target) == 1 { print $3; exit }' target="$target/" "$log" |
    sed -n 's|^\(.*/\.\{0,1\}xorup[0-9]*\)/.*|\1|p')
e2e_check "the original was linked into a backup folder ($backup)" test -n "$backup"
made=$(at first mkdir "${backup:-?}")
e2e_check "the backup folder is named in the synced journal, under a synced name, before it is made" \
    eval 'synced_before "$made" && in_order "$(at first fsync "${journal%/}")" "$made"'
e2e_check "the installed data is flushed, then the commit mark is written and synced, then the backup goes" \
    in_order "$(at last rename "$target/")" "$(at first syncfs "$target")" "$(at last write "$journal")" \
    "$(at last fdatasync "$journal")" "$(at first 'unlink|rmdir' "${backup:-?}/")"
cfg_folder=$(dirname "$E2E_LAUNCHER_CFG")
e2e_check "the launcher file's temporary is synced before it is renamed into place" \
    in_order "$(at last fsync "$cfg_folder/.")" "$(at last rename "$cfg_folder/.")"
e2e_check "the launcher file is the renamed temporary" \
    grep -qxF "rename $(sed -n 's/^fsync \(.*tavrilon.*\)/\1/p' "$log" | tail -n 1) $E2E_LAUNCHER_CFG" "$log"
[ "$E2E_FAILURES" -eq 0 ] || sed 's/^/    /' "$log" >&2

# ---- the undo of a run killed after its last file: what it put back is on disk before its journal goes; with
# the template directory on a file system of its own (needs root), a copied-back original's rename is on disk
# before its backup copy goes
e2e_nokit_copy
for layout in links copies; do
    rm -rf "${target:?}"/*
    if [ "$layout" = copies ] && ! e2e_mount_tmpfs "$target" size=8m; then
        e2e_log "SKIP: the undo of copied backups (no tmpfs)"
        break
    fi
    mkdir -p "$target/forms"
    printf 'older\n' >"$target/forms/invoice.tpl"
    touch -d '2001-01-01' "$target/forms/invoice.tpl"
    E2E_SETUP_ENV=()
    e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=13   # the last step before the commit
    e2e_check "$layout: killed with the original replaced (status $status)" \
        eval 'test "$status" -eq 137 && ! grep -q older "$target/forms/invoice.tpl"'
    E2E_SETUP_ENV=(strace -f -y -qq -s 0 -o "$E2E_ROOT/undo-$layout.trace"
                   -e trace=rename,renameat,renameat2,unlink,unlinkat,rmdir,syncfs,fsync,fdatasync)
    E2E_INSTALL=$E2E_NOKIT e2e_start_headless -S -Len
    e2e_wait_exit 2   # no kit: it recovers, then ends
    log=$E2E_ROOT/undo-$layout.log
    calls_log "$E2E_ROOT/undo-$layout.trace" >"$log"
    e2e_check "$layout: the undo put the original back" grep -qx older "$target/forms/invoice.tpl"
    put_back=$(at last rename "$(dirname "$target")/.xorup")
    if [ "$layout" = copies ]; then
        put_back=$(at last rename "$target/forms/.qorn~")
        e2e_check "copies: the copy is renamed into place, its folder synced, then the backup copy goes" \
            in_order "$put_back" "$(at last fsync "$target/forms")" "$(at last unlink "$(dirname "$target")/.xorup")"
    fi
    e2e_check "$layout: the original is put back, the template directory's file system flushed, then the journal goes" \
        in_order "$put_back" "$(at last syncfs "$target")" "$(at last unlink "$journal")"
    [ "$E2E_FAILURES" -eq 0 ] || sed 's/^/    /' "$log" >&2
done
e2e_finish
