#!/usr/bin/env bash
# The Ansible module (contrib/ansible) with the real engine: ansible-playbook against three "hosts", each a
# local account of its own reached through the local connection and su, the installer under it. Check mode
# predicts the first run, the first run changes every host and the second none, --diff lists the files,
# absent, predicted by check mode, removes and is then idempotent, a run killed half-way is repaired by the next, and a read-only
# template directory fails its host alone, as does bad input (a relative dest, a missing kit or installer), before the installer runs. Every report the installer printed is checked against the schema,
# and ansible-doc shows the module's documentation.
. "$(dirname "$0")/lib.sh"
e2e_need ansible-playbook useradd userdel python3
[ "$(id -u)" -eq 0 ] || { e2e_log "SKIP: needs root for the test accounts"; exit 77; }
E2E_BIN=${QORN_BIN_DIR:?is not set: the folder of the built programs}
E2E_SRC=${QORN_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
E2E_ROOT=$(mktemp -d /tmp/qorn-e2e-ansible.XXXXXX) || e2e_fail "no scratch root"
chmod 755 "$E2E_ROOT"
USERS=()
e2e_on_exit() { local user; for user in "${USERS[@]}"; do userdel "$user" 2>/dev/null; done; }
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM
export LC_ALL=C.UTF-8 ANSIBLE_COLLECTIONS_PATH=$E2E_SRC/contrib/ansible ANSIBLE_PIPELINING=1 \
    ANSIBLE_LOCAL_TEMP=$E2E_ROOT/ansible-tmp ANSIBLE_NOCOLOR=1 ANSIBLE_HOST_KEY_CHECKING=0 ANSIBLE_RETRY_FILES_ENABLED=0
unset DISPLAY

# The installer and a kit where every account can read them.
mkdir -p "$E2E_ROOT/opt/src/forms" "$E2E_ROOT/results"
cp "$E2E_BIN/setup" "$E2E_ROOT/opt/setup"
for file in readme.txt forms/invoice.tpl forms/order.tpl; do printf '%s\n' "$file" >"$E2E_ROOT/opt/src/$file"; done
e2e_run "packing the kit" "$E2E_BIN/efdkit" pack --lang en --product "Fleet Templates" --provider "Test" \
    "$E2E_ROOT/opt/src" "$E2E_ROOT/opt/qorn.efd"
chmod -R a+rX "$E2E_ROOT/opt"

HOSTS=(ann bob cid)
# Each host's dest is its home's templates, written in a form the module documents: Ansible expands "~" and
# "$HOME" as the user the task runs as, and the installer reads "\" as "/".
declare -A DEST=([ann]='~/templates' [bob]='$HOME/templates' [cid]="'~\templates'")
{
    echo "[desktops]"
    for host in "${HOSTS[@]}"; do
        user=qe$$$host
        useradd -M -d "$E2E_ROOT/home-$host" -s /bin/sh "$user" || e2e_fail "useradd $user"
        USERS+=("$user")
        mkdir -p "$E2E_ROOT/home-$host" && chown "$user:" "$E2E_ROOT/home-$host"
        echo "$host ansible_become_user=$user dest=${DEST[$host]}"
    done
    echo "[desktops:vars]"
    printf '%s\n' ansible_connection=local ansible_become=true ansible_become_method=su \
        ansible_python_interpreter=/usr/bin/python3
} >"$E2E_ROOT/inventory"
# A host's entry in "cases" (given with -e) replaces its installer, kit (none when empty) or dest.
cat >"$E2E_ROOT/site.yml" <<EOF
- hosts: desktops
  gather_facts: false
  vars:
    case: "{{ (cases | default({})).get(inventory_hostname, {}) }}"
  tasks:
    - qorn.setup.template_kit:
        installer: "{{ case.installer | default('$E2E_ROOT/opt/setup') }}"
        kit: "{{ case.kit | default('$E2E_ROOT/opt/qorn.efd') or omit }}"
        dest: "{{ case.dest | default(dest) }}"
        state: "{{ kit_state | default('present') }}"
        language: en
      environment: "{{ setup_environment | default({}) }}"
EOF

# play NAME [ansible-playbook options...]: a run of the playbook; its output in results/NAME.log, each host's
# result in results/NAME/HOST (the tree callback).
play() {
    local name=$1; shift
    e2e_log "playbook run: $name $*"
    ANSIBLE_CALLBACKS_ENABLED=tree ANSIBLE_CALLBACK_TREE_DIR=$E2E_ROOT/results/$name \
        ansible-playbook -i "$E2E_ROOT/inventory" "$E2E_ROOT/site.yml" "$@" >"$E2E_ROOT/results/$name.log" 2>&1
}

# task_changes NAME: "host changed failed" for every host, from the module's result and the recap (the
# tree callback drops "failed").
task_changes() {
    local host
    for host in "${HOSTS[@]}"; do
        python3 -c 'import json,sys; print(sys.argv[2], str(json.load(open(sys.argv[1])).get("changed")).lower())' \
            "$E2E_ROOT/results/$1/$host" "$host" 2>/dev/null | tr '\n' ' ' || printf '%s none ' "$host"
        grep -q "^$host *:.* failed=1 " "$E2E_ROOT/results/$1.log" && echo true || echo false
    done
}

# changed_files NAME: every host's lists of files changed in run NAME.
changed_files() {
    python3 -c 'import json,sys; [print([json.load(open(f))[k] for k in ("created", "replaced", "kept_edits", "removed")])
                                     for f in sys.argv[1:]]' "${HOSTS[@]/#/$E2E_ROOT/results/$1/}"
}

