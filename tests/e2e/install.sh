#!/usr/bin/env bash
# Installations that succeed: the interactive path, Back and Next, the empty
# entry, the description document, and the silent mode with and without a
# display.
source "$(dirname "$0")/lib.sh"
e2e_init

# ---- Next, Next, Finish on the bundled sample kit: the kit lands in the
# proposed directory, the directory is recorded and the description opens
e2e_sample_kit
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_next
e2e_wait_recorded "$E2E_DEFAULT_DIR"
e2e_check "the kit's files with their times are in the proposed directory" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check "the launcher file holds exactly the one location line" \
    test "$(grep -c '^ConfigurationTemplatesLocation=' "$E2E_LAUNCHER_CFG")" = 1
e2e_check "no backup directory while the success page shows" \
    test -z "$(cd "$TMPDIR" && ls -d xorup* 2>/dev/null)"
e2e_next
e2e_wait_exit
e2e_check "Finish opened the description document with xdg-open" \
    test "$(cat "$E2E_XDG_LOG" 2>/dev/null)" = "$E2E_DEFAULT_DIR/docs/readme.html"
e2e_check_tmpdir_clean

# The other cases use a small kit whose description document is readme.txt.
e2e_default_kit

# ---- a typed directory without a trailing "/", holding a quote and a "$":
# installed there, recorded, and the document found inside it
e2e_use_home home-typed
rm -f "$E2E_XDG_LOG"
typed="$E2E_ROOT/it's \$HOME; \`x\` dir"
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_type_path "$typed"
e2e_next
e2e_wait_recorded "$typed"
e2e_check "installed into the typed directory with awkward characters" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$typed"
e2e_next
e2e_wait_exit
e2e_check "the document path joins the typed directory with a \"/\"" \
    test "$(cat "$E2E_XDG_LOG" 2>/dev/null)" = "$typed/readme.txt"
e2e_check_tmpdir_clean

# ---- the check box cleared: Finish opens nothing
e2e_use_home home-unticked
rm -f "$E2E_XDG_LOG"
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_next
e2e_wait_recorded "$E2E_DEFAULT_DIR"
e2e_click 180 180
e2e_next
e2e_wait_exit
e2e_check "an unticked box opens no document" test ! -e "$E2E_XDG_LOG"
e2e_check_tmpdir_clean

# ---- Back and Next refill the entry with the proposal: the typed path is
# forgotten and the installation goes to the proposed directory
e2e_use_home home-back
other="$E2E_ROOT/typed then abandoned"
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_type_path "$other"
e2e_back
e2e_next
e2e_next
e2e_wait_recorded "$E2E_DEFAULT_DIR"
e2e_check "after Back and Next the proposal was installed into" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check "the abandoned path was not used" test ! -e "$other"
e2e_next
e2e_wait_exit
e2e_check_tmpdir_clean

# ---- an empty entry: one plain box, the wizard stays, nothing is installed
e2e_use_home home-empty
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_type_path ""
e2e_next
e2e_wait_dialog
e2e_check "the empty-entry box carries the wizard's title" \
    test "$(e2e_window_title "$E2E_DIALOG")" = "Installing configuration"
e2e_check "the empty-entry box is not the wizard" test "$(e2e_window_size "$E2E_DIALOG")" != 500x360
e2e_answer Return
e2e_check "the wizard stays after the box" e2e_wizard_visible
e2e_check "nothing was installed" test ! -e "$E2E_DEFAULT_DIR"
e2e_check "nothing was recorded" test ! -e "$E2E_LAUNCHER_CFG"
e2e_check "no backup directory after the refusal" test -z "$(cd "$TMPDIR" && ls -d xorup* 2>/dev/null)"
e2e_keys "$E2E_WIZARD" Escape
e2e_wait_dialog
e2e_answer alt+y
e2e_wait_exit
e2e_check_tmpdir_clean

# ---- silent mode ends on its own with the files, their times and the record
e2e_use_home home-silent
e2e_start_setup -S -Len
e2e_wait_exit
e2e_check "silent: the kit's files with their times are installed" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check "silent: the directory is recorded" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"
e2e_check_tmpdir_clean

# ---- silent mode without a display installs too; message boxes, if any,
# go to standard error
e2e_use_home home-headless
saved_display=$DISPLAY
unset DISPLAY
e2e_start_setup -S
e2e_wait_exit
e2e_check "headless silent: the kit's files are installed" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check "headless silent: the directory is recorded" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"
e2e_check_tmpdir_clean

# ---- interactive mode without a display says why on standard error and
# installs nothing
e2e_use_home home-headless-interactive
e2e_start_setup
e2e_wait_exit
e2e_check "headless interactive: a reason on standard error" test -s "$E2E_SETUP_ERR"
e2e_check "headless interactive: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
e2e_check_tmpdir_clean
export DISPLAY=$saved_display

# ---- "usecwd": the kit is taken from the working directory
e2e_use_home home-usecwd
mv "$E2E_INSTALL/qorn.efd" "$E2E_WORK/qorn.efd"
e2e_start_setup usecwd -S
e2e_wait_exit
e2e_check "usecwd: the kit in the working directory is installed" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_check_tmpdir_clean

e2e_finish
