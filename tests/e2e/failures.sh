#!/usr/bin/env bash
# Installations that must not lose anything, through the real window and process: a damaged kit, a failing
# entry, a cancel and a signal, a journal folder that cannot be made, the display lost; each ends with the
# status that tells a script what happened and the template directory as it should be.
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit

# ---- a damaged kit: one box, no wizard; Return ends the installer as unable to start
head -c $(($(stat -c %s "$E2E_WORK/small.efd") / 2)) "$E2E_WORK/small.efd" >"$E2E_INSTALL/qorn.efd"
e2e_start_setup -Len
e2e_wait_dialog
e2e_check_box "damaged kit"
e2e_check "damaged kit: no wizard beside the box" test "$(e2e_windows | wc -l)" = 1
e2e_answer Return
e2e_wait_exit 2
e2e_check "damaged kit: nothing installed or recorded" test ! -e "$E2E_DEFAULT_DIR" -a ! -e "$E2E_LAUNCHER_CFG"
e2e_install_kit "$E2E_WORK/small.efd"

# ---- a failure on a middle entry rolls back to the exact earlier tree: readme.txt, listed after
# forms\invoice.tpl and forms\logo.bin, fails on a directory in its place, after an older file was replaced
# and a new one created
e2e_use_home home-failure
target=$E2E_DEFAULT_DIR
mkdir -p "$target/forms" "$target/readme.txt/kept"
printf 'the user'"'"'s older invoice\n' >"$target/forms/invoice.tpl"
printf 'must survive\n' >"$target/readme.txt/kept/note"
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
e2e_next
e2e_wait_exit 3
e2e_check "the failed installation left the exact earlier tree" e2e_tree_is "$target" "$before"
e2e_check "the failed installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"

# ---- a stop in the middle of a large installation rolls back likewise, ending as cancelled: Escape and
# the Cancel button without a question, the error page then waiting for Finish; SIGTERM (a logout) with a
# window, the installer then ending on its own
e2e_large_kit
e2e_install_kit "$E2E_WORK/large.efd"
for how in Escape button SIGTERM; do
    e2e_use_home "home-stop-$how"
    target=$E2E_DEFAULT_DIR
    mkdir -p "$target/part05" "$target/part29"
    printf 'older local 05\n' >"$target/part05/t50.tpl"
    printf 'older local 29\n' >"$target/part29/t99.tpl"
    touch -d '2001-01-01 00:00:00' "$target/part05/t50.tpl" "$target/part29/t99.tpl"
    touch -d '2002-02-02 00:00:00' "$target/part05" "$target/part29" "$target"
    before=$(e2e_tree_fingerprint "$target")
    e2e_slow_installs 3000      # 3000 entries: about nine seconds unless stopped
    if [ "$how" = SIGTERM ]; then e2e_start_setup -S -Len; else e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next; fi
    e2e_wait_for "the installation to be under way" test -e "$target/part02/t00.tpl"
    case $how in
        Escape) e2e_keys "$E2E_WIZARD" Escape ;;
        button) e2e_cancel ;;
        SIGTERM) kill -TERM "$E2E_SETUP_PID" ;;
    esac
    if [ -n "$E2E_WIZARD" ]; then
        e2e_wait_outcome_page
        e2e_check "$how: the rollback has ended" e2e_tree_is "$target" "$before"
        e2e_check "$how: the cancel asked no question and showed no error box" e2e_no_dialog
        e2e_check "$how: the installer waits on its error page" e2e_setup_running
        e2e_next
    fi
    e2e_wait_exit 4
    e2e_slow_installs 0
    e2e_check "$how: the stopped installation left the exact earlier tree" e2e_tree_is "$target" "$before"
    e2e_check "$how: the stopped installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
done

# ---- journals that have nowhere to go (XDG_STATE_HOME names a file): the folder is named, nothing changes
e2e_use_home home-journal
e2e_install_kit "$E2E_WORK/small.efd"
printf 'a file\n' >"$E2E_ROOT/state-file"
E2E_SETUP_ENV=("XDG_STATE_HOME=$E2E_ROOT/state-file")
e2e_start_headless -S -Len
e2e_wait_exit 3
e2e_check "journal folder: named on standard error" e2e_said err "$(e2e_message IDS_TEMPLATE_CATALOG) $E2E_DEFAULT_DIR/" \
    "Installing configuration: $(e2e_message IDS_ERROR_JOURNALDIR) $E2E_ROOT/state-file/qorn-setup" \
    "$(e2e_message IDS_ERROR_FINISH)"
e2e_check "journal folder: nothing installed" test -z "$(ls -A "$HOME")"

# ---- the display lost while the run commits, or on the success page: the run stands, is recorded, status 0
# (lost during the copying: crash.sh)
for how in committing success-page; do
    e2e_use_home "home-lost-$how"
    E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" QORN_E2E_SYNCFS_DELAY_US=3000000)
    if [ "$how" = committing ]; then
        e2e_start_setup -S -Len
        e2e_wait_for "the kit's files in place" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    else
        E2E_SETUP_ENV=()
        e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next; e2e_wait_recorded "$E2E_DEFAULT_DIR"
    fi
    e2e_kill_x
    e2e_wait_exit 0
    e2e_check "$how: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    e2e_check "$how: the directory is recorded" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"
    e2e_check "$how: nothing left behind" test -z "$(e2e_leftovers "$E2E_DEFAULT_DIR")"
    e2e_start_x
done

e2e_finish