# reports_valid: every report the installer printed in these runs matches the schema.
reports_valid() {
    local result
    for result in "$E2E_ROOT"/results/*/*; do
        python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); "report" in r and print(json.dumps(r["report"]))' \
            "$result" >"$result.report"
    done
    find "$E2E_ROOT/results" -name '*.report' -size +0 -print0 | xargs -0 python3 "$E2E_SRC/tests/e2e/helpers/check_report.py"
}

kit_installed() { diff -r -x '.*' "$E2E_ROOT/opt/src" "$E2E_ROOT/home-$1/templates" >/dev/null; }
all_installed() { local host; for host in "${HOSTS[@]}"; do kit_installed "$host" || return 1; done; }
none_installed() { ! find "$E2E_ROOT"/home-*/templates -type f ! -path '*/templates/.*' 2>/dev/null | grep -q .; }
# refused NAME HOST PATH WORDS: in run NAME, HOST failed before the installer ran (no report), with the status of
# an installer that could not start and a message that names PATH and says WORDS.
refused() {
    python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
ok = (r.get("status"), r.get("name")) == (2, "could-not-start") and r.get("msg") == r.get("message") \
    and sys.argv[2] in r["msg"] and sys.argv[3] in r["msg"] and "report" not in r
ok or print("got:", {k: r.get(k) for k in ("status", "name", "msg", "report")}, file=sys.stderr)
sys.exit(not ok)' "$E2E_ROOT/results/$1/$2" "$3" "$4"
}
expect() { [ "$("$@" | tr '\n' ' ')" = "$EXPECTED" ] || { e2e_log "got: $("$@" | tr '\n' ' ')"; return 1; }; }

e2e_check "ansible-doc shows the options, the examples and the return values" eval \
    'ansible-doc qorn.setup.template_kit | grep -c "^OPTIONS\|^EXAMPLES:\|^RETURN VALUES:" | grep -qx 3'
play check --check --diff
EXPECTED="ann true false bob true false cid true false "
e2e_check "check mode predicts a change on every host" expect task_changes check
e2e_check "check mode changes nothing" none_installed
e2e_check "--diff lists the files" grep -q '^+ forms/invoice.tpl' "$E2E_ROOT/results/check.log"

play first
e2e_check "the first run changes every host" expect task_changes first
e2e_check "the kit is installed everywhere" all_installed
e2e_check "check mode predicted exactly the files the first run changed" test "$(changed_files check)" = "$(changed_files first)"

