#!/usr/bin/env bash
# SIGKILL at every step (a test seam counts them) and at random moments, in three layouts: hard-linked
# backups, copied backups (the target a tmpfs of its own; needs root), a boot that empties TMPDIR. The next
# start gives back the tree of before (or, after the commit, the installed one), says so, leaves nothing.
# Then files that appear at planned paths mid-run, the directory moved away and back after a kill, a second
# run on a busy directory, a recovering start racing an installing one, the recovery in a box, and the X
# server lost.
source "$(dirname "$0")/lib.sh"
e2e_init

# 63 files, one in two new folders, some large; enough for both installing threads.
src=$E2E_WORK/crash-source
mkdir -p "$src/gamma/new/deeper"
for i in 1 2 3 4 5; do head -c $((i * 40000)) /dev/urandom >"$src/gamma/g$i.bin"; done
printf 'new\n' >"$src/gamma/new/deeper/n.tpl"
printf 'top\n' >"$src/top.tpl"
e2e_make_large_source "$src" 4 14     # the last: it gives every file its time with fractions
e2e_run "packing the crash kit" "$E2E_BIN/efdkit" pack "$src" "$E2E_INSTALL/qorn.efd"

target=$E2E_DEFAULT_DIR
mkdir -p "$target"
e2e_nokit_copy

