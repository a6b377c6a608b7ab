#!/usr/bin/env bash
# The wizard on a desktop: fixed size, frame and focus, its title per language, the close question on
# Escape, Cancel and the manager's close, the progress bar filling by itself (the folder chooser:
# tests/ui/PagesTest.cpp).
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_default_kit

# ---- fixed at 500x360, the size e2e_wait_wizard finds it by
e2e_start_setup -Len
e2e_wait_wizard
hints=$(xprop -id "$E2E_WIZARD" WM_NORMAL_HINTS)
e2e_check "minimum and maximum size hints 500x360" test "$(grep -cE '(minimum|maximum) size: 500 by 360' <<<"$hints")" = 2
e2e_wait_for "the focus on the new wizard" _e2e_has_focus "$E2E_WIZARD"

# ---- Escape and Cancel ask, in a box that takes the focus; No, or the manager's close of the box, keeps the
# wizard; Yes ends the program as cancelled (4)
for how in Escape:alt+n Escape:alt+F4 Cancel:alt+n Escape:alt+y; do
    if [ "${how%:*}" = Cancel ]; then e2e_cancel; else e2e_keys "$E2E_WIZARD" Escape; fi
    e2e_wait_dialog
    e2e_check_box "$how"
    e2e_wait_for "the focus on the question" _e2e_has_focus "$E2E_DIALOG"
    e2e_keys "$E2E_DIALOG" "${how#*:}"
    [ "$how" != Escape:alt+y ] || break
    e2e_wait_no_dialog
    e2e_check "$how keeps the wizard" e2e_wizard_visible
done
e2e_wait_exit 4

# ---- the title in Cyrillic, Georgian and English; the manager's close of the wizard cancels
for code in ru ka en; do
    expected=$(e2e_message IDR_MAINFRAME "$code")
    e2e_start_setup "-L$code"
    e2e_wait_wizard
    shown=$(xprop -id "$E2E_WIZARD" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    e2e_check "-L$code title \"$shown\" is \"$expected\"" test "$shown" = "$expected"
    e2e_keys "$E2E_WIZARD" alt+F4
    e2e_wait_exit 4
done

# ---- with nothing else happening on the desktop, the progress bar fills step by step while the files are
# written, not only at the end
# How much of the bar (10,150, 480 by 20) is filled: the pixels of its middle row not of its right end's colour.
_bar_filled() {
    timeout 20 import -window "$E2E_WIZARD" -crop 471x1+15+160 +repage txt:- 2>/dev/null |
        awk 'NR > 1 { colour[NR] = $3 } END { n = 0; for (i = 2; i <= NR; i++) n += colour[i] != colour[NR]; print n }'
}
_bar_fuller_than() { [ "$(_bar_filled)" -gt "$1" ]; }
_progress_page() { ! _e2e_banner_shown; }
e2e_slow_installs 600000   # five steps of a fifth, 0.6 s apart
e2e_start_setup -S -Len
e2e_wait_wizard
e2e_wait_for "the progress page (no banner)" _progress_page
e2e_wait_for "the progress bar partly filled" _bar_fuller_than 0
e2e_wait_for "the progress bar filling further by itself" _bar_fuller_than "$(_bar_filled)"
e2e_wait_exit 0
e2e_slow_installs 0

e2e_finish