play second
EXPECTED="ann false false bob false false cid false false "
e2e_check "the second run changes no host" expect task_changes second

play absent-check -e kit_state=absent --check
EXPECTED="ann true false bob true false cid true false "
e2e_check "check mode of absent predicts a change on every host" expect task_changes absent-check
e2e_check "check mode of absent removes nothing" all_installed
play absent -e kit_state=absent
e2e_check "absent removes the kit from every host" expect task_changes absent
e2e_check "check mode of absent predicted exactly the files removed" \
    test "$(changed_files absent-check)" = "$(changed_files absent)"
e2e_check "nothing of the kit is left" none_installed
play absent-again -e kit_state=absent
EXPECTED="ann false false bob false false cid false false "
e2e_check "a second absent changes nothing" expect task_changes absent-again

# A run stretched by a slow preload, its installer killed once its journal exists (on a host that has
# everything to install again).
rm -rf "$E2E_ROOT/home-cid/templates"
cp "$E2E_BIN/slow_futimes.so" "$E2E_ROOT/opt/" && chmod a+r "$E2E_ROOT/opt/slow_futimes.so"
play killed --limit cid -e "{\"setup_environment\": {\"LD_PRELOAD\": \"$E2E_ROOT/opt/slow_futimes.so\",
    \"QORN_E2E_FUTIMES_DELAY_US\": \"1500000\"}}" &
player=$!
e2e_wait_for "the killed run's journal" compgen -G "$E2E_ROOT/home-cid/.local/state/qorn-setup/*"
victim=$(pgrep -u "qe$$cid" -x setup) || e2e_fail "the installer of cid is not running"
kill -KILL $victim
wait $player

# The next run: bob's template directory is read-only, cid repairs what the kill left.
mkdir -p "$E2E_ROOT/home-bob/templates" && chmod 555 "$E2E_ROOT/home-bob/templates"
play readonly
EXPECTED="ann true false bob false true cid true false "
e2e_check "a read-only template directory fails its host alone" expect task_changes readonly
e2e_check "the failure carries the status, its name and the message" python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
sys.exit(not (r["status"] == 3 and r["name"] == "failed" and r["msg"] == r["message"] != ""))' \
    "$E2E_ROOT/results/readonly/bob"
e2e_check "the run after a kill ends with the kit installed" kit_installed cid

# Bad input fails its host at once, with a message naming the operator's path; the installer is not run.
cat >"$E2E_ROOT/refused.json" <<EOF
{"cases": {"ann": {"dest": "kit-templates"}, "bob": {"dest": "own-templates", "kit": ""},
           "cid": {"kit": "$E2E_ROOT/opt/missing.efd"}}}
EOF
play refused -e "@$E2E_ROOT/refused.json"
EXPECTED="ann false true bob false true cid false true "
e2e_check "bad input fails its host" expect task_changes refused
e2e_check "a relative dest beside a kit is refused" refused refused ann kit-templates relative
e2e_check "a relative dest without a kit is refused too" refused refused bob own-templates relative
e2e_check "a missing kit is named" refused refused cid "$E2E_ROOT/opt/missing.efd" "not found"
cat >"$E2E_ROOT/refused-installer.json" <<EOF
{"cases": {"ann": {"installer": "$E2E_ROOT/opt/missing"}, "bob": {"installer": "$E2E_ROOT/opt/qorn.efd"},
           "cid": {"installer": "$E2E_ROOT/opt/src"}}}
EOF
play refused-installer -e "@$E2E_ROOT/refused-installer.json"
e2e_check "an installer that cannot be run fails its host" expect task_changes refused-installer
e2e_check "a missing installer is named" refused refused-installer ann "$E2E_ROOT/opt/missing" "not found"
e2e_check "a file that is not a program is named" refused refused-installer bob "$E2E_ROOT/opt/qorn.efd" "cannot be run"
e2e_check "a folder is named" refused refused-installer cid "$E2E_ROOT/opt/src" "is a folder"

e2e_check "every report the installer printed matches the schema" reports_valid
e2e_finish
