#!/usr/bin/env bash
# The installer in a tmux pane without a display: "~/my te" completed with Tab, in Russian; an empty and an
# undecodable answer refused, then the proposal accepted; paragraphs broken at blanks; file names with escape
# sequences listed by Tab as text; with TERM=dumb a progress line every tenth; in 40 columns, in Greek, no line
# wider and none starting with a blank; Ctrl+C at the welcome, the question and mid-copy; input that is no
# terminal ends at once with status 2.
source "$(dirname "$0")/lib.sh"
e2e_need tmux
e2e_init
e2e_default_kit
printf 'set -g remain-on-exit on\nset -g history-limit 5000\n' >"$E2E_ROOT/tmux.conf"
# A server of its own for every run: a new one never meets the last one ending.
pane() { tmux -L "qorn-e2e-$$-${E2E_RUN:-0}" -f "$E2E_ROOT/tmux.conf" "$@"; }
e2e_on_exit() { pane kill-server 2>/dev/null; }

# t_start [args...]: the installer in a fresh pane, T_WIDTH (100) columns by 30; its status goes to T_STATUS.
t_start() {
    pane kill-server 2>/dev/null
    E2E_RUN=$((${E2E_RUN:-0} + 1)) T_STATUS=$E2E_ROOT/status-$E2E_RUN
    e2e_log "run $E2E_RUN: setup $* (in a terminal)"
    (cd "$E2E_WORK" && env -u DISPLAY ${E2E_SETUP_ENV[@]+"${E2E_SETUP_ENV[@]}"} \
        tmux -L "qorn-e2e-$$-$E2E_RUN" -f "$E2E_ROOT/tmux.conf" new-session -d -x "${T_WIDTH:-100}" -y 30 \
        "$(printf '%q ' env ${T_ENV[@]+"${T_ENV[@]}"} "$E2E_INSTALL/setup" "$@"); echo \$? >$(printf '%q' "$T_STATUS")")
}
t_screen() { pane capture-pane -p -J -S - 2>/dev/null; }
# A paragraph the installer broke at blanks reads whole again with its lines joined by blanks.
t_shows() { local line; for line in "$@"; do t_screen | tr '\n' ' ' | grep -qF -- "$line" || return 1; done; }
t_wait_text() { e2e_wait_for "the terminal to show: $1" t_shows "$1"; }
t_keys() { pane send-keys "$@"; }
t_type() { pane send-keys -l -- "$1"; }
t_wait_exit() {
    e2e_wait_for "the installer to end" test -s "$T_STATUS"
    [ "$(cat "$T_STATUS")" -eq "$1" ] || { t_screen >&2; e2e_fail "the installer ended with status $(cat "$T_STATUS"), not $1"; }
    e2e_check_tmpdir_clean
}
# Every word of $1 whole on a row of the pane as it shows (-J would join a row the terminal wrapped).
whole_words() { local w; for w in $1; do pane capture-pane -p -S - | sed 's/.*/ & /' | grep -qF -- " $w " || return 1; done; }
# The text of ID in the run's language.
say() { e2e_message "$1" "${lang:-en}"; }
question() { echo "$(say IDS_TEMPLATE_CATALOG | sed 's/:$//') [~/.qorn/Vq/vq8/tmplts/]: "; }

# ---- installations; "refused-first": an empty answer, then "~/café" in the C locale, each refused
for how in typed refused-first; do
    e2e_use_home "home-$how"
    target=$E2E_DEFAULT_DIR lang=en
    [ "$how" != typed ] || lang=ru
    [ "$how" != refused-first ] || E2E_SETUP_ENV=(LC_ALL=C)
    t_start "-L$lang"
    E2E_SETUP_ENV=()
    t_wait_text "$(say IDS_TERMINAL_CONTINUE)"
    [ "$lang" = ru ] || e2e_check "$how: the welcome names the kit and its vendor" \
        t_shows "$(say IDS_WELCOME_TITLE) Test Templates (Test Provider)."     # (the Russian one is wrapped)
    t_keys Enter
    t_wait_text "$(question)~/.qorn/Vq/vq8/tmplts/"
    e2e_check "$how: every word of the prompt is whole on its line" whole_words "$(say IDS_DESTINATION_PROMPT)"
    case $how in
        typed)
            target="$HOME/my templates/new"
            mkdir -p "$HOME/my templates"
            t_keys C-u; t_type "~/my te"; t_keys Tab
            t_wait_text "$(question)~/my templates/"
            t_type new ;;
        refused-first)
            t_keys C-u Enter
            t_wait_text "Installing configuration: $(say IDS_SETUP_EMPTYTARGET)"
            t_keys C-u; t_type "~/caf"; t_keys -H c3 a9; t_keys Enter
            t_wait_text "Installing configuration: $(say IDS_TERMINAL_BADPATH)"
            e2e_wait_for "the question a third time" test "$(t_screen | grep -cF "$(question)")" -eq 3 ;;
    esac
    t_keys Enter
    t_wait_exit 0
    e2e_check "$how: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$target"
    e2e_check "$how: the success, the summary and the description document's path" t_shows \
        "$(say IDS_SUCCESS_FINISH)" "$(say IDS_SUMMARY_WRITTEN) 5" "$(say IDS_SUCCESS_OPENDESCR): ${target%/}/readme.txt"
