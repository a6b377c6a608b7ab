#!/usr/bin/env bash
# The wizard as a screen reader reads it (GTK_MODULES=gail:atk-bridge, a D-Bus session, the AT-SPI registry) in
# every language, driven by keys alone (helpers/a11y_walk.py); English, Russian and Georgian also walk Tab and
# Shift+Tab and meet the cancel question; a cancelled run ends on the error page.
source "$(dirname "$0")/lib.sh"
e2e_need_a11y
e2e_init
e2e_default_kit
e2e_start_a11y
e2e_slow_installs 250000   # the five entries keep the progress page up for over a second

# walk LANGUAGE ENDING STATUS [full]
walk() {
    e2e_use_home "home-$1-$2"
    e2e_start_setup "-L$1"
    e2e_wait_wizard
    e2e_wait_for "the focus on the wizard" _e2e_has_focus "$E2E_WIZARD"
    e2e_check "-L$1 $2: the pages as a screen reader reads them" \
        /usr/bin/python3 "$E2E_SRC/tests/e2e/helpers/a11y_walk.py" "$E2E_BIN/print_message" "$E2E_SETUP_PID" "$1" "$2" "${@:4}"
    e2e_wait_exit "$3"
}
for lang in en ru ka; do walk "$lang" install 0 full; done
for lang in uk lv lt bg de ro kk vi tr el es hy it; do walk "$lang" install 0; done
walk en cancel 4 full
e2e_finish
