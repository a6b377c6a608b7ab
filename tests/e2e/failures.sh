#!/usr/bin/env bash
# Installations that fail or stop, through the real window and process: each ends with the status that tells
# a script what happened and the template directory as it should be.
source "$(dirname "$0")/lib.sh"
e2e_need strace
e2e_init
e2e_default_kit

# ---- readme.txt, after forms\invoice.tpl (replaced) and forms\logo.bin (new), fails on a directory in its place
e2e_use_home home-failure
target=$E2E_DEFAULT_DIR
mkdir -p "$target/forms" "$target/readme.txt/kept"
printf 'the user'"'"'s older invoice\n' >"$target/forms/invoice.tpl"
printf 'must survive\n' >"$target/readme.txt/kept/note"
touch -d '2001-02-03 04:05:06' "$target/forms/invoice.tpl" "$target/readme.txt/kept/note"
touch -d '2002-03-04 05:06:07' "$target/readme.txt/kept" "$target/readme.txt" "$target/forms" "$target"
before=$(e2e_tree_fingerprint "$target")
e2e_start_setup -Len
e2e_wait_wizard
e2e_next
e2e_next
e2e_wait_dialog
e2e_check_box "installation error"
e2e_answer Return
e2e_wait_for "the wizard to stay for its error page" e2e_wizard_visible
e2e_next
e2e_wait_exit 3
e2e_check "the failed installation left the exact earlier tree" e2e_tree_is "$target" "$before"
e2e_check "the failed installation wrote no launcher file" test ! -e "$E2E_LAUNCHER_CFG"

# ---- a stop mid-way, cancelled: Cancel (Escape calls the same handler) without a question, the error page then
# waiting for Finish; SIGTERM (a logout) with a window, the installer then ending on its own
e2e_large_kit
e2e_install_kit "$E2E_WORK/large.efd"
for how in button SIGTERM; do
    e2e_use_home "home-stop-$how"
    target=$E2E_DEFAULT_DIR
    e2e_older_tree "$E2E_WORK/large/part05" "$target/part05"
    before=$(e2e_tree_fingerprint "$target")
    e2e_slow_installs 3000      # 3000 entries: about nine seconds unless stopped
    if [ "$how" = SIGTERM ]; then e2e_start_setup -S -Len; else e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next; fi
    e2e_wait_for "the installation to be under way" test -e "$target/part02/t00.tpl"
    if [ "$how" = SIGTERM ]; then kill -TERM "$E2E_SETUP_PID"; else e2e_cancel; fi
    if [ -n "$E2E_WIZARD" ]; then
        e2e_wait_outcome_page
        e2e_check "$how: the rollback has ended" e2e_tree_is "$target" "$before"
        e2e_check "$how: the cancel asked no question and showed no error box" e2e_no_dialog
        e2e_check "$how: the installer waits on its error page" e2e_setup_running
        e2e_next
    fi
    e2e_wait_exit 4
    e2e_slow_installs 0
    e2e_check "$how: the stopped installation left the exact earlier tree" e2e_tree_is "$target" "$before"
done

# ---- journals that have nowhere to go (XDG_STATE_HOME names a file): the folder is named, nothing changes
e2e_use_home home-journal
e2e_install_kit "$E2E_WORK/small.efd"
printf 'a file\n' >"$E2E_ROOT/state-file"
e2e_start_headless "XDG_STATE_HOME=$E2E_ROOT/state-file" -S -Len
e2e_wait_exit 3
e2e_check "journal folder: named on standard error" e2e_said err "$(e2e_message IDS_TEMPLATE_CATALOG) $E2E_DEFAULT_DIR/" \
    "Installing configuration: $(e2e_message IDS_ERROR_JOURNALDIR) $E2E_ROOT/state-file/qorn-setup" \
    "$(e2e_message IDS_ERROR_FINISH)"
e2e_check "journal folder: nothing installed" test -z "$(ls -A "$HOME")"

