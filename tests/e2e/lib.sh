# Harness of the end-to-end tests (and tools/take-screenshots.sh): a private X server with openbox, a scratch
# home, TMPDIR and install directory, and helpers that act as a person would; they fail through e2e_fail.

set -uo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
E2E_TIMEOUT=${E2E_TIMEOUT:-20}          # seconds for any single wait
E2E_FAILURES=0
E2E_SETUP_ENV=()                        # extra environment of the installer runs
E2E_MOUNTS=()                           # unmounted on exit

# Every X client call is bounded: a hung call must fail the test, not stall it.
xdo() { timeout 10 xdotool "$@"; }

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    [ ! -s "${E2E_SETUP_ERR:-}" ] || { e2e_log "stderr of the installer:"; sed 's/^/    /' "$E2E_SETUP_ERR" >&2; }
    exit 1
}

# A check that records a failure and goes on; e2e_finish turns them into exit 1.
e2e_check() {
    local what=$1; shift
    if "$@"; then e2e_log "ok: $what"; else e2e_log "FAIL: $what"; E2E_FAILURES=$((E2E_FAILURES + 1)); fi
}

# e2e_need TOOL...: the test is skipped (77) without them.
e2e_need() {
    local tool
    for tool; do command -v "$tool" >/dev/null 2>&1 || { e2e_log "SKIP: $tool is not installed"; exit 77; }; done
}

e2e_finish() { [ "$E2E_FAILURES" -eq 0 ] || { e2e_log "$E2E_FAILURES check(s) failed"; exit 1; }; e2e_log "all checks passed"; exit 0; }

# A script's own clean-up, run first on exit; the script's status stays the test's.
e2e_on_exit() { :; }

e2e_cleanup() {
    local status=$? point
    e2e_on_exit
    kill ${E2E_SETUP_PID:-} ${E2E_WM_PID:-} ${E2E_XVFB_PID:-} ${E2E_A11Y_PIDS:-} 2>/dev/null
    wait ${E2E_SETUP_PID:-} ${E2E_WM_PID:-} ${E2E_XVFB_PID:-} 2>/dev/null
    for point in ${E2E_MOUNTS[@]+"${E2E_MOUNTS[@]}"}; do umount -l "$point" 2>/dev/null; done
    [ -z "${E2E_KEEP:-}" ] || { e2e_log "kept scratch root $E2E_ROOT"; exit "$status"; }
    chmod -R u+rwx "$E2E_ROOT" 2>/dev/null
    rm -rf "$E2E_ROOT"
    exit "$status"
}

# The wizard as a screen reader meets it: e2e_need_a11y before e2e_init skips the test (77) without the
# tools; e2e_start_a11y then starts a D-Bus session and the AT-SPI registry, and loads the bridge into the
# installer runs that follow.
E2E_BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
e2e_need_a11y() {
    e2e_need dbus-launch /usr/bin/python3 "$E2E_BUS_LAUNCHER"
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { e2e_log "SKIP: python3-pyatspi is not installed"; exit 77; }
}
e2e_start_a11y() {
    eval "$(dbus-launch --sh-syntax)"
    "$E2E_BUS_LAUNCHER" --launch-immediately >"$E2E_ROOT/bus.log" 2>&1 &
    E2E_A11Y_PIDS="$! $DBUS_SESSION_BUS_PID"
    unset NO_AT_BRIDGE
    export GTK_MODULES=gail:atk-bridge
}

# e2e_mount_tmpfs DIR OPTIONS: a tmpfs at DIR (needs root), unmounted on exit.
e2e_mount_tmpfs() { mkdir -p "$1" && mount -t tmpfs -o "$2" tmpfs "$1" 2>/dev/null && E2E_MOUNTS+=("$1"); }
# e2e_mount_ext4 DIR SIZE INODES: an ext4 image of SIZE with INODES inodes, loop-mounted at DIR (needs root and
# a loop device), unmounted on exit.
e2e_mount_ext4() {
    truncate -s "$2" "$1.img" && mkfs.ext4 -q -F -N "$3" "$1.img" >/dev/null 2>&1 && mkdir -p "$1" &&
        mount -o loop "$1.img" "$1" 2>/dev/null && E2E_MOUNTS+=("$1")
}

