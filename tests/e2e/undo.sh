#!/usr/bin/env bash
# The undo where the system fails it: a dead run's journal that cannot be read once is kept and named, and a
# later start undoes the run; a run under too few file descriptors ends installed or undone, never with a
# false alarm or a tree that is neither.
source "$(dirname "$0")/lib.sh"
e2e_init

src=$E2E_WORK/undo-source
e2e_make_large_source "$src" 4 14
e2e_run "packing the kit" "$E2E_BIN/efdkit" pack "$src" "$E2E_INSTALL/qorn.efd"
target=$E2E_DEFAULT_DIR
mkdir -p "$target"
e2e_nokit_copy
e2e_older_tree "$src" "$E2E_WORK/original"
make_original() { rm -rf "${target:?}"/* "$target"/.[!.]* "$E2E_LAUNCHER_CFG"; cp -a "$E2E_WORK/original/." "$target/"; }
tree_sum() { e2e_tree_fingerprint "$target" "$@" | sha1sum | cut -c1-40; }
outcome() {
    local said=silent
    ! grep -q 'An interrupted installation was found and undone' "$E2E_ROOT/run.err" || said=said
    echo "$(tree_sum) $(tree_sum files-only) $said [$(e2e_leftovers "$target" | tr '\n' ' ')]"
}
make_original
before="$(tree_sum) $(tree_sum files-only)"
e2e_run_silent "$E2E_INSTALL"
installed=$(tree_sum files-only)
e2e_check "the uninterrupted installation ended with 0 ($status) and changed the tree" \
    test "$status $installed" != "0 ${before#* }" -a "$status" -eq 0

# ---- read errors on a dead run's journal (every read: one alone is tried again) keep it, say so, and a later
# start undoes the run
if command -v strace >/dev/null; then
    make_original
    e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=40
    journal=$(ls "$HOME/.local/state/qorn-setup"/*.journal)
    e2e_run_silent "$E2E_NOKIT" strace -f -qq -o /dev/null -P "$journal" -e trace=read -e inject=read:error=EIO:when=1+
    e2e_check "the unreadable journal is named" grep -qF "$(e2e_message IDS_JOURNAL_UNREADABLE) $journal" "$E2E_ROOT/run.err"
    e2e_check "the unreadable journal is kept" test -f "$journal"
    e2e_run_silent "$E2E_NOKIT"
    e2e_check "read at the next start, the run is undone ($(outcome))" test "$(outcome)" = "$before said []"
else
    e2e_log "SKIP: a read error on the journal (no strace)"
fi

# ---- too few descriptors: installed, or undone all the way (the undo releases the installing threads'
# folders and needs few of its own), never a false "not everything could be put back"
for limit in 9 10 11 12 14; do
    make_original
    status=$({ (cd "$E2E_WORK" && unset DISPLAY && ulimit -n "$limit" && exec "$E2E_INSTALL/setup" -S -Len) \
        >"$E2E_ROOT/run.out" 2>"$E2E_ROOT/run.err"; echo $?; } 2>/dev/null)
    said="$(tree_sum files-only) [$(e2e_leftovers "$target" | tr '\n' ' ')]"
    e2e_check "ulimit -n $limit: installed (0) or the tree of before (3), nothing left (status $status: $said)" \
        test "$status $said" = "0 $installed []" -o "$status $said" = "3 ${before#* } []"
done

e2e_finish
