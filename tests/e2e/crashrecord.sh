#!/usr/bin/env bash
# SIGKILL at every step of an upgrade that keeps an edit aside and removes a dropped file and folder, and of an
# uninstallation: after the next start the tree is exactly the one before or the one after the run (files,
# contents, times, the record with them), nothing stranded.
source "$(dirname "$0")/lib.sh"
e2e_init

for version in v1 v2; do
    src=$E2E_WORK/$version
    mkdir -p "$src/tpl"
    printf 'a\n' >"$src/tpl/a.tpl"; touch -d @1500000000 "$src/tpl/a.tpl"
    printf 'b %s\n' $version >"$src/tpl/b.tpl"
    e2e_make_large_source "$src" 2 10
    if [ $version = v1 ]; then
        mkdir -p "$src/gone/deeper"; printf 'd\n' >"$src/gone/deeper/d.tpl"
        touch -d @1500000000 "$src/tpl/b.tpl" "$src/gone/deeper/d.tpl"
    else
        touch -d @1700000000 "$src/tpl/b.tpl"
    fi
    e2e_run "packing $version" "$E2E_BIN/efdkit" pack --lang en --product "Crash" --provider "Qorn" "$src" \
        "$E2E_WORK/$version.efd"
done
target=$E2E_DEFAULT_DIR
e2e_nokit_copy
tree_sum() { e2e_tree_fingerprint "$target" files-only | sha1sum | cut -c1-40; }

# The state before the upgrade: v1 installed, b.tpl edited by the user, a file of the user's own.
make_v1() {
    rm -rf "$target" "$E2E_LAUNCHER_CFG"
    e2e_install_kit "$E2E_WORK/v1.efd"; e2e_run_silent "$E2E_INSTALL"
    printf 'edit\n' >"$target/tpl/b.tpl"; touch -d @1600000000 "$target/tpl/b.tpl"; printf 'mine\n' >"$target/mine"; touch -d @1600000000 "$target/mine"
    e2e_install_kit "$E2E_WORK/v2.efd"
}
make_v2() { make_v1; e2e_run_silent "$E2E_INSTALL"; }

# crash_run NAME MAKE ARGS...: the run after MAKE, uninterrupted, then killed at every step.
crash_run() {
    local name=$1 make=$2 step=0 before after result; shift 2
    $make; before=$(tree_sum)
    e2e_run_silent "$E2E_INSTALL" "$@"
    [ "$status" -eq 0 ] || e2e_fail "$name: the uninterrupted run ended with $status: $(cat "$E2E_ROOT/run.err")"
    after=$(tree_sum)
    e2e_check "$name: the run changed the tree" test "$before" != "$after"
    while :; do
        $make
        e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=$step "$@"
        [ "$status" -eq 0 ] && break
        [ "$status" -eq 137 ] || e2e_fail "$name, step $step: ended with $status instead of being killed"
        e2e_run_silent "$E2E_NOKIT"
        result="$(tree_sum) [$(e2e_leftovers "$target" | tr '\n' ' ')]"
        e2e_check "$name, killed at step $step: the tree before or after, nothing left ($result)" \
            test "$result" = "$before []" -o "$result" = "$after []"
        step=$((step + 1))
        [ "$step" -lt 300 ] || e2e_fail "$name: the run never got through its steps"
    done
    e2e_check "$name: at least 10 steps to be killed at ($step)" test "$step" -ge 10
}

crash_run upgrade make_v1

# Killed half-way, the upgrade waits to be undone by the next start that may change things: until then --verify
# and --dry-run say so (status 2), describe nothing, and leave the tree and the journal to that start.
make_v1
e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=2
killed=$(tree_sum)
for mode in -V -N; do
    status=0
    (cd "$E2E_WORK" && unset DISPLAY && "$E2E_INSTALL/setup" $mode -Len) >"$E2E_ROOT/ro.out" 2>"$E2E_ROOT/run.err" ||
        status=$?
    e2e_check "killed run pending: $mode says so (status $status) and describes nothing" eval 'test "$status" -eq 2 &&
        grep -qF "$(e2e_message IDS_INTERRUPTED_RUN_PENDING)" "$E2E_ROOT/run.err" && test ! -s "$E2E_ROOT/ro.out"'
done
e2e_check "killed run pending: the tree is as the kill left it" test "$(tree_sum)" = "$killed"
e2e_run_silent "$E2E_NOKIT"
status=0; (cd "$E2E_WORK" && unset DISPLAY && "$E2E_INSTALL/setup" -N -Len) >/dev/null 2>&1 || status=$?
e2e_check "killed run undone by the next start: the dry run answers again (status $status)" test "$status" -eq 0
# The wrapper runs -S -Len; the uninstallation's option follows through the environment-free argument list.
uninstall_run() { (cd "$E2E_WORK" && unset DISPLAY && exec env "$@" "$E2E_INSTALL/setup" -S -U -Len) \
    >"$E2E_ROOT/run.out" 2>"$E2E_ROOT/run.err"; }
e2e_run_silent() {
    local dir=$1; shift
    if [ "${UNINSTALL:-}" = 1 ] && [ "$dir" = "$E2E_INSTALL" ]; then
        status=$({ uninstall_run "$@"; echo $?; } 2>/dev/null)
    else
        status=$({ (cd "$E2E_WORK" && unset DISPLAY && exec env "$@" "$dir/setup" -S -Len) \
            >"$E2E_ROOT/run.out" 2>"$E2E_ROOT/run.err"; echo $?; } 2>/dev/null)
    fi
}
make_v2_then_uninstall() { UNINSTALL=0 make_v2; }
UNINSTALL=1 crash_run uninstall make_v2_then_uninstall
e2e_finish
