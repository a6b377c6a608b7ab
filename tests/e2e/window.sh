#!/usr/bin/env bash
# The wizard window as a person meets it: its fixed size, its title in each
# language, the close question on Escape and Cancel, and the folder chooser.
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit
[ -x "$E2E_BIN/print_message" ] || e2e_fail "$E2E_BIN/print_message is missing: build it first"

# ---- size and resizing
e2e_start_setup -Len
e2e_wait_wizard
hints=$(xprop -id "$E2E_WIZARD" WM_NORMAL_HINTS)
e2e_check "the window is 500x360" test "$(e2e_window_size "$E2E_WIZARD")" = 500x360
e2e_check "minimum size hint 500x360" grep -q 'minimum size: 500 by 360' <<<"$hints"
e2e_check "maximum size hint 500x360" grep -q 'maximum size: 500 by 360' <<<"$hints"

# ---- Escape on the welcome page: No keeps the wizard
e2e_keys "$E2E_WIZARD" Escape
e2e_wait_dialog
e2e_check "the close question is a window of its own, not 500x360" \
    test "$(e2e_window_size "$E2E_DIALOG")" != 500x360
e2e_check "the close question carries the wizard's title" \
    test "$(e2e_window_title "$E2E_DIALOG")" = "Installing configuration"
e2e_answer alt+n
e2e_check "No keeps the wizard" e2e_wizard_visible
e2e_check "No keeps the installer running" e2e_setup_running

# ---- the close question closed by the window manager keeps the wizard
e2e_keys "$E2E_WIZARD" Escape
e2e_wait_dialog
"$E2E_BIN/wm_close" "$E2E_DIALOG"
e2e_wait_no_dialog
e2e_check "a window-manager close of the question keeps the wizard" e2e_wizard_visible

# ---- Cancel asks the same question; No keeps the wizard
e2e_cancel
e2e_wait_dialog
e2e_answer alt+n
e2e_check "Cancel then No keeps the wizard" e2e_wizard_visible

# ---- Escape then Yes ends the program with status 0, having installed nothing
e2e_keys "$E2E_WIZARD" Escape
e2e_wait_dialog
e2e_keys "$E2E_DIALOG" alt+y
e2e_wait_exit
e2e_check "Yes installed nothing" test ! -e "$E2E_DEFAULT_DIR/readme.txt"
e2e_check "Yes wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
e2e_check_tmpdir_clean

# ---- the title in each of the 16 languages
for code in ru uk en lv lt bg de ro ka kk vi tr el es hy it; do
    expected=$("$E2E_BIN/print_message" "$code" IDR_MAINFRAME) || e2e_fail "no title text for $code"
    e2e_start_setup "-L$code"
    e2e_wait_wizard
    shown=$(xprop -id "$E2E_WIZARD" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    e2e_check "-L$code title \"$shown\" is \"$expected\"" test "$shown" = "$expected"
    e2e_close_wizard
done
e2e_check_tmpdir_clean

# ---- folder chooser cancelled: the typed directory stays and is used
typed="$E2E_ROOT/typed dir"
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_type_path "$typed"
e2e_open_chooser
e2e_answer Escape
e2e_next
e2e_wait_recorded "$typed"
e2e_check "cancelled chooser: installed into the typed directory" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$typed"
e2e_check "cancelled chooser: nothing in the proposed directory" test ! -e "$E2E_DEFAULT_DIR"
e2e_next
e2e_wait_exit
e2e_check_tmpdir_clean

# ---- folder chooser accepted: its folder replaces the typed one
typed="$E2E_ROOT/typed again"
chosen="$E2E_ROOT/chosen by the chooser"
mkdir -p "$chosen"
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_type_path "$typed"
e2e_open_chooser
e2e_choose_folder "$chosen/"
e2e_next
e2e_wait_recorded "$chosen"
e2e_check "accepted chooser: installed into the chosen folder" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$chosen"
e2e_check "accepted chooser: nothing in the typed directory" test ! -e "$typed"
e2e_next
e2e_wait_exit
e2e_check_tmpdir_clean

e2e_finish
