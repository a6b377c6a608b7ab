#!/usr/bin/env bash
# The wizard as a screen reader reads it (GTK_MODULES=gail:atk-bridge, a D-Bus session, the AT-SPI registry) in
# every language, driven by keys alone (helpers/a11y_walk.py); English, Russian and Georgian also walk Tab and
# Shift+Tab and meet the cancel question; a cancelled run ends on the error page.
source "$(dirname "$0")/lib.sh"
bus_launcher=/usr/libexec/at-spi-bus-launcher
e2e_need dbus-launch /usr/bin/python3 "$bus_launcher"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { e2e_log "SKIP: python3-pyatspi is not installed"; exit 77; }
e2e_init
e2e_default_kit
eval "$(dbus-launch --sh-syntax)"
"$bus_launcher" --launch-immediately >"$E2E_ROOT/bus.log" 2>&1 &
bus_pid=$!
e2e_on_exit() { kill "$bus_pid" "$DBUS_SESSION_BUS_PID" 2>/dev/null; }
unset NO_AT_BRIDGE
export GTK_MODULES=gail:atk-bridge
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
