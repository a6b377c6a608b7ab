#!/usr/bin/env bash
# The kit's record on the real executable: an upgrade that keeps a user's edit aside, puts a deleted template
# back, leaves the user's own file and removes the file the new kit dropped; --verify before and after; a
# --dry-run that says exactly what the upgrade then does and changes nothing anywhere; --uninstall that leaves
# only the user's files; a damaged record set aside and trusted with nothing.
source "$(dirname "$0")/lib.sh"
e2e_init

# kit_source DIR VERSION: a.tpl the same in both versions; b.tpl and c.tpl changed in v2; gone/d.tpl only in v1.
kit_source() {
    local dir=$E2E_WORK/$1
    mkdir -p "$dir/tpl" "$dir/gone"
    printf 'a\n' >"$dir/tpl/a.tpl"; touch -d @1500000000 "$dir/tpl/a.tpl"
    printf 'b %s\n' "$1" >"$dir/tpl/b.tpl"
    printf 'c %s\n' "$1" >"$dir/tpl/c.tpl"
    if [ "$1" = v1 ]; then
        printf 'd\n' >"$dir/gone/d.tpl"; touch -d @1500000000 "$dir/tpl/b.tpl" "$dir/tpl/c.tpl" "$dir/gone/d.tpl"
    else
        rmdir "$dir/gone"; touch -d @1700000000 "$dir/tpl/b.tpl" "$dir/tpl/c.tpl"
    fi
    e2e_run "packing $1" "$E2E_BIN/efdkit" pack --lang en --product "Record Test" --provider "Qorn" "$dir" \
        "$E2E_WORK/$1.efd"
}
kit_source v1
kit_source v2
dir=$E2E_ROOT/templates

# run KIT STATUS ARGS...: the installer without a display on kit KIT, ended with STATUS.
run() { local kit=$1 status=$2; shift 2; e2e_install_kit "$E2E_WORK/$kit.efd"; e2e_start_headless "$@" "-D$dir"
        e2e_wait_exit "$status"; }
out() { cat "$E2E_ROOT/setup-$E2E_RUN.out"; }
err() { cat "$E2E_ROOT/setup-$E2E_RUN.err"; }
# Everything a run may touch, with contents and times: the tree, the launcher file, the journal folder, TMPDIR.
snapshot() {
    local where
    for where in "$dir" "$HOME" "$@"; do
        find "$where" -printf '%p %y %s %T@\n' | sort
        find "$where" -type f -exec md5sum {} + | sort
    done
}

run v1 0 -S
run v1 0 -V
e2e_check "verify of a fresh installation prints nothing" test -z "$(out)"

# The user edits b.tpl (between v1's time and v2's), deletes c.tpl and adds a file of their own.
printf 'my edit\n' >"$dir/tpl/b.tpl"; touch -d @1600000000 "$dir/tpl/b.tpl"
rm "$dir/tpl/c.tpl"
printf 'mine\n' >"$dir/tpl/mine.tpl"
# a.tpl rewritten with its size and time kept: only its status-change time tells, and it is read.
printf 'x\n' >"$dir/tpl/a.tpl"; touch -d @1500000000 "$dir/tpl/a.tpl"
run v1 6 -V
e2e_check "verify names the edited and the deleted template" e2e_said out "changed tpl/a.tpl" "changed tpl/b.tpl" \
    "missing tpl/c.tpl"
printf 'a\n' >"$dir/tpl/a.tpl"; touch -d @1500000000 "$dir/tpl/a.tpl"

snapshot "$TMPDIR" >"$E2E_ROOT/before"
run v2 0 -N
snapshot "$TMPDIR" >"$E2E_ROOT/after"
e2e_check "the dry run changed nothing: tree, launcher file, journal folder, TMPDIR" \
    cmp -s "$E2E_ROOT/before" "$E2E_ROOT/after"
e2e_check "the dry run says what the upgrade does" e2e_said out "create tpl/c.tpl" "replace tpl/b.tpl" \
    "up-to-date tpl/a.tpl" "keep-aside tpl/b.tpl tpl/b.tpl.qorn-old" "remove gone/d.tpl" \
    "total create=1 replace=1 up-to-date=1 keep-aside=1 keep-edited=0 remove=1 bytes-written=10 bytes-removed=2"

run v2 0 -S
e2e_check "the upgrade names the kept edit" grep -qF "$(e2e_message IDS_SUMMARY_KEPT_EDIT) $dir/tpl/b.tpl.qorn-old" \
    "$E2E_ROOT/setup-$E2E_RUN.err"
