#!/usr/bin/env bash
# Installations that succeed, through the wizard and silently, and what a start says on standard output and
# error: help, a bad -D, a recovery first, a launcher file that cannot be read.
source "$(dirname "$0")/lib.sh"
e2e_init

# ---- the bundled sample kit: into a typed directory with a quote and a "$"; the document's box unticked; Back
# and Next refill the proposal
e2e_sample_kit
for how in typed unticked back; do
    e2e_use_home "home-$how"
    rm -f "$E2E_XDG_LOG"
    target=$E2E_DEFAULT_DIR
    e2e_start_setup -Len
    e2e_wait_wizard
    e2e_next
    case $how in
        typed) target="$E2E_ROOT/it's \$HOME; \`x\` dir"; e2e_type_path "$target" ;;
        back) e2e_type_path "$E2E_ROOT/typed then abandoned"; e2e_back; e2e_next ;;
    esac
    e2e_next
    e2e_wait_recorded "$target"
    e2e_check "$how: the kit's files with their times are in $target" e2e_tree_matches "$E2E_KIT_SOURCE" "$target"
    e2e_check "$how: no backup directory while the success page shows" \
        test -z "$(e2e_leftovers "$target" | grep -v "^qorn-setup-image-")"
    [ "$how" != unticked ] || e2e_click 180 180     # the "open the document" box
    e2e_next
    e2e_wait_exit
    opened=$target/docs/readme.html
    [ "$how" != unticked ] || opened=""
    e2e_check "$how: the document opened: \"$opened\"" test "$(cat "$E2E_XDG_LOG" 2>/dev/null)" = "$opened"
done

e2e_default_kit

# ---- help in the run's language, without a display or a kit ("usecwd": the working directory holds none)
e2e_start_headless usecwd -Lru --help
e2e_wait_exit
e2e_check "help: the Russian usage on standard output" \
    e2e_said out "$(e2e_message IDS_HELP_USAGE ru)" "$(e2e_message IDS_HELP_JOURNALWAITING ru)" \
    "$(e2e_message IDS_HELP_TERMINAL ru)" "$(e2e_message IDS_HELP_PROGRESSLINES ru)" \
    "$(e2e_message IDS_HELP_RECORD ru)" "$(e2e_message IDS_HELP_JSON ru)"
e2e_check "help: nothing on standard error" test ! -s "$E2E_SETUP_ERR"

# ---- a dead run found by a start that only prints its help, or cannot start (2) for its -D (empty, or a name
# the locale cannot read whole: cut at the first odd byte it would install elsewhere), is undone, said first
for option in -h -D $'-D~/caf\xc3\xa9'; do
    e2e_use_home "home-recover-$E2E_RUN"
    e2e_run_silent "$E2E_INSTALL" QORN_TEST_CRASH_AT=5
    said=("Installing configuration: $(e2e_message IDS_RECOVERED_INSTALL) $E2E_DEFAULT_DIR/")
    if [ "$option" = -h ]; then e2e_start_headless -h; e2e_wait_exit 0; else
        e2e_start_headless LC_ALL=C -S "$option"; e2e_wait_exit 2
        said+=("Installing configuration: $(e2e_message IDS_ERROR_TARGETOPTION)")
    fi
    e2e_check "$option: the recovery is said first" e2e_said err "${said[@]}"
    e2e_check "$option: the dead run left nothing" test -z "$(e2e_leftovers "$E2E_DEFAULT_DIR" 2>/dev/null)"
done

# What a silent run into DIR says on standard error: where, and what it did.
summary() {
    echo "$(e2e_message IDS_TEMPLATE_CATALOG) $1"
    e2e_message IDS_SUCCESS_FINISH
    printf '%s %s\n' "$(e2e_message IDS_SUMMARY_WRITTEN)" 5 "$(e2e_message IDS_SUMMARY_UPTODATE)" 0 \
        "$(e2e_message IDS_SUMMARY_REPLACED)" 0
}