e2e_older_tree "$src" "$E2E_WORK/original" top.tpl
# No recorded location, so nothing probes the directory before the run.
make_original() { rm -rf "${target:?}"/* "$target"/.[!.]* "$E2E_LAUNCHER_CFG"; cp -a "$E2E_WORK/original/." "$target/"; }

tree_sum() { e2e_tree_fingerprint "$target" "$@" | sha1sum | cut -c1-40; }
# What a person would check after the next start, on one line.
outcome() {
    local said=silent
    ! grep -q 'An interrupted installation was found and undone' "$E2E_ROOT/run.err" || said=said
    echo "$(tree_sum) $(tree_sum files-only) $said [$(e2e_leftovers "$target" | tr '\n' ' ')]"
}

# crash_layout NAME STRIDE ROUNDS: a kill at every STRIDE-th step and at ROUNDS random moments, each
# followed by a start without a kit ("boot" empties TMPDIR first).
crash_layout() {
    local layout=$1 stride=$2 rounds=$3 step=0 k round result
    local -a results=()
    after_kill() { [ "$layout" != boot ] || rm -rf "${TMPDIR:?}"/* "$TMPDIR"/.[!.]*; e2e_run_silent "$E2E_NOKIT"; }
    make_original
    before="$(tree_sum) $(tree_sum files-only)"
    e2e_run_silent "$E2E_INSTALL"
    [ "$status" -eq 0 ] || e2e_fail "$layout: the uninterrupted installation ended with $status: $(cat "$E2E_ROOT/run.err")"
    installed=$(tree_sum files-only)
    e2e_check "$layout: the uninterrupted installation changed the tree" test "$installed" != "${before#* }"
    e2e_check "$layout: the uninterrupted installation left nothing behind" test -z "$(e2e_leftovers "$target")"

    while :; do
        make_original
        e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=$step
        [ "$status" -eq 0 ] && break
        [ "$status" -eq 137 ] || e2e_fail "$layout, step $step: the installer ended with $status instead of being killed"
        after_kill
        results[step]=$(outcome)
        step=$((step + stride))
        [ "$step" -lt 1000 ] || e2e_fail "$layout: the installation never got through its steps"
    done
    # Every layout takes the same steps; the last two follow the commit mark, after which the run is done.
    total_steps=${total_steps:-$step}
    e2e_check "$layout: the installation has at least 30 steps to be killed at ($total_steps)" test "$total_steps" -ge 30
    e2e_check "$layout: the installation took its $total_steps steps ($step)" \
        test "$step" -ge "$total_steps" -a "$step" -lt $((total_steps + stride))
    for k in "${!results[@]}"; do
        if [ "$k" -lt $((total_steps - 2)) ]; then
            e2e_check "$layout, killed at step $k: the tree of before, said, nothing left (${results[k]})" \
                test "${results[k]}" = "$before said []"
        else
            e2e_check "$layout, killed at step $k: the installed tree, nothing to say, nothing left (${results[k]})" \
                test "${results[k]#* }" = "$installed silent []"
        fi
    done

    e2e_slow_installs 20000   # 20 ms an entry: about half a second a run
    for round in $(seq 1 "$rounds"); do
        make_original
        e2e_start_headless -S -Len
        sleep "0.$(printf '%03d' $((RANDOM % 700)))"
        kill -KILL "$E2E_SETUP_PID" 2>/dev/null
        { wait "$E2E_SETUP_PID"; } 2>/dev/null
        after_kill
        result=$(outcome)
        e2e_check "$layout, killed at random ($round): the tree of before or the installed one, nothing left ($result)" \
            test "$result" = "$before said []" -o "${result#* }" = "$installed silent []" -o "$result" = "$before silent []"
    done
    e2e_slow_installs 0
}

total_steps=""
crash_layout links 1 8
crash_layout boot 3 4
# ---- files the user (or a folder-sync client) makes at planned paths while the run is under way stay theirs
make_original
before_files="${before#* }"
appeared=$(cd "$src" && find part3 -type f | LC_ALL=C sort | while read -r f; do [ -e "$E2E_WORK/original/$f" ] || echo "$f"; done | tail -n 2)
e2e_slow_installs 20000
e2e_start_headless -S -Len
e2e_wait_for "the run to be under way" test -e "$target/part0/t01.tpl"
for f in $appeared; do printf "the user's own\n" >"$target/$f"; done
sleep 0.3
kill -KILL "$E2E_SETUP_PID" 2>/dev/null
{ wait "$E2E_SETUP_PID"; } 2>/dev/null
e2e_slow_installs 0
e2e_run_silent "$E2E_NOKIT"
for f in $appeared; do
    e2e_check "a file that appeared at $f during the run stays the user's" grep -qx "the user's own" "$target/$f"
    rm -f "$target/$f"
done
result=$(outcome)
e2e_check "besides the files that appeared, the tree of before, nothing left ($result)" \
    test "$(tree_sum files-only) [$(e2e_leftovers "$target" | tr '\n' ' ')]" = "$before_files []"

# ---- the directory moved away after a kill: the journal waits for it (status 8 for a run into it), then finishes
make_original
e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=60
e2e_check "killed mid-run (status $status)" test "$status" -eq 137
mv "$target" "$target.away"
e2e_run_silent "$E2E_NOKIT"
e2e_check "a start without the directory says the journal waits for it" \
    grep -qF "$(e2e_message IDS_JOURNAL_WAITING) $target" "$E2E_ROOT/run.err"
e2e_check "the waiting journal is kept" test -n "$(ls "$HOME/.local/state/qorn-setup"/*.journal 2>/dev/null)"
e2e_run_silent "$E2E_INSTALL"
e2e_check "a run into the missing directory ends with status 8 (not $status)" test "$status" -eq 8
e2e_check "and creates nothing there" test ! -e "$target"
mv "$target.away" "$target"
e2e_run_silent "$E2E_NOKIT"
e2e_check "the directory back, the next start undoes the run ($(outcome))" test "$(outcome)" = "$before said []"

# A target with a file system of its own: originals are copied beside it, never into TMPDIR.
if e2e_mount_tmpfs "$target" size=16m; then crash_layout copies 2 4; else e2e_log "SKIP: copied backups (no tmpfs)"; fi

# ---- a second run on a directory in use is refused (status 2) and changes nothing of it
make_original
# 300 ms an entry: the first run is still under way however slowly a loaded machine starts the second one.
e2e_slow_installs 300000
e2e_start_headless -S -Len
e2e_wait_for "the first run to be under way" test -e "$target/part0/t01.tpl"
e2e_run_silent "$E2E_INSTALL"
e2e_check "the second run on the same directory was refused with status 2 (not $status)" test "$status" -eq 2
e2e_check "the second run said why" grep -qF "$(e2e_message IDS_DIRECTORY_BUSY)" "$E2E_ROOT/run.out" "$E2E_ROOT/run.err"
kill -KILL "$E2E_SETUP_PID"
{ wait "$E2E_SETUP_PID"; } 2>/dev/null
e2e_slow_installs 0
e2e_run_silent "$E2E_NOKIT"
e2e_check "after the first run died, the next start gave back the tree of before ($(outcome))" \
    test "$(outcome)" = "$before said []"

# ---- a start that undoes a dead run into a new directory races one that installs there (its unlinks slowed):
# the installing one is refused while the undo holds the directory, or undoes the dead run itself before it
# plans; it never takes the dead run's files for its own, and an end with status 0 means the whole kit is there.
fresh=$HOME/t/new
fewer_files_than() { [ "$(find "$fresh" -type f 2>/dev/null | wc -l)" -lt "$1" ]; }
for race in 0.01 0.06 undoing; do
    rm -rf "$HOME/t" && mkdir -p "$HOME/t"
    e2e_start_headless QORN_TEST_CRASH_AT=90 -S -Len "-D$fresh"
    { wait "$E2E_SETUP_PID"; } 2>/dev/null
    count=$(find "$fresh" -type f | wc -l)
    e2e_check "race ($race): the dead run left files ($count)" test "$count" -gt 0
    E2E_SETUP_ENV=(strace -f -qq -o /dev/null -e trace=unlink,unlinkat -e inject=unlink,unlinkat:delay_enter=30000)
    E2E_INSTALL=$E2E_NOKIT e2e_start_headless -Len
    E2E_SETUP_ENV=()
    if [ "$race" = undoing ]; then
        e2e_wait_for "the undo to be under way" fewer_files_than "$count"
    else
        sleep "$race"
    fi
    status=$({ (cd "$E2E_WORK" && unset DISPLAY && exec "$E2E_INSTALL/setup" -S -Len "-D$fresh") \
        >"$E2E_ROOT/run.out" 2>"$E2E_ROOT/run.err"; echo $?; } 2>/dev/null)
    e2e_wait_exit 2   # no kit: could not start
    case $status in
        0) e2e_check "race ($race): installed in the end, so the whole kit is there" e2e_tree_matches "$src" "$fresh" ;;
        2) e2e_check "race ($race): refused while the undo held the directory, and said so" \
               grep -qF "$(e2e_message IDS_DIRECTORY_BUSY)" "$E2E_ROOT/run.err"
           e2e_check "race ($race): the dead run's new directory is undone" test ! -e "$fresh" ;;
        *) e2e_fail "race ($race): the installing start ended with $status: $(cat "$E2E_ROOT/run.err")" ;;
    esac
    e2e_check "race ($race): nothing left behind" test -z "$(e2e_leftovers "$fresh")"
done

# ---- with a display the next start says it in a box, before the box about the missing kit
make_original
e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=5
E2E_INSTALL=$E2E_NOKIT e2e_start_setup -Len
e2e_wait_dialog
e2e_check_box "recovery"
e2e_check "no wizard beside the box" test "$(e2e_windows | wc -l)" = 1
e2e_check "the tree of before is back while the box shows" test "$(tree_sum) $(tree_sum files-only)" = "$before"
first_box=$E2E_DIALOG
e2e_keys "$first_box" Return
_next_box() { _e2e_find_dialog && [ "$E2E_DIALOG" != "$first_box" ]; }
e2e_wait_for "the box about the missing kit" _next_box
e2e_answer Return
e2e_wait_exit 2   # no kit: could not start

# ---- the X server goes away during an installation: rolled back, status 4
make_original
e2e_slow_installs 300000   # as above: the display is gone long before the run could end
e2e_start_setup -S -Len
e2e_wait_for "the installation to be under way" test -e "$target/part0/t01.tpl"
e2e_kill_x
e2e_wait_exit 4
e2e_check "the lost display left the tree of before" test "$(tree_sum) $(tree_sum files-only)" = "$before"
e2e_check "the lost display left nothing behind" test -z "$(e2e_leftovers "$target")"

e2e_finish
