#!/usr/bin/env bash
# The wizard by keys alone (xdotool, never the pointer): an installation, a stop during the copy, an error page.
# Each key acts where the focus should be (a box takes it and gives it back by itself), or the run ends elsewhere.
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit
k() { e2e_keys "$E2E_WIZARD" "$@"; }
start() { e2e_use_home "home-$1"; e2e_start_setup -Len; e2e_wait_wizard; }
box() {   # KEY: a window of the installer opens with the focus, KEY closes it, the focus is back on the wizard
    e2e_wait_dialog
    e2e_wait_for "the focus on the box" _e2e_has_focus "$E2E_DIALOG"
    e2e_answer "$1"
    e2e_wait_for "the focus back on the wizard" _e2e_has_focus "$E2E_WIZARD"
}

# ---- Escape asks, Enter answers No: Enter on Next goes on; Tab to "...", Enter opens the chooser, Escape leaves
# it with the focus on "..." (Enter opens it again); Shift+Tab to the entry, a path typed, Enter; on the success
# page Shift+Tab to the box, space unticks it, Tab and Enter press Finish
start install
target="$HOME/typed by keys"
k Escape
box Return
k Return Tab Return
box Escape
k Return
e2e_wait_dialog
e2e_check "the folder chooser carries its title" test "$(xdo getwindowname "$E2E_DIALOG")" = "$(e2e_message IDS_CHOOSEDIR_TITLE)"
box Escape
k shift+Tab ctrl+a BackSpace
xdo type --delay 8 -- "$target" || e2e_fail "cannot type"
k Return
e2e_wait_recorded "$target"
k shift+Tab space Tab Return
e2e_wait_exit 0
e2e_check "keys: the kit's files are in the typed directory" e2e_tree_matches "$E2E_KIT_SOURCE" "$target"
e2e_check "keys: the unticked document was not opened" test ! -e "$E2E_XDG_LOG"

# ---- Escape during the copy stops it; Enter presses Finish on the error page
e2e_slow_installs 2000000
start stop
k Return Return
e2e_wait_for "the copy to be under way" test -e "$E2E_DEFAULT_DIR/forms"
k Escape
e2e_wait_outcome_page
k Return
e2e_wait_exit 4
e2e_slow_installs 0
e2e_check "stop: nothing is left of the copy" test -z "$(find "$E2E_DEFAULT_DIR" -type f 2>/dev/null)"

# ---- a folder where the kit has readme.txt: Enter answers the error box, Enter presses Finish
start error
mkdir -p "$E2E_DEFAULT_DIR/readme.txt"
k Return Return
box Return
k Return
e2e_wait_exit 3
e2e_check "error: the folder in the way is as it was" test -d "$E2E_DEFAULT_DIR/readme.txt"
e2e_finish