# ---- silent runs without a display, the kit in the working directory ("usecwd"): -D with "~/", blanks, a quote
# and a "$", recorded; then into the proposal with a named pipe where the launcher file belongs: not waited on,
# left, named as not recording the directory
mv "$E2E_INSTALL/qorn.efd" "$E2E_WORK/qorn.efd"
e2e_use_home home-option
target="$HOME/my templates/it's \$HOME"
e2e_start_headless usecwd -S "-D~/my templates/it's \$HOME"
e2e_wait_exit
e2e_check "-D: the kit's files with their times are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$target"
e2e_check "-D: the directory is recorded" test "$(e2e_recorded_location)" = "$target"
e2e_check "-D: the directory and the summary on standard error" e2e_said err "$(summary "$target")"

e2e_use_home home-pipe
mkdir -p "$(dirname "$E2E_LAUNCHER_CFG")"
mkfifo "$E2E_LAUNCHER_CFG"
e2e_start_headless usecwd -S
e2e_wait_exit
e2e_check "pipe: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check "pipe: the pipe is left as it was" test -p "$E2E_LAUNCHER_CFG"
e2e_check "pipe: the directory, the summary and the launcher file on standard error" \
    e2e_said err "$(summary "$E2E_DEFAULT_DIR/")" "Installing configuration: $(e2e_message IDS_LAUNCHER_NOTRECORDED)" \
    "$E2E_LAUNCHER_CFG"

# ---- a machine without GTK+, json-glib, GLib or libedit (masked in a mount namespace of the run's own): a silent
# installation needs none of them; a start that wants a window says why it has none and that -S installs without
# one, as without a display; a run that wants the --json report says why it cannot write one
library() { ldconfig -p | awk -v name="$1" '$1 == name { print $NF; exit }'; }
toolkit=$(library libgtk-x11-2.0.so.0) json=$(library libjson-glib-1.0.so.0) editing=$(library libedit.so.2)
glib=$(library libglib-2.0.so.0)
if [ "$(id -u)" -eq 0 ] && [ -n "$toolkit" ] && [ -n "$json" ] && [ -n "$editing" ] && [ -n "$glib" ] &&
    unshare -m true 2>/dev/null; then
    # masked "LIBRARIES" DISPLAY ARGS...: the installer with the kit in the working directory, LIBRARIES masked.
    masked() {
        local libraries=$1; shift
        (cd "$E2E_WORK" && export DISPLAY=$1 && shift &&
            exec unshare -m sh -c 'for l in $0; do mount --bind /dev/null "$l" || exit 99; done; exec "$@"' \
                "$libraries" "$E2E_INSTALL/setup" usecwd "$@") >"$E2E_ROOT/no-toolkit.out" 2>"$E2E_ROOT/no-toolkit.err"
    }
    e2e_use_home home-no-toolkit
    status=0; masked "$toolkit $json $editing $glib" "" -S || status=$?
    e2e_check "no toolkit: the silent installation succeeds (status $status)" test "$status" -eq 0
    e2e_check "no toolkit: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    e2e_check "no toolkit: a silent run without a display does not look for it" \
        test -z "$(grep -F "$toolkit" "$E2E_ROOT/no-toolkit.err")"
    status=0; masked "$toolkit" "$DISPLAY" -Len || status=$?
    e2e_check "no toolkit, a display: status 2 (was $status)" test "$status" -eq 2
    e2e_check "no toolkit, a display: the loader's reason, then the message without a display" \
        test "$(tail -n 1 "$E2E_ROOT/no-toolkit.err")" = "Installing configuration: $(e2e_message IDS_ERROR_NODISPLAY)" -a \
        -n "$(grep -F "$toolkit" "$E2E_ROOT/no-toolkit.err")"
    status=0; masked "$json" "" -S -V --json || status=$?
    e2e_check "no json-glib: --json ends with status 1 (was $status), no document, the loader's reason" \
        test "$status" -eq 1 -a ! -s "$E2E_ROOT/no-toolkit.out" -a -n "$(grep -F "$json" "$E2E_ROOT/no-toolkit.err")"
else
    e2e_log "skipped: masking GTK+, json-glib, GLib and libedit needs root, unshare and all four"
fi

e2e_finish