# The installer is copied so that /proc/self/exe names the install directory; bin/ comes first on PATH.
e2e_init() {
    local tool
    e2e_need Xvfb openbox xdotool xprop xdpyinfo
    E2E_BIN=${QORN_BIN_DIR:?is not set: the folder of the built programs}
    E2E_SRC=${QORN_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
    for tool in setup efdkit print_message; do
        [ -x "$E2E_BIN/$tool" ] || e2e_fail "$E2E_BIN/$tool is missing: build it first"
    done
    E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/qorn-e2e-$E2E_NAME.XXXXXX") || e2e_fail "no scratch root"
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    export TMPDIR=$E2E_ROOT/tmp PATH=$E2E_ROOT/bin:$PATH
    export E2E_XDG_LOG=$E2E_ROOT/xdg-open.log
    E2E_INSTALL=$E2E_ROOT/install E2E_WORK=$E2E_ROOT/work
    mkdir -p "$TMPDIR" "$E2E_INSTALL" "$E2E_ROOT/bin" "$E2E_WORK"
    cp "$E2E_BIN/setup" "$E2E_INSTALL/setup"
    # xdg-open records its arguments, a line each, in E2E_XDG_LOG and opens nothing.
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"$E2E_XDG_LOG"\n' >"$E2E_ROOT/bin/xdg-open"
    chmod +x "$E2E_ROOT/bin/xdg-open"
    export LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE= NO_AT_BRIDGE=1 GTK2_RC_FILES=/dev/null
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER
    mkfifo "$E2E_ROOT/displayfd"
    e2e_start_x
    e2e_use_home home
}

# A fresh X server (also after a test killed it); -displayfd: parallel tests never race for a number.
e2e_start_x() {
    local number=""
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$E2E_ROOT/displayfd" \
        >"$E2E_ROOT/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    read -r -t "$E2E_TIMEOUT" number <"$E2E_ROOT/displayfd" || true
    [ -n "$number" ] || e2e_fail "Xvfb did not report a display: $(cat "$E2E_ROOT/xvfb.log")"
    export DISPLAY=":$number"
    e2e_wait_for "the X server on $DISPLAY" xdpyinfo
    # Its own home: the packaged settings (Alt+F4 closes), nothing of the user's.
    mkdir -p "$E2E_ROOT/wm"
    HOME=$E2E_ROOT/wm openbox --sm-disable >"$E2E_ROOT/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    e2e_wait_for "the window manager" _e2e_wm_running
}

e2e_kill_x() { kill -KILL "$E2E_XVFB_PID"; { wait "$E2E_XVFB_PID"; } 2>/dev/null; }

_e2e_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# e2e_use_home NAME: a fresh home, with no earlier launcher file.
e2e_use_home() {
    export HOME=$E2E_ROOT/$1
    mkdir -p "$HOME"
    E2E_DEFAULT_DIR=$HOME/.qorn/Vq/vq8/tmplts
    E2E_LAUNCHER_CFG=$HOME/.Vq/tavrilon/tavrilon.cfg
}

# e2e_run WHAT COMMAND...: a preparation step; its output only on failure.
e2e_run() { local what=$1; shift; "$@" >"$E2E_ROOT/run.log" 2>&1 || e2e_fail "$what failed: $(cat "$E2E_ROOT/run.log")"; }

e2e_install_kit() { cp "$1" "$E2E_INSTALL/qorn.efd"; }

# A small kit (E2E_WORK/small.efd, source E2E_KIT_SOURCE) beside the installer: nested folders, a
# description document, distinct file times.
e2e_default_kit() {
    local dir=$E2E_WORK/kit-source i=0 file
    E2E_KIT_SOURCE=$dir
    mkdir -p "$dir/reports/monthly" "$dir/forms"
    head -c 70000 /dev/urandom >"$dir/forms/logo.bin"
    for file in readme.txt reports/balance.tpl reports/monthly/sales.tpl forms/invoice.tpl forms/logo.bin; do
        [ -e "$dir/$file" ] || printf '%s of the test kit\n' "$file" >"$dir/$file"
        touch -d "@$((1500000000 + i++ * 31000000))" "$dir/$file"
    done
    e2e_run "packing the small kit" "$E2E_BIN/efdkit" pack --lang en --product "Test Templates" \
        --provider "Test Provider" --description readme.txt "$dir" "$E2E_WORK/small.efd"
    e2e_install_kit "$E2E_WORK/small.efd"
}

# The bundled sample kit (E2E_WORK/sample.efd) beside the installer.
e2e_sample_kit() {
    E2E_KIT_SOURCE=$E2E_SRC/examples/sample
    e2e_run "packing the sample kit" \
        "$E2E_SRC/tools/pack-sample.sh" "$E2E_BIN/efdkit" "$E2E_WORK/sample.efd"
    e2e_install_kit "$E2E_WORK/sample.efd"
}

# e2e_make_large_source DIR [FOLDERS FILES]: 30 folders of 100 small files unless given, each its own content.
e2e_make_large_source() {
    local dir=$1 folder file
    for folder in $(seq -w 0 $((${2:-30} - 1))); do
        mkdir -p "$dir/part$folder"
        for file in $(seq -w 0 $((${3:-100} - 1))); do printf 'template %s of part %s\n' "$file" "$folder" >"$dir/part$folder/t$file.tpl"; done
    done
    find "$dir" -type f -exec touch -d '2020-05-06 07:08:09.4567891' {} +
}

# A kit of e2e_make_large_source's 3000 entries, E2E_WORK/large.efd.
e2e_large_kit() {
    e2e_make_large_source "$E2E_WORK/large"
    e2e_run "packing the large kit" "$E2E_BIN/efdkit" pack --lang en --product Large --provider Test \
        "$E2E_WORK/large" "$E2E_WORK/large.efd"
}

# e2e_older_tree SOURCE DIR [NEWER]: DIR (new, or empty) holds older copies of every third
# file of SOURCE, the first of mode 0604, and a file of the user's beside each; NEWER, a file of SOURCE, edited
# later than the kit's. Folders only where a copy is: the kit's other folders stay new.
e2e_older_tree() {
    local file i=0
    mkdir -p "$2"
    while IFS= read -r file; do
        [ $((i++ % 3)) -eq 0 ] || continue
        mkdir -p "$2/${file%/*}"
        printf 'old %s\n' "$file" >"$2/$file"
        printf 'mine\n' >"$2/${file%/*}/mine.txt"
        [ "$i" -ne 1 ] || chmod 0604 "$2/$file"
    done < <(cd "$1" && find . -type f | LC_ALL=C sort)
    find "$2" -type f -exec touch -d '2001-02-03 04:05:06.5' {} +
    [ -z "${3:-}" ] || { printf 'edited by the user\n' >"$2/$3"; touch -d '2030-01-01 00:00:00' "$2/$3"; }
    find "$2" -type d -exec touch -d '2002-03-04 05:06:07.25' {} +
}

# e2e_slow_installs MICROSECONDS: later runs spend that long on each entry (helpers/slow_futimes.cpp); 0: off.
e2e_slow_installs() {
    [ -f "$E2E_BIN/slow_futimes.so" ] || e2e_fail "$E2E_BIN/slow_futimes.so is missing: build it first"
    E2E_SETUP_ENV=()
    [ "$1" -eq 0 ] || E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" "QORN_E2E_FUTIMES_DELAY_US=$1")
}

# e2e_start_setup [VARIABLE=VALUE...] [args...]: the installer in the background, in E2E_WORK, with
# E2E_SETUP_ENV and these variables.
e2e_start_setup() {
    local -a env=(${E2E_SETUP_ENV[@]+"${E2E_SETUP_ENV[@]}"})
    while [[ ${1:-} == [A-Z]*=* ]]; do env+=("$1"); shift; done
    E2E_RUN=$((${E2E_RUN:-0} + 1)) E2E_WIZARD=""
    E2E_SETUP_ERR=$E2E_ROOT/setup-$E2E_RUN.err
    e2e_log "run $E2E_RUN: setup $*"
    (cd "$E2E_WORK" && exec env ${env[@]+"${env[@]}"} "$E2E_INSTALL/setup" "$@") \
        >"$E2E_ROOT/setup-$E2E_RUN.out" 2>"$E2E_SETUP_ERR" &
    E2E_SETUP_PID=$!
}

e2e_start_headless() { local display=$DISPLAY; unset DISPLAY; e2e_start_setup "$@"; export DISPLAY=$display; }

# e2e_said STREAM LINE...: the last run wrote exactly these lines on STREAM (out or err).
e2e_said() {
    local file=$E2E_ROOT/setup-$E2E_RUN.$1; shift
    [ "$(cat "$file")" = "$(printf '%s\n' "$@")" ] || { e2e_log "it said:"; sed 's/^/    /' "$file" >&2; return 1; }
}

# e2e_message ID [LANGUAGE]: a text of the message tables (English unless given).
e2e_message() { "$E2E_BIN/print_message" "${2:-en}" "$1" || e2e_fail "no text $1 in ${2:-en}"; }

e2e_setup_running() { [ -n "${E2E_SETUP_PID:-}" ] && kill -0 "$E2E_SETUP_PID" 2>/dev/null; }

# e2e_wait_for WHAT COMMAND...: polls COMMAND until it succeeds or the timeout passes.
e2e_wait_for() {
    local what=$1 deadline=$((SECONDS + E2E_TIMEOUT)); shift
    until "$@" >/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || e2e_fail "timed out waiting for $what"
        sleep 0.05
    done
}

# e2e_wait_exit [STATUS]: the installer ended with STATUS (0 unless given), leaving no backup or image in TMPDIR.
e2e_wait_exit() {
    local expected=${1:-0} status=0
    e2e_wait_for "the installer to end" eval '! e2e_setup_running'
    wait "$E2E_SETUP_PID" || status=$?
    E2E_SETUP_PID=""
    [ "$status" -eq "$expected" ] || e2e_fail "the installer ended with status $status, not $expected"
    e2e_log "ok: the installer ended with status $expected"
    e2e_check_tmpdir_clean
}
e2e_check_tmpdir_clean() {
    local left=$(cd "$TMPDIR" && ls -d xorup* qorn-setup-image-* 2>/dev/null)
    e2e_check "no xorup* or image left in TMPDIR${left:+ (found: $left)}" test -z "$left"
}

# e2e_run_silent DIR [env...]: DIR/setup -S -Len without a display, waited for; sets status.
e2e_run_silent() {
    local dir=$1; shift
    status=$({ (cd "$E2E_WORK" && unset DISPLAY && exec env "$@" "$dir/setup" -S -Len) \
        >"$E2E_ROOT/run.out" 2>"$E2E_ROOT/run.err"; echo $?; } 2>/dev/null)   # the inner shell reports a kill
}

# E2E_NOKIT: a copy of the installer without a kit: a start there recovers, then ends.
e2e_nokit_copy() { E2E_NOKIT=$E2E_ROOT/nokit; mkdir -p "$E2E_NOKIT"; cp "$E2E_BIN/setup" "$E2E_NOKIT/setup"; }

# Visible top-level windows of the installer, one id a line.
e2e_windows() { [ -z "${E2E_SETUP_PID:-}" ] || xdo search --onlyvisible --pid "$E2E_SETUP_PID" 2>/dev/null || true; }
e2e_window_size() { xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/^ *Geometry: *//p'; }
e2e_other_windows() { e2e_windows | grep -vx "${E2E_WIZARD:-}"; }
e2e_no_dialog() { [ -z "$(e2e_other_windows)" ]; }
e2e_wizard_visible() { [ -n "$E2E_WIZARD" ] && e2e_windows | grep -qx "$E2E_WIZARD"; }

_e2e_find_wizard() {
    local id
    for id in $(e2e_windows); do
        [ "$(e2e_window_size "$id")" = 500x360 ] && { E2E_WIZARD=$id; return 0; }
    done
    e2e_setup_running || e2e_fail "the installer ended before its wizard appeared"
    return 1
}
_e2e_find_dialog() { E2E_DIALOG=$(e2e_other_windows | head -n 1); [ -n "$E2E_DIALOG" ]; }

# Wait for the 500x360 wizard (sets E2E_WIZARD), or for another window (sets E2E_DIALOG).
e2e_wait_wizard() { e2e_wait_for "the wizard window" _e2e_find_wizard; }
e2e_wait_dialog() { e2e_wait_for "a dialog of the installer" _e2e_find_dialog; }
e2e_wait_no_dialog() { e2e_wait_for "the dialog to close" e2e_no_dialog; }

# e2e_check_box WHAT: E2E_DIALOG, a window of its own, carries the wizard's title.
e2e_check_box() {
    e2e_check "$1: the box carries the wizard's title" \
        test "$(xdo getwindowname "$E2E_DIALOG" 2>/dev/null)" = "Installing configuration"
}

# e2e_click X Y [click options]: the pointer first leaves for a corner: GTK+ 2 ignores a click on a button
# that became sensitive under a pointer that never moved. (No --sync: it hangs when the pointer is in place.)
e2e_click() {
    xdo mousemove --window "$E2E_WIZARD" 1 1 mousemove --window "$E2E_WIZARD" "$1" "$2" click "${@:3}" 1 ||
        e2e_fail "cannot click at $1,$2"
}

e2e_back() { e2e_click 270 335; }
e2e_next() { e2e_click 350 335; }
e2e_cancel() { e2e_click 450 335; }

_e2e_has_focus() { [ "$(xdo getwindowfocus 2>/dev/null)" = "$1" ]; }

# e2e_keys WINDOW KEY...: the manager activates WINDOW, then the keys go (alt+F4 to the manager).
e2e_keys() {
    local window=$1; shift
    xdo windowactivate "$window" || e2e_fail "cannot activate window $window"
    e2e_wait_for "the focus on window $window" _e2e_has_focus "$window"
    xdo key --clearmodifiers "$@" || e2e_fail "cannot send keys $*"
}

e2e_answer() { e2e_keys "$E2E_DIALOG" "$1"; e2e_wait_no_dialog; }

# e2e_type_path TEXT: replaces the directory entry's text (a triple click selects the line, ctrl+a makes sure).
e2e_type_path() {
    e2e_click 310 290 --repeat 3 --delay 40
    xdo key --clearmodifiers ctrl+a BackSpace
    [ -z "$1" ] || xdo type --delay 8 -- "$1" || e2e_fail "cannot type $1"
}

# The banner's red is back at the left (the progress page alone has no banner): its pixel at 20,200 is not
# that of the page at 300,300.
_e2e_banner_shown() {
    local banner plain
    read -r banner plain < <(timeout 20 import -window "$E2E_WIZARD" -crop 281x101+20+200 +repage \
        -format '%[pixel:p{0,0}] %[pixel:p{280,100}]' info: 2>/dev/null)
    [ -n "$plain" ] && [ "$banner" != "$plain" ]
}

# After a stop on the progress page, the outcome page with a live Finish: the tree is back before the
# wizard learns the job ended, and a click before then lands on the insensitive Next.
e2e_wait_outcome_page() {
    command -v import >/dev/null 2>&1 || e2e_fail "ImageMagick's import is needed to see the wizard's page"
    e2e_wait_for "the wizard's outcome page" _e2e_banner_shown
}

# The first "ConfigurationTemplatesLocation" of the launcher file, if any.
e2e_recorded_location() {
    [ ! -f "$E2E_LAUNCHER_CFG" ] || sed -n 's/^ConfigurationTemplatesLocation=//p' "$E2E_LAUNCHER_CFG" | head -n 1 | tr -d '\r'
}
_e2e_recorded_is() { [ "$(e2e_recorded_location)" = "$1" ]; }

# The launcher file names DIR first (written with the success page).
e2e_wait_recorded() { e2e_wait_for "the launcher file to record $1" _e2e_recorded_is "$1"; }

# e2e_tree_matches SOURCE TARGET: TARGET holds exactly the files of SOURCE, same content and time (seconds).
_e2e_files() {
    # The installer's record of the kit (.qorn-record) is no file of the kit.
    (cd "$1" && find . -path ./.qorn-record -prune -o -type f -printf '%p %T@\n' | sed 's/\.[0-9]*$//' &&
        find . -path ./.qorn-record -prune -o -type f -exec sha1sum {} +) | LC_ALL=C sort
}
e2e_tree_matches() { diff <(_e2e_files "$1") <(_e2e_files "$2"); }

# Every path's kind, mode, size and time, and each file's checksum; "files-only" leaves out folder times.
e2e_tree_fingerprint() {
    [ -e "$1" ] || { echo "<absent>"; return; }
    local folder_time='%T@'
    [ "${2:-}" != files-only ] || folder_time=''
    (cd "$1" && find . -printf '%p %y %m %s ' \( -type f -printf '%T@\n' -o -printf "$folder_time\n" \) &&
        find . -type f -exec sha1sum {} +) | LC_ALL=C sort
}
e2e_tree_is() { [ "$(e2e_tree_fingerprint "$1")" = "$2" ]; }

# e2e_leftovers TARGET [DIR...]: backups and images in TMPDIR and DIRs, a backup beside TARGET, its
# temporary files, journals.
e2e_leftovers() {
    local target=$1 dir; shift
    for dir in "$TMPDIR" "$@"; do (cd "$dir" && ls -d xorup* qorn-setup-image-* 2>/dev/null); done
    (cd "$(dirname "$target")" && ls -d .xorup* 2>/dev/null)
    find "$target" -name '.qorn~*' 2>/dev/null
    ls -A "$HOME/.local/state/qorn-setup" 2>/dev/null
}