e2e_check "the edit is kept aside" test "$(cat "$dir/tpl/b.tpl.qorn-old")" = "my edit"
e2e_check "b.tpl is v2's" cmp -s "$dir/tpl/b.tpl" "$E2E_WORK/v2/tpl/b.tpl"
e2e_check "the deleted c.tpl is back, v2's" cmp -s "$dir/tpl/c.tpl" "$E2E_WORK/v2/tpl/c.tpl"
e2e_check "the user's own file is untouched" test "$(cat "$dir/tpl/mine.tpl")" = "mine"
e2e_check "the dropped file and its folder are gone" test ! -e "$dir/gone"
run v2 0 -V
e2e_check "verify after the upgrade prints nothing" test -z "$(out)"

# A dry run outweighs --uninstall: it says what the uninstallation would remove and changes nothing.
snapshot >"$E2E_ROOT/before"
run v2 0 -U -N
snapshot >"$E2E_ROOT/after"
e2e_check "an uninstallation's dry run changes nothing" cmp -s "$E2E_ROOT/before" "$E2E_ROOT/after"
e2e_check "an uninstallation's dry run names what would go" \
    test "$(out | grep -c '^remove ')" -eq "$(out | sed -n 's/^total .* remove=\([0-9]*\) .*/\1/p')" -a "$(out | grep -c '^remove ')" -gt 0
run v2 0 -S -U
e2e_check "uninstall leaves exactly the user's file and the kept edit" \
    test "$(cd "$dir" && find . | sort | tr '\n' ' ')" = ". ./tpl ./tpl/b.tpl.qorn-old ./tpl/mine.tpl "
# The lock it takes to read the record comes and goes in the lock folder: that folder's time may move.
snapshot | grep -v 'qorn-setup-locks ' >"$E2E_ROOT/before"
run v2 7 -S -U
snapshot | grep -v 'qorn-setup-locks ' >"$E2E_ROOT/after"
e2e_check "a second uninstall finds no record and changes nothing" cmp -s "$E2E_ROOT/before" "$E2E_ROOT/after"
run v2 7 -V

# A damaged record is set aside, and the upgrade goes on by the time rule alone: nothing is removed by it.
rm -rf "$dir"
run v1 0 -S
printf 'x' >>"$dir"/.qorn-record/*.record
run v2 0 -S
e2e_check "the damaged record is set aside and named" grep -qF "$(e2e_message IDS_RECORD_SET_ASIDE)" \
    "$E2E_ROOT/setup-$E2E_RUN.err"
e2e_check "the set-aside record is kept" test -n "$(ls "$dir"/.qorn-record/*.record.bad)"
e2e_check "nothing is removed on a damaged record's word" test -e "$dir/gone/d.tpl"

# Something but a folder where the record goes, a link to the record folder moved elsewhere or a file, is the user's:
# every kind of run stops at it before any change, names it and ends as failed; nothing goes through the link.
rm -rf "$dir"
run v1 0 -S
mv "$dir/.qorn-record" "$E2E_ROOT/moved-record"
rm "$dir/tpl/c.tpl"   # an installation would have a file to write
for obstacle in link file; do
    if [ "$obstacle" = link ]; then ln -s "$E2E_ROOT/moved-record" "$dir/.qorn-record"
    else rm "$dir/.qorn-record"; printf 'mine\n' >"$dir/.qorn-record"; fi
    snapshot "$E2E_ROOT/moved-record" | grep -v 'qorn-setup-locks ' >"$E2E_ROOT/before"
    for args in -S "-S -U" -V -N "-U -N"; do
        run v2 3 $args
        e2e_check "a $obstacle, $args: named as the obstacle" \
            grep -qF "$(e2e_message IDS_RECORD_NOT_FOLDER) $dir/.qorn-record" "$E2E_ROOT/setup-$E2E_RUN.err"
        e2e_check "a $obstacle, $args: no line for scripts" test -z "$(out)"
    done
    snapshot "$E2E_ROOT/moved-record" | grep -v 'qorn-setup-locks ' >"$E2E_ROOT/after"
    e2e_check "a $obstacle: nothing changed, on either side of it" cmp -s "$E2E_ROOT/before" "$E2E_ROOT/after"
done

# An uninstallation that removes everything removes the directory it made, and the launcher forgets it.
rm -rf "$dir"
run v2 0 -S
e2e_check "the launcher file records the directory" grep -qF "$dir" "$E2E_LAUNCHER_CFG"
run v2 0 -S -U
e2e_check "the kit's own directory went with it" test ! -e "$dir"
e2e_check "the launcher file no longer names it" eval '! grep -qF "$dir" "$E2E_LAUNCHER_CFG"'
e2e_finish
