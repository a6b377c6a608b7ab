#!/usr/bin/env bash
# Installations that must not lose anything: kits that cannot be opened,
# a reinstallation, newer local files, a failing entry and a cancellation,
# each ending with status 0 and the template directory as it should be.
source "$(dirname "$0")/lib.sh"
e2e_init
E2E_SHOTS=$E2E_ROOT/shots
mkdir -p "$E2E_SHOTS"

# e2e_expect_one_box_only WHAT: the installer shows one message box and no
# wizard; Return dismisses it and the installer ends with status 0.
expect_one_box_only() {
    e2e_wait_dialog
    e2e_check "$1: the box is not the wizard" test "$(e2e_window_size "$E2E_DIALOG")" != 500x360
    e2e_check "$1: no wizard beside the box" test "$(e2e_windows | wc -l)" = 1
    e2e_answer Return
    e2e_wait_exit
    e2e_check "$1: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
    e2e_check "$1: nothing recorded" test ! -e "$E2E_LAUNCHER_CFG"
    e2e_check_tmpdir_clean
}

# ---- kits that cannot be used: one box each, no wizard
rm -f "$E2E_INSTALL/qorn.efd"
e2e_start_setup -Len
expect_one_box_only "missing kit"

head -c 65536 /dev/urandom >"$E2E_INSTALL/qorn.efd"
e2e_start_setup -Len
expect_one_box_only "kit of random bytes"

printf 'not a kit at all\n' | gzip -c >"$E2E_INSTALL/qorn.efd"
e2e_start_setup -Len
expect_one_box_only "gzip file as kit"

e2e_default_kit
head -c $(($(stat -c %s "$E2E_WORK/small.efd") / 2)) "$E2E_WORK/small.efd" >"$E2E_INSTALL/qorn.efd"
e2e_start_setup -Len
expect_one_box_only "truncated kit"

# ---- without a display, silent mode writes the box to standard error
rm -f "$E2E_INSTALL/qorn.efd"
saved_display=$DISPLAY
unset DISPLAY
e2e_start_setup -S -Len
e2e_wait_exit
export DISPLAY=$saved_display
e2e_check "headless missing kit: the box text is on standard error" test -s "$E2E_SETUP_ERR"
e2e_check "headless missing kit: nothing installed" test ! -e "$E2E_DEFAULT_DIR"
e2e_check_tmpdir_clean

# ---- a reinstallation of the same kit touches no file
e2e_install_kit "$E2E_WORK/small.efd"
e2e_use_home home-reinstall
e2e_start_setup -S
e2e_wait_exit
e2e_check "first installation in place" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
before=$(e2e_tree_stamps "$E2E_DEFAULT_DIR")
sleep 1.1   # a rewritten file would then show a later change time
e2e_start_setup -S
e2e_wait_exit
e2e_check "a reinstallation leaves every inode and time alone" \
    test "$before" = "$(e2e_tree_stamps "$E2E_DEFAULT_DIR")"
e2e_check_tmpdir_clean

# ---- a destination file newer than the kit's entry keeps its content; an
# older one is replaced
e2e_use_home home-newer
mkdir -p "$E2E_DEFAULT_DIR/reports" "$E2E_DEFAULT_DIR/forms"
printf 'edited by the user\n' >"$E2E_DEFAULT_DIR/reports/balance.tpl"
printf 'stale copy\n' >"$E2E_DEFAULT_DIR/forms/invoice.tpl"
touch -d '2000-01-01 00:00:00' "$E2E_DEFAULT_DIR/forms/invoice.tpl"
e2e_start_setup -S
e2e_wait_exit
e2e_check "the newer local file keeps its content" \
    grep -qx 'edited by the user' "$E2E_DEFAULT_DIR/reports/balance.tpl"
e2e_check "the older local file is replaced by the kit's" \
    cmp -s "$E2E_KIT_SOURCE/forms/invoice.tpl" "$E2E_DEFAULT_DIR/forms/invoice.tpl"
e2e_check "the other entries are installed" \
    cmp -s "$E2E_KIT_SOURCE/reports/monthly/sales.tpl" "$E2E_DEFAULT_DIR/reports/monthly/sales.tpl"
e2e_check_tmpdir_clean

# ---- a failure on a middle entry rolls back to the exact earlier tree
# The kit lists forms\invoice.tpl, forms\logo.bin, readme.txt, reports\...:
# readme.txt fails because a directory stands in its place, after an older
# file was replaced and a new one created before it.
e2e_use_home home-failure
entries=$("$E2E_BIN/efdkit" list "$E2E_WORK/small.efd" | grep -v '^description' | cut -f1)
e2e_check "readme.txt is a middle entry of the kit" \
    test "$(sed -n '1p;$p' <<<"$entries" | grep -c readme.txt)" = 0
