# Shared harness of the end-to-end tests: a private X server, a scratch home
# with its own temporary directory and install directory, the installer run in
# the background, and helpers that act on the wizard as a person would.
# Sourced by tests/e2e/*.sh; every helper fails the test through e2e_fail.

set -uo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
E2E_TIMEOUT=${E2E_TIMEOUT:-20}          # seconds for any single wait
E2E_FAILURES=0

# Button centres, window-relative.
readonly E2E_BACK_X=270 E2E_NEXT_X=350 E2E_CANCEL_X=450 E2E_BUTTON_Y=335
readonly E2E_ENTRY_X=310 E2E_ENTRY_Y=290 E2E_BROWSE_X=475 E2E_BROWSE_Y=290
readonly E2E_WIZARD_SIZE=500x360

# Every X client call is bounded: a hung call must fail the test, not stall it.
xdo() { timeout 10 xdotool "$@"; }

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

e2e_fail() {
    printf '[%s] FAIL: %s\n' "$E2E_NAME" "$*" >&2
    [ -n "${E2E_ROOT:-}" ] && e2e_dump_setup_output
    exit 1
}

# A check that records the failure and goes on, so one run reports every
# broken promise of a case; e2e_finish turns recorded failures into exit 1.
e2e_check() {
    local what=$1; shift
    if "$@"; then
        e2e_log "ok: $what"
    else
        printf '[%s] FAIL: %s\n' "$E2E_NAME" "$what" >&2
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

e2e_finish() {
    if [ "$E2E_FAILURES" -ne 0 ]; then
        e2e_log "$E2E_FAILURES check(s) failed"
        exit 1
    fi
    e2e_log "all checks passed"
    exit 0
}

e2e_skip() { e2e_log "SKIP: $*"; exit 77; }

# ---------------------------------------------------------------- set-up

e2e_require_tools() {
    local tool
    for tool in Xvfb xdotool xprop xdpyinfo; do
        command -v "$tool" >/dev/null 2>&1 || e2e_skip "$tool is not installed"
    done
    E2E_BIN=${QORN_BIN_DIR:-}
    E2E_SRC=${QORN_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
    [ -n "$E2E_BIN" ] || e2e_fail "QORN_BIN_DIR is not set (the build's bin directory)"
    local program
    for program in setup efdkit wm_close; do
        [ -x "$E2E_BIN/$program" ] || e2e_fail "$E2E_BIN/$program is missing: build it first"
    done
}

# Xvfb picks a free display number itself (-displayfd), so parallel tests
# never race for one.
e2e_start_xvfb() {
    local fifo=$E2E_ROOT/displayfd
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" \
        >"$E2E_ROOT/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local number=""
    read -r -t "$E2E_TIMEOUT" number <"$fifo" || true
    rm -f "$fifo"
    [ -n "$number" ] || e2e_fail "Xvfb did not report a display: $(cat "$E2E_ROOT/xvfb.log")"
    export DISPLAY=":$number"
    e2e_wait_for "the X server on $DISPLAY" xdpyinfo_quiet
}

xdpyinfo_quiet() { xdpyinfo >/dev/null 2>&1; }

e2e_cleanup() {
    local status=$?
    [ -n "${E2E_SETUP_PID:-}" ] && kill "$E2E_SETUP_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    [ -n "${E2E_SETUP_PID:-}" ] && wait "$E2E_SETUP_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && wait "$E2E_XVFB_PID" 2>/dev/null
    if [ -n "${E2E_ROOT:-}" ] && [ -z "${E2E_KEEP:-}" ]; then
        chmod -R u+rwx "$E2E_ROOT" 2>/dev/null
        rm -rf "$E2E_ROOT"
    elif [ -n "${E2E_ROOT:-}" ]; then
        e2e_log "kept scratch root $E2E_ROOT"
    fi
    exit "$status"
}

# A stand-in for the desktop's xdg-open, first on PATH: it records each
# argument on a line of its own in E2E_XDG_LOG and opens nothing.
e2e_install_xdg_open_stand_in() {
    E2E_XDG_LOG=$E2E_ROOT/xdg-open.log
    cat >"$E2E_PATHBIN/xdg-open" <<STANDIN
#!/bin/sh
for argument in "\$@"; do printf '%s\n' "\$argument" >>'$E2E_XDG_LOG'; done
STANDIN
    chmod +x "$E2E_PATHBIN/xdg-open"
}

# Scratch root: HOME, TMPDIR, the install directory with a copy of the
# installer (a copy, so that /proc/self/exe names this directory), a private
# bin directory first on PATH, and the X server.
e2e_init() {
    e2e_require_tools
    E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/qorn-e2e-$E2E_NAME.XXXXXX") || e2e_fail "no scratch root"
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    export TMPDIR=$E2E_ROOT/tmp
    E2E_INSTALL=$E2E_ROOT/install
    E2E_PATHBIN=$E2E_ROOT/bin
    E2E_WORK=$E2E_ROOT/work
    mkdir -p "$TMPDIR" "$E2E_INSTALL" "$E2E_PATHBIN" "$E2E_WORK"
    cp "$E2E_BIN/setup" "$E2E_INSTALL/setup"
    e2e_install_xdg_open_stand_in
    export PATH=$E2E_PATHBIN:$PATH
    export LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE=
    export NO_AT_BRIDGE=1 GTK2_RC_FILES=/dev/null
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER
    e2e_start_xvfb
    e2e_use_home home
}

# ---------------------------------------------------------------- kits

# e2e_pack DIR KIT [efdkit options...]: packs DIR into KIT.
e2e_pack() {
    local dir=$1 kit=$2; shift 2
    "$E2E_BIN/efdkit" pack "$@" "$dir" "$kit" >"$E2E_ROOT/efdkit.log" 2>&1 ||
        e2e_fail "efdkit pack $dir failed: $(cat "$E2E_ROOT/efdkit.log")"
}

# A small kit source with nested directories, a description document and
# fixed, distinct modification times. Prints nothing; fills DIR.
e2e_make_small_source() {
    local dir=$1
    mkdir -p "$dir/reports/monthly" "$dir/forms"
    printf 'Templates of the test kit.\n' >"$dir/readme.txt"
    printf 'report %s\n' one >"$dir/reports/balance.tpl"
    printf 'report %s\n' two >"$dir/reports/monthly/sales.tpl"
    printf 'form\n' >"$dir/forms/invoice.tpl"
    head -c 70000 /dev/urandom >"$dir/forms/logo.bin"
    touch -d '2021-03-04 05:06:07' "$dir/readme.txt"
    touch -d '2020-01-02 03:04:05' "$dir/reports/balance.tpl"
    touch -d '2019-07-08 09:10:11' "$dir/reports/monthly/sales.tpl"
    touch -d '2018-12-24 18:00:00' "$dir/forms/invoice.tpl"
    touch -d '2022-02-22 22:22:22' "$dir/forms/logo.bin"
}

# e2e_install_kit KIT: puts KIT beside the installer copy as qorn.efd.
e2e_install_kit() { cp "$1" "$E2E_INSTALL/qorn.efd"; }

# A default kit: the small source packed with an English description.
e2e_default_kit() {
    E2E_KIT_SOURCE=$E2E_WORK/kit-source
    e2e_make_small_source "$E2E_KIT_SOURCE"
    e2e_pack "$E2E_KIT_SOURCE" "$E2E_WORK/small.efd" \
        --lang en --product "Test Templates" --provider "Test Provider" --description readme.txt
    e2e_install_kit "$E2E_WORK/small.efd"
}

# ---------------------------------------------------------------- the installer

# e2e_start_setup [args...]: runs the installer copy in the background from
# the work directory; its output goes to files under the scratch root.
e2e_start_setup() {
    E2E_RUN=$((${E2E_RUN:-0} + 1))
    E2E_SETUP_OUT=$E2E_ROOT/setup-$E2E_RUN.out
    E2E_SETUP_ERR=$E2E_ROOT/setup-$E2E_RUN.err
    e2e_log "run $E2E_RUN: setup $*"
    (cd "$E2E_WORK" && exec env ${E2E_SETUP_ENV[@]+"${E2E_SETUP_ENV[@]}"} "$E2E_INSTALL/setup" "$@") >"$E2E_SETUP_OUT" 2>"$E2E_SETUP_ERR" &
    E2E_SETUP_PID=$!
    E2E_WIZARD=""
}

e2e_dump_setup_output() {
    [ -n "${E2E_SETUP_ERR:-}" ] && [ -s "$E2E_SETUP_ERR" ] && {
        e2e_log "stderr of the installer:"; sed 's/^/    /' "$E2E_SETUP_ERR" >&2; }
}

e2e_setup_running() { [ -n "${E2E_SETUP_PID:-}" ] && kill -0 "$E2E_SETUP_PID" 2>/dev/null; }

# e2e_wait_for WHAT COMMAND...: polls COMMAND until it succeeds or the
# timeout passes.
e2e_wait_for() {
    local what=$1; shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || e2e_fail "timed out waiting for $what"
        sleep 0.05
    done
}

# e2e_wait_exit: waits for the installer to end and asserts status 0.
e2e_wait_exit() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while e2e_setup_running; do
        [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the installer did not end within ${E2E_TIMEOUT}s"
        sleep 0.05
    done
    local status=0
    wait "$E2E_SETUP_PID" || status=$?
    E2E_SETUP_PID=""
    [ "$status" -eq 0 ] || e2e_fail "the installer ended with status $status, not 0"
    e2e_log "ok: the installer ended with status 0"
}

# Visible top-level windows of the installer, one id a line.
e2e_windows() {
    [ -n "${E2E_SETUP_PID:-}" ] || return 0
    xdo search --onlyvisible --pid "$E2E_SETUP_PID" 2>/dev/null || true
}

e2e_window_size() {
    xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/^ *Geometry: *//p'
}

e2e_window_title() { xdo getwindowname "$1" 2>/dev/null; }

# Windows other than the wizard (dialogs, message boxes, the folder chooser).
e2e_other_windows() {
    local id
    for id in $(e2e_windows); do
        [ "$id" = "$E2E_WIZARD" ] || echo "$id"
    done
}

_e2e_find_wizard() {
    local id
    for id in $(e2e_windows); do
        if [ "$(e2e_window_size "$id")" = "$E2E_WIZARD_SIZE" ]; then
            E2E_WIZARD=$id
            return 0
        fi
    done
    e2e_setup_running || e2e_fail "the installer ended before its wizard appeared"
    return 1
}

# e2e_wait_wizard: waits for the 500x360 window and sets E2E_WIZARD.
e2e_wait_wizard() {
    e2e_wait_for "the wizard window" _e2e_find_wizard
    e2e_log "wizard window $E2E_WIZARD"
}

_e2e_find_dialog() {
    local id
    for id in $(e2e_other_windows); do
        E2E_DIALOG=$id
        return 0
    done
    return 1
}

# e2e_wait_dialog: waits for a visible installer window other than the
# wizard (a message box, the folder chooser) and sets E2E_DIALOG.
e2e_wait_dialog() {
    E2E_DIALOG=""
    e2e_wait_for "a dialog of the installer" _e2e_find_dialog
}

_e2e_no_dialog() { [ -z "$(e2e_other_windows)" ]; }
e2e_wait_no_dialog() { e2e_wait_for "the dialog to close" _e2e_no_dialog; }

e2e_wizard_visible() {
    [ -n "$E2E_WIZARD" ] && xdo search --onlyvisible --pid "$E2E_SETUP_PID" 2>/dev/null |
        grep -qx "$E2E_WIZARD"
}

# e2e_click X Y [WINDOW]: one left click at window-relative X, Y. The
# pointer first leaves for a corner of the window: GTK+ 2 ignores a click on a
# button that became sensitive under a pointer that never moved. (No --sync:
# it waits for ever when the pointer is already in place.)
e2e_click() {
    local window=${3:-$E2E_WIZARD}
    xdo mousemove --window "$window" 1 1 mousemove --window "$window" "$1" "$2" click 1 ||
        e2e_fail "cannot click at $1,$2 in window $window"
}

e2e_back() { e2e_click "$E2E_BACK_X" "$E2E_BUTTON_Y"; }
e2e_next() { e2e_click "$E2E_NEXT_X" "$E2E_BUTTON_Y"; }
e2e_cancel() { e2e_click "$E2E_CANCEL_X" "$E2E_BUTTON_Y"; }

_e2e_has_focus() { [ "$(xdo getwindowfocus 2>/dev/null)" = "$1" ]; }

# e2e_keys WINDOW KEY...: focuses WINDOW, then sends the keys to it.
e2e_keys() {
    local window=$1; shift
    xdo windowfocus "$window" || e2e_fail "cannot focus window $window"
    e2e_wait_for "the focus on window $window" _e2e_has_focus "$window"
    xdo key --clearmodifiers "$@" || e2e_fail "cannot send keys $*"
}

# e2e_type_path TEXT: replaces the directory entry's text by TEXT (empty
# TEXT clears it): a triple click selects the whole line, ctrl+a makes sure.
e2e_type_path() {
    xdo mousemove --window "$E2E_WIZARD" 1 1 mousemove --window "$E2E_WIZARD" "$E2E_ENTRY_X" "$E2E_ENTRY_Y" \
        click --repeat 3 --delay 40 1 || e2e_fail "cannot click into the directory entry"
    xdo key --clearmodifiers ctrl+a BackSpace
    [ -z "$1" ] || xdo type --delay 8 -- "$1" || e2e_fail "cannot type $1"
}

# e2e_answer KEY: answers the dialog in E2E_DIALOG with KEY (alt+y, alt+n,
# Return, Escape) and waits for it to go.
e2e_answer() {
    e2e_keys "$E2E_DIALOG" "$1"
    e2e_wait_no_dialog
}

# e2e_screenshot WINDOW FILE: saves a picture of WINDOW.
e2e_screenshot() {
    command -v import >/dev/null 2>&1 || return 1
    timeout 20 import -window "$1" "png:$2" 2>/dev/null
}

# ---------------------------------------------------------------- assertions

# No backup directory and no unpacked kit image may stay in TMPDIR.
e2e_check_tmpdir_clean() {
    local left
    left=$(cd "$TMPDIR" && ls -d xorup* edf* 2>/dev/null)
    e2e_check "no xorup* or edf* left in TMPDIR${left:+ (found: $left)}" test -z "$left"
}

# The recorded template location: the first "ConfigurationTemplatesLocation"
# value of the launcher file (empty when there is none).
e2e_recorded_location() {
    [ -f "$E2E_LAUNCHER_CFG" ] || return 0
    sed -n 's/^ConfigurationTemplatesLocation=//p' "$E2E_LAUNCHER_CFG" | head -n 1 | tr -d '\r'
}

# e2e_tree_matches SOURCE TARGET: every file of SOURCE is in TARGET with the
# same content and the same modification time (whole seconds).
e2e_tree_matches() {
    local source=$1 target=$2 file
    while IFS= read -r -d '' file; do
        local relative=${file#"$source"/}
        [ -f "$target/$relative" ] || { e2e_log "missing $target/$relative"; return 1; }
        cmp -s "$file" "$target/$relative" || { e2e_log "content differs: $relative"; return 1; }
        [ "$(stat -c %Y "$file")" = "$(stat -c %Y "$target/$relative")" ] ||
            { e2e_log "time differs: $relative"; return 1; }
    done < <(find "$source" -type f -print0)
    return 0
}

# A fingerprint of a tree: every path with mode, time, size and checksum.
e2e_tree_fingerprint() {
    local dir=$1
    [ -e "$dir" ] || { echo "<absent>"; return; }
    (cd "$dir" && find . -printf '%p %m %T@ %s %y\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha1sum)
}

# Inode and times of every file: a reinstallation must leave them alone.
e2e_tree_stamps() {
    (cd "$1" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0r stat -c '%n %i %Y %Z')
}

# ---------------------------------------------------------------- folder chooser

# e2e_choose_folder PATH: in the open folder chooser (E2E_DIALOG), types PATH
# into the location entry and accepts it. The first "/" only switches the
# chooser to its location mode (keys typed meanwhile are lost), the second
# opens the entry; the short pauses let each switch land.
e2e_choose_folder() {
    e2e_keys "$E2E_DIALOG" slash
    sleep 0.5
    xdo key slash
    sleep 0.5
    xdo key ctrl+a
    xdo type --delay 10 -- "$1" || e2e_fail "cannot type $1 into the folder chooser"
    sleep 0.3
    xdo key Return
    e2e_wait_no_dialog
}

# e2e_open_chooser: clicks "..." and waits for the folder chooser.
e2e_open_chooser() {
    e2e_click "$E2E_BROWSE_X" "$E2E_BROWSE_Y"
    e2e_wait_dialog
    e2e_log "folder chooser $E2E_DIALOG ($(e2e_window_size "$E2E_DIALOG"))"
}

_e2e_recorded_is() { [ "$(e2e_recorded_location)" = "$1" ]; }

# e2e_wait_recorded DIR: waits until the launcher file names DIR first, which
# the installer writes when it shows its success page.
e2e_wait_recorded() { e2e_wait_for "the launcher file to record $1" _e2e_recorded_is "$1"; }

# e2e_close_wizard: ends a wizard on its welcome page the way a window
# manager would, and asserts the exit status.
e2e_close_wizard() {
    "$E2E_BIN/wm_close" "$E2E_WIZARD" || e2e_fail "wm_close failed"
    e2e_wait_exit
}

# e2e_use_home NAME: switches to a fresh home directory under the scratch
# root (for runs that must not see an earlier run's launcher file).
e2e_use_home() {
    export HOME=$E2E_ROOT/$1
    mkdir -p "$HOME"
    E2E_DEFAULT_DIR=$HOME/.qorn/Vq/vq8/tmplts
    E2E_LAUNCHER_CFG=$HOME/.Vq/tavrilon/tavrilon.cfg
}

# ---------------------------------------------------------------- more kits

# The bundled sample kit (examples/sample, English and Russian descriptions),
# installed beside the installer copy; E2E_KIT_SOURCE names its source tree.
e2e_sample_kit() {
    E2E_KIT_SOURCE=$E2E_SRC/examples/sample
    [ -x "$E2E_SRC/tools/pack-sample.sh" ] || e2e_fail "tools/pack-sample.sh is missing"
    "$E2E_SRC/tools/pack-sample.sh" "$E2E_BIN/efdkit" "$E2E_WORK/sample.efd" >"$E2E_ROOT/efdkit.log" 2>&1 ||
        e2e_fail "packing the sample kit failed: $(cat "$E2E_ROOT/efdkit.log")"
    e2e_install_kit "$E2E_WORK/sample.efd"
}

# e2e_make_large_source DIR: 3000 small files in 30 folders, each file with
# its own content and an old time.
e2e_make_large_source() {
    local dir=$1 folder file
    for folder in $(seq -w 0 29); do
        mkdir -p "$dir/part$folder"
        for file in $(seq -w 0 99); do
            printf 'template %s of part %s\n' "$file" "$folder" >"$dir/part$folder/t$file.tpl"
        done
    done
    find "$dir" -type f -exec touch -d '2020-05-06 07:08:09' {} +
}

# e2e_slow_installs MICROSECONDS: later runs of the installer (and only of
# it) spend that long on every extracted entry (see helpers/slow_futimes.cpp);
# 0 turns it off.
E2E_SETUP_ENV=()
e2e_slow_installs() {
    [ -f "$E2E_BIN/slow_futimes.so" ] || e2e_fail "$E2E_BIN/slow_futimes.so is missing: build it first"
    if [ "$1" -gt 0 ]; then
        E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" "QORN_E2E_FUTIMES_DELAY_US=$1")
    else
        E2E_SETUP_ENV=()
    fi
}

# e2e_tree_fingerprint_is DIR FINGERPRINT: whether DIR now looks exactly so.
e2e_tree_fingerprint_is() { [ "$(e2e_tree_fingerprint "$1")" = "$2" ]; }