# ---- the display lost while the run commits, or on the success page: the run stands (mid-copy: crash.sh)
for how in committing success-page; do
    e2e_use_home "home-lost-$how"
    if [ "$how" = committing ]; then
        # The commit's flush of the file system lasts three seconds.
        E2E_SETUP_ENV=(strace -f -qq -o /dev/null -e trace=syncfs -e inject=syncfs:delay_enter=3000000)
        e2e_start_setup -S -Len
        E2E_SETUP_ENV=()
        e2e_wait_for "the kit's files in place" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    else
        e2e_start_setup -Len; e2e_wait_wizard; e2e_next; e2e_next; e2e_wait_recorded "$E2E_DEFAULT_DIR"
    fi
    e2e_kill_x
    e2e_wait_exit 0
    e2e_check "$how: the kit's files are installed" e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
    e2e_check "$how: the directory is recorded" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"
    e2e_check "$how: nothing left behind" test -z "$(e2e_leftovers "$E2E_DEFAULT_DIR")"
    e2e_start_x
done

# ---- a kit cut short past its list of files, silently: a run with a file to write says the kit is damaged (status 2)
# and changes nothing; a run that finds every file up to date needs nothing from it
e2e_use_home home-cut-kit
target=$E2E_DEFAULT_DIR
e2e_install_kit "$E2E_WORK/large.efd"
e2e_run_silent "$E2E_INSTALL"
e2e_check "cut kit: the whole kit installs first (status $status)" test "$status" -eq 0
head -c -64 "$E2E_WORK/large.efd" >"$E2E_INSTALL/qorn.efd"
e2e_run_silent "$E2E_INSTALL"
e2e_check "cut kit: every file up to date, nothing needed from it (status $status)" test "$status" -eq 0
cut_dry_run() { (cd "$E2E_WORK" && unset DISPLAY && "$E2E_INSTALL/setup" -S -N -Len) >/dev/null 2>&1; }
cut_dry_run && e2e_log "ok: cut kit: the dry run of that says the same (status 0)" || e2e_fail "cut kit: the dry run failed"
touch -d '2001-02-03 04:05:06' "$target/part02/t00.tpl"
before=$(e2e_tree_fingerprint "$target")
status=0; cut_dry_run || status=$?
e2e_check "cut kit: the dry run of a run with a file to write tells the damage too (status $status)" test "$status" -eq 2
e2e_run_silent "$E2E_INSTALL"
e2e_check "cut kit: a file to write, told as damaged (status $status)" test "$status" -eq 2
e2e_check "cut kit: the damaged kit's message" grep -qF "$(e2e_message IDS_ERROR_DAMAGEDSOURCE)" "$E2E_ROOT/run.err"
e2e_check "cut kit: nothing changed" e2e_tree_is "$target" "$before"
e2e_check "cut kit: nothing left behind" test -z "$(e2e_leftovers "$target")"
# Where somebody would be asked (here in a terminal), a kit this small is checked whole first: the damage is told
# before the welcome, with the same status.
status=0
(cd "$E2E_WORK" && env -u DISPLAY timeout 60 script -qec "$(printf '%q ' "$E2E_INSTALL/setup" -T -Len)" \
    "$E2E_ROOT/asked.out" </dev/null >/dev/null 2>&1) || status=$?   # a question asked would wait for ever
e2e_check "cut kit, asked in a terminal: told as damaged (status $status)" test "$status" -eq 2
e2e_check "cut kit, asked in a terminal: before the welcome" \
    eval 'grep -qF "$(e2e_message IDS_ERROR_DAMAGEDSOURCE)" "$E2E_ROOT/asked.out" &&
          ! grep -qF "$(e2e_message IDS_TERMINAL_CONTINUE)" "$E2E_ROOT/asked.out"'
e2e_check "cut kit, asked in a terminal: nothing changed" e2e_tree_is "$target" "$before"