target=$E2E_DEFAULT_DIR
mkdir -p "$target/forms" "$target/readme.txt/kept"
printf 'the user'"'"'s older invoice\n' >"$target/forms/invoice.tpl"
printf 'must survive\n' >"$target/readme.txt/kept/note"
printf 'unrelated\n' >"$target/unrelated.txt"
touch -d '2001-02-03 04:05:06' "$target/forms/invoice.tpl" "$target/readme.txt/kept/note"
touch -d '2002-03-04 05:06:07' "$target/readme.txt/kept" "$target/readme.txt" "$target/forms" "$target"
before=$(e2e_tree_fingerprint "$target")
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_next
e2e_wait_dialog
e2e_check "the error box carries the wizard's title" \
    test "$(e2e_window_title "$E2E_DIALOG")" = "Installing configuration"
e2e_answer Return
e2e_check "the wizard stays for its error page" e2e_wizard_visible
e2e_screenshot "$E2E_WIZARD" "$E2E_SHOTS/error-page.png"
e2e_next
e2e_wait_exit
e2e_check "the failed installation left the exact earlier tree" \
    test "$before" = "$(e2e_tree_fingerprint "$target")"
e2e_check "the failed installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
e2e_check_tmpdir_clean

# ---- a cancel in the middle of a large installation, by Escape and by the
# Cancel button, rolls back likewise without a question, and the error page
# waits for Finish
e2e_make_large_source "$E2E_WORK/large"
e2e_pack "$E2E_WORK/large" "$E2E_WORK/large.efd" --lang en --product "Large" --provider "Test"
e2e_install_kit "$E2E_WORK/large.efd"
for how in Escape button; do
    e2e_use_home "home-cancel-$how"
    target=$E2E_DEFAULT_DIR
    mkdir -p "$target/part05" "$target/part29"
    printf 'older local 05\n' >"$target/part05/t50.tpl"
    printf 'older local 29\n' >"$target/part29/t99.tpl"
    touch -d '2001-01-01 00:00:00' "$target/part05/t50.tpl" "$target/part29/t99.tpl"
    touch -d '2002-02-02 00:00:00' "$target/part05" "$target/part29" "$target"
    before=$(e2e_tree_fingerprint "$target")
    e2e_slow_installs 3000      # 3000 entries: about nine seconds unless cancelled
    e2e_start_setup -Len
    e2e_wait_wizard
    e2e_next
    e2e_next
    e2e_wait_for "the installation to be under way" test -e "$target/part02/t00.tpl"
    if [ "$how" = Escape ]; then e2e_keys "$E2E_WIZARD" Escape; else e2e_cancel; fi
    e2e_wait_for "the rollback to end" e2e_tree_fingerprint_is "$target" "$before"
    e2e_check "$how: the cancel asked no question and showed no error box" _e2e_no_dialog
    e2e_check "$how: the installer waits on its error page" e2e_setup_running
    e2e_check "$how: the wizard stays for its error page" e2e_wizard_visible
    e2e_check "$how: the cancelled installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
    e2e_screenshot "$E2E_WIZARD" "$E2E_SHOTS/cancel-page-$how.png"
    e2e_next
    e2e_wait_exit
    e2e_slow_installs 0
    e2e_check "$how: the cancelled installation left the exact earlier tree" \
        test "$before" = "$(e2e_tree_fingerprint "$target")"
    e2e_check "$how: still no launcher file after Finish" test ! -e "$E2E_LAUNCHER_CFG"
    e2e_check_tmpdir_clean
done
if [ -s "$E2E_SHOTS/error-page.png" ] && [ -s "$E2E_SHOTS/cancel-page-Escape.png" ]; then
    # The two pages differ only by their text: the cancellation text is not
    # the failure text.
    e2e_check "the cancellation page does not show the failure text" \
        test "$(md5sum <"$E2E_SHOTS/error-page.png")" != "$(md5sum <"$E2E_SHOTS/cancel-page-Escape.png")"
fi

# ---- a signal (a logout, `kill`, Ctrl+C) in the middle of an installation
# rolls back like Cancel, with and without a window, and the installer ends
for how in SIGTERM-window SIGINT-headless; do
    e2e_use_home "home-signal-$how"
    target=$E2E_DEFAULT_DIR
    mkdir -p "$target/part07"
    printf 'older local 07\n' >"$target/part07/t70.tpl"
    touch -d '2001-01-01 00:00:00' "$target/part07/t70.tpl" "$target/part07" "$target"
    before=$(e2e_tree_fingerprint "$target")
    e2e_slow_installs 3000
    if [ "$how" = SIGTERM-window ]; then
        e2e_start_setup -S -Len
    else
        saved_display=$DISPLAY
        unset DISPLAY
        e2e_start_setup -S -Len
        export DISPLAY=$saved_display
    fi
    e2e_wait_for "the installation to be under way" test -e "$target/part02/t00.tpl"
    kill "-${how%%-*}" "$E2E_SETUP_PID"
    e2e_wait_exit
    e2e_slow_installs 0
    e2e_check "$how: the stopped installation left the exact earlier tree" \
        test "$before" = "$(e2e_tree_fingerprint "$target")"
    e2e_check "$how: the stopped installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"
    e2e_check_tmpdir_clean
done

e2e_finish