done
e2e_check "nothing was opened: there is no display" test ! -e "$E2E_XDG_LOG"
lang=en

# ---- file names that hold escape sequences: Tab lists them shown, never sent (the pane's title stays)
e2e_use_home home-hostile-names
esc=$(printf '\033') bel=$(printf '\007')
mkdir -p "$HOME/x/a${esc}]2;owned${bel}1" "$HOME/x/a${esc}]2;owned${bel}2"
t_start
t_wait_text "$(say IDS_TERMINAL_CONTINUE)"
t_keys Enter
t_wait_text "$(question)"
t_keys C-u; t_type "~/x/a"; t_keys Tab Tab
e2e_check "escape sequences in file names: shown in the list of Tab" t_shows "a^[]2;owned^G1/  a^[]2;owned^G2/"
e2e_check "escape sequences in file names: the pane's title is not theirs" \
    test "$(pane display-message -p '#{pane_title}')" != owned
t_keys C-c
t_wait_exit 4

# ---- TERM=dumb: the progress as lines that stay, each a new tenth of the way, the last at 100%
e2e_large_kit
e2e_install_kit "$E2E_WORK/large.efd"
e2e_use_home home-dumb
E2E_SETUP_ENV=("LD_PRELOAD=$E2E_BIN/slow_futimes.so" QORN_E2E_FUTIMES_DELAY_US=300) T_ENV=(TERM=dumb)
t_start
E2E_SETUP_ENV=() T_ENV=()
t_wait_text "$(say IDS_TERMINAL_CONTINUE)"
t_keys Enter
t_wait_text "$(question)"
t_keys Enter
t_wait_exit 0
tenths=$(t_screen | sed -n "s/^$(say IDS_PROGRESS_START | sed 's/\./\\./g') \([0-9]*\)%\$/\1/p" | awk '{printf "%d ", $1 / 10}')
e2e_check "TERM=dumb: progress lines at tenths \"$tenths\", more than two, each a new tenth, the last 100%" \
    awk -v t="$tenths" 'BEGIN { n = split(t, a, " "); for (i = 2; i <= n; i++) if (a[i] <= a[i-1]) exit 1; exit !(n > 2 && a[n] == 10) }'

# ---- 40 columns, in Greek (two bytes a letter, a column each): no line, prompts and progress included, wider
# than the pane once the rows it wrapped are joined, none starting with the blank it was broken at, and the line
# redrawn in place left once, not once for every drawing
e2e_use_home home-narrow
e2e_slow_installs 300
T_WIDTH=40 t_start -Lel
e2e_slow_installs 0
lang=el
t_wait_text "$(say IDS_TERMINAL_CONTINUE)"
t_keys Enter
t_wait_text "$(question)~/.qorn/Vq/vq8/tmplts/"
t_keys Enter
t_wait_exit 0
e2e_check "40 columns: the kit is installed" e2e_tree_matches "$E2E_WORK/large" "$E2E_DEFAULT_DIR"
e2e_check "40 columns: no line wider than the pane" test "$(t_screen | wc -L)" -le 40
rows=$(pane capture-pane -p -S -) progress=$(say IDS_PROGRESS_START)
e2e_check "40 columns: no row starts with a blank" eval '! grep -q "^ " <<<"$rows"'
e2e_check "40 columns: the progress line left once, whole to its percentage" \
    test "$(grep -c "^${progress:0:20}.* [0-9]*%\$" <<<"$rows")" -eq 1
lang=en

# ---- Ctrl+C: cancelled (4), the tree as before, no launcher file
e2e_install_kit "$E2E_WORK/small.efd"
for how in welcome question copy; do
    e2e_use_home "home-ctrl-c-$how"
    target=$E2E_DEFAULT_DIR
    e2e_older_tree "$E2E_WORK/large/part05" "$target/part05"
    before=$(e2e_tree_fingerprint "$target")
    [ "$how" != copy ] || { e2e_install_kit "$E2E_WORK/large.efd"; e2e_slow_installs 3000; }
    t_start
    t_wait_text "$(say IDS_TERMINAL_CONTINUE)"
    [ "$how" = welcome ] || { t_keys Enter; t_wait_text "$(question)"; }
    [ "$how" != copy ] || { t_keys Enter; e2e_wait_for "the copy to be under way" test -e "$target/part02/t00.tpl"; }
    t_keys C-c
    t_wait_exit 4
    e2e_slow_installs 0
    e2e_check "Ctrl+C at $how: the tree is as before" e2e_tree_is "$target" "$before"
    e2e_check "Ctrl+C at $how: no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
    e2e_check "Ctrl+C at $how: the cancellation is said" t_shows "$(say IDS_CANCEL_FINISH)"
done

# ---- input that is no terminal (a background job's, /dev/null) and no display: status 2 and its reason at once
e2e_use_home home-piped
e2e_start_headless
E2E_TIMEOUT=5 e2e_wait_exit 2
e2e_check "no terminal: the reason on standard error" \
    e2e_said err "Installing configuration: $(e2e_message IDS_ERROR_NODISPLAY)"
e2e_check "no terminal: nothing installed" test -z "$(ls -A "$HOME")"

e2e_finish