# ---- a kit naming one path a file and a folder (no file system holds both): damaged, for the run and its dry run
e2e_use_home home-clash
mkdir -p "$E2E_ROOT/clash/zzz" && printf 'a' >"$E2E_ROOT/clash/qqq" && printf 'b' >"$E2E_ROOT/clash/zzz/t.tpl"
e2e_run "packing the clash's tree" "$E2E_BIN/efdkit" pack "$E2E_ROOT/clash" "$E2E_ROOT/clash.efd"
python3 - "$E2E_ROOT/clash.efd" "$E2E_INSTALL/qorn.efd" <<'PY'
import sys, zlib
image = zlib.decompress(open(sys.argv[1], 'rb').read(), -15).replace('qqq'.encode('utf-16-le'), 'zzz'.encode('utf-16-le'))
packer = zlib.compressobj(9, zlib.DEFLATED, -15)
open(sys.argv[2], 'wb').write(packer.compress(image) + packer.flush())
PY
for mode in -N ''; do
    status=0; (cd "$E2E_WORK" && unset DISPLAY && "$E2E_INSTALL/setup" -S $mode -Len) >/dev/null 2>"$E2E_ROOT/run.err" || status=$?
    e2e_check "file and folder alike${mode:+ (dry run)}: told as damaged (status $status)" \
        eval 'test "$status" -eq 2 && grep -qF "$(e2e_message IDS_ERROR_DAMAGEDSOURCE)" "$E2E_ROOT/run.err"'
    e2e_check "file and folder alike${mode:+ (dry run)}: nothing made" test ! -e "$E2E_DEFAULT_DIR"
done

# ---- a directory the run cannot use is named, by the run (status 3) and by its dry run alike; so is a kit that
# is not there or may not be read (status 2)
e2e_use_home home-unusable
e2e_install_kit "$E2E_WORK/small.efd"
: >"$E2E_ROOT/a-file"
e2e_mount_tmpfs "$E2E_ROOT/ro" size=1m && mkdir "$E2E_ROOT/ro/t" && mount -o remount,ro "$E2E_ROOT/ro"
e2e_mount_tmpfs "$E2E_ROOT/tiny" size=64k,nr_inodes=4
# said DIR STATUS TEXT MODE [AFTER]: the run into DIR ends with STATUS and says TEXT, followed by AFTER.
said() {
    status=0; (cd "$E2E_WORK" && unset DISPLAY && "$E2E_INSTALL/setup" -S $4 -Len "-D$1") >/dev/null 2>"$E2E_ROOT/run.err" ||
        status=$?
    test "$status" -eq "$2" && grep -qF "$(e2e_message "$3")${5:+ $5}" "$E2E_ROOT/run.err"
}
for mode in -N ''; do
    e2e_check "a file for the directory${mode:+ (dry run)}" \
        said "$E2E_ROOT/a-file/templates/" 3 IDS_ERROR_TARGET_NOTFOLDER "$mode" "$E2E_ROOT/a-file/templates/"
    [ ! -d "$E2E_ROOT/ro/t" ] || e2e_check "a read-only directory${mode:+ (dry run)}" \
        said "$E2E_ROOT/ro/t/" 3 IDS_ERROR_TARGET_READONLY "$mode" "$E2E_ROOT/ro/t/"
done
[ ! -d "$E2E_ROOT/tiny" ] || e2e_check "no room for the kit's files: the dry run says so (status 3) and makes nothing" eval \
    'said "$E2E_ROOT/tiny/t" 3 IDS_ERROR_NOSPACE_TARGET -N && test ! -e "$E2E_ROOT/tiny/t"'
chmod 600 "$E2E_INSTALL/qorn.efd"
mkdir -m 777 "$E2E_ROOT/nobody"
chmod 711 "$E2E_ROOT"   # the other user reaches the installer, and nothing else of the scratch root
status=0
(cd /tmp && setpriv --reuid=65534 --regid=65534 --clear-groups env -u DISPLAY HOME="$E2E_ROOT/nobody" \
    "$E2E_INSTALL/setup" -S -Len) >/dev/null 2>"$E2E_ROOT/run.err" || status=$?
e2e_check "a kit this user may not read is told so (status $status)" \
    eval 'test "$status" -eq 2 && grep -qF "$(e2e_message IDS_ERROR_KIT_UNREADABLE)" "$E2E_ROOT/run.err"'
rm "$E2E_INSTALL/qorn.efd" && ln -s "$E2E_ROOT/gone.efd" "$E2E_INSTALL/qorn.efd"
e2e_run_silent "$E2E_INSTALL"
e2e_check "a kit that is a link to nothing is not found (status $status)" \
    eval 'test "$status" -eq 2 && grep -qF "$(e2e_message IDS_ERROR_NOSOURCE)" "$E2E_ROOT/run.err"'
rm "$E2E_INSTALL/qorn.efd"

e2e_finish
