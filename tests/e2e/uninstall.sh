#!/usr/bin/env bash
# The wizard's uninstallation by keys, as a screen reader meets its pages: a removal's welcome, a confirmation
# that Enter answers No (nothing changes) and Tab, Enter Yes, the progress, and an outcome page that says the
# kit is gone and offers no description to open; the kit's files go, the user's own file stays.
source "$(dirname "$0")/lib.sh"
e2e_need_a11y
e2e_init
e2e_default_kit
e2e_start_a11y

k() { e2e_keys "$E2E_WIZARD" "$@"; }
page() { /usr/bin/python3 "$E2E_SRC/tests/e2e/helpers/a11y_page.py" "$E2E_SETUP_PID" >"$E2E_ROOT/page"; }
shows() { page && grep -qxF "$1" "$E2E_ROOT/page"; }
confirm() {   # KEYS: Enter on the directory page asks; KEYS answer; the focus is back on the wizard
    k Return
    e2e_wait_dialog
    e2e_wait_for "the focus on the question" _e2e_has_focus "$E2E_DIALOG"
    e2e_keys "$E2E_DIALOG" "$@"
    e2e_wait_no_dialog
    e2e_wait_for "the focus back on the wizard" _e2e_has_focus "$E2E_WIZARD"
}

e2e_run_silent "$E2E_INSTALL"
[ "$status" -eq 0 ] || e2e_fail "the installation ended with status $status"
printf 'mine\n' >"$E2E_DEFAULT_DIR/mine.txt"
installed=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR")

e2e_start_setup -Len -U
e2e_wait_wizard
e2e_wait_for "the removal's welcome" shows "label: $(e2e_message IDS_UNINSTALL_WELCOME) Test Templates (Test Provider)."
k Return
confirm Return
e2e_check "No: nothing changed" e2e_tree_is "$E2E_DEFAULT_DIR" "$installed"
confirm Tab Return
e2e_wait_outcome_page
e2e_wait_for "the removal's outcome" shows "label: $(e2e_message IDS_UNINSTALL_SUCCESS)"
e2e_check "the outcome page offers no description" eval '! grep -q "^check box:" "$E2E_ROOT/page"'
k Return
e2e_wait_exit 0
e2e_check "Yes: the kit's files are gone" test -z "$(cd "$E2E_KIT_SOURCE" && find . -type f -exec test -e "$E2E_DEFAULT_DIR/{}" \; -print)"
e2e_check "Yes: the user's own file stays, alone" test "$(cd "$E2E_DEFAULT_DIR" && find . -type f)" = "./mine.txt"
e2e_check "no description was opened" test ! -e "$E2E_XDG_LOG"
e2e_finish
