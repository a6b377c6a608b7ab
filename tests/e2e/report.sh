#!/usr/bin/env bash
# setup --json: whatever ends a run (no kit, a bad option, help, a busy directory, success, a lost display),
# standard output holds exactly one document, valid against docs/report.schema.json, whose status is the
# exit status; everything for people stays on standard error.
. "$(dirname "$0")/lib.sh"
e2e_init
e2e_need python3
python3 -c 'import jsonschema' 2>/dev/null || { e2e_log "SKIP: python3-jsonschema is not installed"; exit 77; }
e2e_default_kit
e2e_nokit_copy

# reported STATUS NAME TEXT: the last run (e2e_start_setup's) printed one valid document saying STATUS and NAME,
# whose message holds TEXT; a summary, whatever became of the run, names the kit (e2e_default_kit's).
reported() {
    local out=$E2E_ROOT/setup-$E2E_RUN.out
    python3 "$E2E_SRC/tests/e2e/helpers/check_report.py" "$out" && python3 -c '
import json, sys
document = json.load(open(sys.argv[1]))
summary = document["summary"]
sys.exit(not (document["status"] == int(sys.argv[2]) and document["name"] == sys.argv[3] and sys.argv[4] in document["message"]
              and (summary is None or (summary["product"], summary["provider"]) == ("Test Templates", "Test Provider"))))' \
        "$out" "$1" "$2" "$3" || { e2e_log "it printed:"; cat "$out" >&2; return 1; }
}

# says EXPRESSION [ARG...]: the last run's document, `d`, makes the Python EXPRESSION true; the ARGs are `args`.
says() {
    local out=$E2E_ROOT/setup-$E2E_RUN.out
    python3 -c 'import json, sys; d = json.load(open(sys.argv[1])); args = sys.argv[3:]; sys.exit(not eval(sys.argv[2]))' \
        "$out" "$@" || { e2e_log "it printed:"; cat "$out" >&2; return 1; }
}

# run STATUS ARGS...: a headless run, waited for, ending with STATUS.
run() { local status=$1; shift; e2e_start_headless "$@"; e2e_wait_exit "$status"; }

INSTALL=$E2E_INSTALL
E2E_INSTALL=$E2E_NOKIT run 2 -S --json -Len
e2e_check "no kit: the document says so" reported 2 could-not-start "$(e2e_message IDS_ERROR_NOSOURCE)"
E2E_INSTALL=$INSTALL
run 2 --json -D -S
e2e_check "an empty -D: the document says so" reported 2 could-not-start "$(e2e_message IDS_ERROR_TARGETOPTION)"
run 0 --json --help
e2e_check "help: the usage is the message, on standard error, not beside the document" \
    eval 'reported 0 success "$(e2e_message IDS_HELP_USAGE)" && grep -qF -- "-S, /S" "$E2E_SETUP_ERR"'

# Another run holds the directory: the second is turned away.
e2e_slow_installs 300000
e2e_start_headless -S -Len
first=$E2E_SETUP_PID
e2e_wait_for "the first run's journal" compgen -G "$HOME/.local/state/qorn-setup/*"
e2e_slow_installs 0
e2e_start_headless -S --json -Len   # waited for without the TMPDIR check: the first run's image is there
e2e_wait_for "the second run to end" eval '! e2e_setup_running'
wait "$E2E_SETUP_PID"
e2e_check "a busy directory: status 2" test $? -eq 2
e2e_check "a busy directory: the document says so" reported 2 could-not-start "$(e2e_message IDS_DIRECTORY_BUSY)"
E2E_SETUP_PID=$first
e2e_wait_exit 0

e2e_use_home fresh
run 0 -S --json -Len
e2e_check "a silent installation: the document says it succeeded" reported 0 success "$(e2e_message IDS_SUCCESS_FINISH)"
e2e_check "the text for people is on standard error" grep -qF "$(e2e_message IDS_SUCCESS_FINISH)" "$E2E_SETUP_ERR"

# Nothing of the kit to uninstall, for real or in a dry run.
e2e_use_home norecord
run 7 -S --json --uninstall -Len
e2e_check "an uninstallation without a record: the document says so" reported 7 no-record "$(e2e_message IDS_NO_RECORD)"
run 7 --json --uninstall --dry-run -Len
e2e_check "its dry run: the document says so" reported 7 no-record "$(e2e_message IDS_NO_RECORD)"

# A folder stands where the launcher file would be written: the installation stands, and the summary names the file.
e2e_use_home unrecorded
mkdir -p "$E2E_LAUNCHER_CFG"
run 0 -S --json -Len
e2e_check "a launcher file left as it was: the summary names it" \
    says 'd["summary"]["launcher_file_not_written"] == args[0]' "$E2E_LAUNCHER_CFG"

# A stopped run whose undo a frozen folder refuses: the files it made there stay, and so does its journal. The document
# says what standard error says (no kept backup folder is there to name) and lists the files left.
e2e_use_home frozen
frozen=$E2E_ROOT/frozen-target
made_in_folder() { find "$frozen" -mindepth 2 -type f ! -name '.*' -print -quit 2>/dev/null | grep .; }
e2e_slow_installs 1000000
e2e_start_headless -S --json -Len "-D$frozen"
e2e_wait_for "a file in one of the kit's folders" made_in_folder
folder=$(dirname "$(made_in_folder)")
if chattr +i "$folder" 2>/dev/null; then
    e2e_on_exit() { chattr -i "$folder"; }
    kill -TERM "$E2E_SETUP_PID"
    e2e_wait_exit 5
    chattr -i "$folder"
    e2e_check "an undo left unfinished: the document says so" \
        reported 5 rollback-incomplete "$(e2e_message IDS_ROLLBACK_UNFINISHED)"
    e2e_check "its message is the one on standard error" says 'd["message"] in open(args[0]).read()' "$E2E_SETUP_ERR"
    e2e_check "the summary lists the files left, and only them" \
        says 'args and sorted(d["summary"]["created"]) == sorted(args)' $(cd "$frozen" && find . -type f ! -name '.*' -printf '%P ')
else
    e2e_log "skipped the frozen folder: this file system has no immutable folders"
    e2e_wait_exit 0
fi
e2e_slow_installs 0

# The wizard of a silent run loses its display half-way: the run ends at once, with its document.
e2e_use_home lost
e2e_slow_installs 300000
e2e_start_setup -S --json -Len
e2e_wait_for "the lost run's journal" compgen -G "$HOME/.local/state/qorn-setup/*"
e2e_kill_x
e2e_wait_exit 4
e2e_check "a lost display: the document says the run was cancelled" reported 4 cancelled "$(e2e_message IDS_CANCEL_FINISH)"
e2e_finish
