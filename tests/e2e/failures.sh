#!/usr/bin/env bash
# Installations that must not lose anything, driven through the real window
# and process: kits that cannot be opened, a failing entry, a cancellation and
# a signal, each ending with the exit status that tells a script what
# happened and the template directory as it should be. (Reinstallation and
# newer local files: tests/app/InstallJobTest.cpp.)
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit
kit=$E2E_INSTALL/qorn.efd
shots=$E2E_ROOT/shots
mkdir -p "$shots"

# ---- a damaged kit: one box, no wizard; Return dismisses it and the
# installer ends as unable to start (the reader's verdict on each kind of
# damage is the unit tests'; the box for a missing kit is crash.sh's)
head -c $(($(stat -c %s "$E2E_WORK/small.efd") / 2)) "$E2E_WORK/small.efd" >"$kit"
e2e_start_setup -Len
e2e_wait_dialog
e2e_check_box "damaged kit"
e2e_check "damaged kit: no wizard beside the box" test "$(e2e_windows | wc -l)" = 1
e2e_answer Return
e2e_wait_exit 2
e2e_check "damaged kit: nothing installed or recorded" test ! -e "$E2E_DEFAULT_DIR" -a ! -e "$E2E_LAUNCHER_CFG"

# ---- without a display, silent mode writes the box to standard error
for how in missing damaged; do
    case $how in
        missing) rm -f "$kit"; said=IDS_ERROR_NOSOURCE ;;
        damaged) head -c 4096 /dev/urandom >"$kit"; said=IDS_ERROR_DAMAGEDSOURCE ;;
    esac
    e2e_start_headless -S -Len
    e2e_wait_exit 2
    e2e_check "headless $how kit: the box text is on standard error" \
        e2e_said err "Installing configuration: $(e2e_message $said)"
    e2e_check "headless $how kit: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
done
e2e_install_kit "$E2E_WORK/small.efd"

# ---- a failure on a middle entry rolls back to the exact earlier tree
# The kit lists forms\invoice.tpl, forms\logo.bin, readme.txt, reports\...:
# readme.txt fails because a directory stands in its place, after an older
# file was replaced and a new one created before it.
e2e_use_home home-failure
entries=$("$E2E_BIN/efdkit" list "$E2E_WORK/small.efd" | grep -v '^description' | cut -f1)
e2e_check "readme.txt is a middle entry of the kit" \
    test "$(sed -n '1p;$p' <<<"$entries" | grep -c readme.txt)" = 0
target=$E2E_DEFAULT_DIR
mkdir -p "$target/forms" "$target/readme.txt/kept"
printf 'the user'"'"'s older invoice\n' >"$target/forms/invoice.tpl"
printf 'must survive\n' >"$target/readme.txt/kept/note"
printf 'unrelated\n' >"$target/unrelated.txt"
touch -d '2001-02-03 04:05:06' "$target/forms/invoice.tpl" "$target/readme.txt/kept/note"
touch -d '2002-03-04 05:06:07' "$target/readme.txt/kept" "$target/readme.txt" "$target/forms" "$target"
before=$(e2e_tree_fingerprint "$target")
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_next
e2e_wait_dialog
e2e_check_box "installation error"
e2e_answer Return
e2e_check "the wizard stays for its error page" e2e_wizard_visible
e2e_screenshot "$E2E_WIZARD" "$shots/error-page.png"
e2e_next
e2e_wait_exit 3
e2e_check "the failed installation left the exact earlier tree" e2e_tree_is "$target" "$before"
e2e_check "the failed installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"

# ---- a stop in the middle of a large installation rolls back likewise:
# Escape and the Cancel button without a question, the error page then
# waiting for Finish; SIGTERM (a logout, `kill`) with and without a window,
# the installer then ending on its own; every one ends as cancelled (Ctrl+C:
# rollback.sh)
e2e_make_large_source "$E2E_WORK/large"
e2e_run "packing the large kit" "$E2E_BIN/efdkit" pack --lang en --product Large --provider Test \
    "$E2E_WORK/large" "$kit"
