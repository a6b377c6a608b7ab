#!/usr/bin/env bash
# The wizard by keys alone (xdotool key and type, never the pointer): an installation into a typed directory
# after the cancel question (Escape; Enter answers No), with the folder chooser opened and left on the way and
# the document's box unticked; Escape during the copy; an installation error's box and the error page. Each key goes where the focus should be, or the run ends elsewhere.
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit
k() { e2e_keys "$E2E_WIZARD" "$@"; }

# ---- Escape on the welcome asks, Enter answers No and the focus is back on Next: Enter goes on; Tab to "...", Enter opens the chooser, Escape closes it and the focus is back on
# "..." (Enter opens it again); Shift+Tab to the entry, a typed path, Enter; on the success page Shift+Tab to the
# box, space unticks it, Tab and Enter press Finish
e2e_use_home home-install
target="$HOME/typed by keys"
e2e_start_setup -Len
e2e_wait_wizard
k Escape
e2e_wait_dialog
e2e_wait_for "the focus on the question" _e2e_has_focus "$E2E_DIALOG"
e2e_answer Return
e2e_wait_for "the focus back on the wizard" _e2e_has_focus "$E2E_WIZARD"
k Return Tab Return
for round in 1 2; do
    e2e_wait_dialog
    e2e_check "round $round: the folder chooser carries its title" \
        test "$(xdo getwindowname "$E2E_DIALOG")" = "$(e2e_message IDS_CHOOSEDIR_TITLE)"
    e2e_answer Escape
    e2e_wait_for "the focus back on the wizard" _e2e_has_focus "$E2E_WIZARD"
    [ "$round" = 2 ] || k Return
done
k shift+Tab ctrl+a BackSpace
xdo type --delay 8 -- "$target" || e2e_fail "cannot type"
k Return
e2e_wait_recorded "$target"
k shift+Tab space Tab Return
e2e_wait_exit 0
e2e_check "keys: the kit's files are in the typed directory" e2e_tree_matches "$E2E_KIT_SOURCE" "$target"
e2e_check "keys: the unticked document was not opened" test ! -e "$E2E_XDG_LOG"

# ---- Escape during the copy stops it; Enter presses Finish on the error page
e2e_use_home home-stop
e2e_slow_installs 2000000
e2e_start_setup -Len
e2e_wait_wizard
k Return Return
e2e_wait_for "the copy to be under way" test -e "$E2E_DEFAULT_DIR/forms"
k Escape
e2e_wait_outcome_page
k Return
e2e_wait_exit 4
e2e_slow_installs 0
e2e_check "stop: nothing is left of the copy" test -z "$(find "$E2E_DEFAULT_DIR" -type f 2>/dev/null)"

# ---- a folder where the kit has readme.txt: the error box answered with Enter, then Finish with Enter
e2e_use_home home-error
mkdir -p "$E2E_DEFAULT_DIR/readme.txt"
e2e_start_setup -Len
e2e_wait_wizard
k Return Return
e2e_wait_dialog
e2e_answer Return
e2e_wait_for "the focus back on the wizard" _e2e_has_focus "$E2E_WIZARD"
k Return
e2e_wait_exit 3
e2e_check "error: the folder in the way is as it was" test -d "$E2E_DEFAULT_DIR/readme.txt"
e2e_finish