for how in Escape button SIGTERM-window SIGTERM-headless; do
    e2e_use_home "home-stop-$how"
    target=$E2E_DEFAULT_DIR
    mkdir -p "$target/part05" "$target/part29"
    printf 'older local 05\n' >"$target/part05/t50.tpl"
    printf 'older local 29\n' >"$target/part29/t99.tpl"
    touch -d '2001-01-01 00:00:00' "$target/part05/t50.tpl" "$target/part29/t99.tpl"
    touch -d '2002-02-02 00:00:00' "$target/part05" "$target/part29" "$target"
    before=$(e2e_tree_fingerprint "$target")
    e2e_slow_installs 3000      # 3000 entries: about nine seconds unless stopped
    case $how in
        SIGTERM-window) e2e_start_setup -S -Len ;;
        *-headless) e2e_start_headless -S -Len ;;
        *) e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next ;;
    esac
    e2e_wait_for "the installation to be under way" test -e "$target/part02/t00.tpl"
    case $how in
        Escape) e2e_keys "$E2E_WIZARD" Escape ;;
        button) e2e_cancel ;;
        *) kill "-${how%%-*}" "$E2E_SETUP_PID" ;;
    esac
    if [ -n "$E2E_WIZARD" ]; then
        e2e_wait_outcome_page
        e2e_check "$how: the rollback has ended" e2e_tree_is "$target" "$before"
        e2e_check "$how: the cancel asked no question and showed no error box" e2e_no_dialog
        e2e_check "$how: the installer waits on its error page" e2e_setup_running
        e2e_check "$how: the wizard stays for its error page" e2e_wizard_visible
        e2e_check "$how: no launcher file on the error page" test ! -e "$E2E_LAUNCHER_CFG"
        e2e_screenshot "$E2E_WIZARD" "$shots/cancel-page-$how.png"
        e2e_next
    fi
    e2e_wait_exit 4
    e2e_slow_installs 0
    e2e_check "$how: the stopped installation left the exact earlier tree" e2e_tree_is "$target" "$before"
    [ "${how#*-}" != headless ] || e2e_check "$how: the cancellation is the last line on standard error" \
        test "$(tail -n 1 "$E2E_SETUP_ERR")" = "$(e2e_message IDS_CANCEL_FINISH)"
    e2e_check "$how: the stopped installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
done
# ---- the same large installation seen on a terminal: the progress line is
# redrawn in place, at most four times a second, and the summary follows
e2e_use_home home-terminal
e2e_slow_installs 1000      # about three seconds
terminal=$E2E_ROOT/terminal.log
started=$(date +%s%N)
(unset DISPLAY; cd "$E2E_WORK" && timeout 120 env ${E2E_SETUP_ENV[@]+"${E2E_SETUP_ENV[@]}"} \
    script -qefc "$(printf '%q ' "$E2E_INSTALL/setup" -S)" /dev/null) >"$terminal" 2>&1
status=$? elapsed_ms=$((($(date +%s%N) - started) / 1000000))
e2e_slow_installs 0
redraws=$(grep -o "$(printf '\r')$(e2e_message IDS_PROGRESS_START) [0-9]*%" "$terminal" | wc -l)
e2e_log "terminal: $redraws redraws in $elapsed_ms ms"
e2e_check "terminal: status 0" test "$status" -eq 0
e2e_check "terminal: the progress line was redrawn in place" test "$redraws" -ge 2
e2e_check "terminal: at most four redraws a second" test "$redraws" -le $((elapsed_ms * 4 / 1000 + 1))
e2e_check "terminal: the summary counts all 3000 files" \
    grep -qF "$(e2e_message IDS_SUMMARY_WRITTEN) 3000" "$terminal"

# The error and the cancellation pages differ only by their text: the
# cancellation text is not the failure text.
if [ -s "$shots/error-page.png" ] && [ -s "$shots/cancel-page-Escape.png" ]; then
    e2e_check "the cancellation page does not show the failure text" \
        test "$(md5sum <"$shots/error-page.png")" != "$(md5sum <"$shots/cancel-page-Escape.png")"
fi

# ---- journals that have nowhere to go (XDG_STATE_HOME names a file): the
# folder is named, nothing is changed
e2e_use_home home-journal
printf 'a file\n' >"$E2E_ROOT/state-file"
E2E_SETUP_ENV=("XDG_STATE_HOME=$E2E_ROOT/state-file")
e2e_start_headless -S -Len
E2E_SETUP_ENV=()
e2e_wait_exit 3
e2e_check "journal folder: named on standard error" e2e_said err "$(e2e_message IDS_TEMPLATE_CATALOG) $E2E_DEFAULT_DIR/" \
    "Installing configuration: $(e2e_message IDS_ERROR_JOURNALDIR) $E2E_ROOT/state-file/qorn-setup" \
    "$(e2e_message IDS_ERROR_FINISH)"
e2e_check "journal folder: nothing installed" test -z "$(ls -A "$HOME")"

# ---- the display lost once the installation has ended (on the success page)
# or while it commits: the run stands, is recorded and ends with status 0
# (lost during the copying: crash.sh)
e2e_install_kit "$E2E_WORK/small.efd"
for how in committing success-page; do
    e2e_use_home "home-lost-$how"
    case $how in
        success-page) e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next; e2e_wait_recorded "$E2E_DEFAULT_DIR" ;;
        committing)
            E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" QORN_E2E_SYNCFS_DELAY_US=3000000)
            e2e_start_setup -S -Len
            E2E_SETUP_ENV=()
            e2e_wait_for "the kit's files in place" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR" ;;
    esac
    kill -KILL "$E2E_XVFB_PID"
    { wait "$E2E_XVFB_PID"; } 2>/dev/null
    e2e_wait_exit 0
    e2e_check "$how: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    e2e_check "$how: the directory is recorded" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"
    e2e_check "$how: nothing left behind" test -z "$(e2e_leftovers "$E2E_DEFAULT_DIR")"
    e2e_start_x
done

e2e_finish
