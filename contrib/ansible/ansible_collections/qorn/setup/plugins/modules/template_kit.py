#!/usr/bin/python
# -*- coding: utf-8 -*-
# Runs the qorn setup installer on the managed host and turns its --json
# report into Ansible's result. Only Python's standard library (and what
# Ansible ships with every module) is needed there.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: template_kit
short_description: Install or remove a kit of configuration templates with the qorn setup installer
version_added: "0.1.0"
description:
  - Puts the templates of a kit into a template directory of the user the task runs as (use C(become_user)
    for other users), or removes the kit again, through the C(setup) installer already on the managed host.
  - The installer's machine-readable report (C(setup --json)) tells which files changed, so C(changed) is true
    only when files were created, replaced, kept aside or removed.
  - An installation is all or nothing; a run that was killed is undone by the installer's next start, so running
    the task again repairs the host.
  - The installer runs without a window (C(DISPLAY) is removed from its environment).
options:
  installer:
    description:
      - Path on the managed host of the installer, either a one-file installer that carries its kit or C(setup)
        with C(qorn.efd) beside it.
      - An installer that is not there, is a folder or cannot be run fails the task with status 2 and a message
        naming it.
    type: path
    required: true
  kit:
    description:
      - A kit file on the managed host, for an installer that neither carries one nor has one beside it.
      - A kit that is not there or cannot be read by the user the task runs as fails the task before the
        installer runs (status 2), with a message naming it.
    type: path
  dest:
    description:
      - The template directory. Without it, the installer's own proposal for the user (the location the
        launcher records, else C(~/.qorn/Vq/vq8/tmplts/)).
      - Ansible expands environment variables (C($HOME)) and a leading C(~) in it on the managed host, as the
        user the task runs as, before the module sees it; the installer then reads every backslash as a slash
        (and a leading C(~/) as the home directory).
      - It must then be absolute, or start with C(~/). A relative path is refused before the installer runs
        (status 2), since a module's working directory on the managed host means nothing.
    type: path
  state:
    description:
      - C(present) installs the kit, or brings an installed one up to date.
      - C(absent) removes what the kit's record lists and the user has not changed (edited files are kept and
        named in C(kept_edits)). A directory without a record of the kit is already absent.
    type: str
    choices: [present, absent]
    default: present
  language:
    description:
      - Language code of the installer's messages (C(en), C(ru), C(de), ...), passed as C(-L).
    type: str
notes:
  - Check mode runs the installer's C(--dry-run) (with C(--uninstall) for C(state=absent));
    nothing changes on the host, and the result lists what a real run would do.
  - Diff mode shows the files created, replaced, kept aside and removed.
  - Paths whose bytes are not valid UTF-8 come back as objects with one key, C(base64), holding their bytes,
    as in the installer's report.
attributes:
  check_mode:
    description: Can run in check mode and return changed status prediction without modifying target.
    support: full
  diff_mode:
    description: Will return details on what has changed (or possibly needs changing in check mode), when in diff mode.
    support: full
author:
  - qorn setup maintainers
"""

EXAMPLES = r"""
- name: The sales templates for every desktop user
  qorn.setup.template_kit:
    installer: /opt/qorn/setup
    kit: /opt/qorn/sales.efd
    dest: ~/templates/sales
    language: en
  become: true
  become_user: "{{ item }}"
  loop: "{{ desktop_users }}"

- name: A one-file installer that carries its kit, into the proposed directory
  qorn.setup.template_kit:
    installer: /opt/qorn/sales-setup

- name: Take the kit out again
  qorn.setup.template_kit:
    installer: /opt/qorn/setup
    kit: /opt/qorn/sales.efd
    dest: ~/templates/sales
    state: absent
"""

RETURN = r"""
status:
  description:
    - The installer's exit status (0 success, 2 could not start, 3 failed and rolled back, 4 cancelled,
      5 rollback incomplete, 6 differences, 7 no record of the kit, 8 an interrupted run waits).
    - The module gives 2 itself when it refuses the task before running the installer, or cannot start it
      (see I(installer), I(kit) and I(dest)).
  returned: always
  type: int
  sample: 0
name:
  description: The exit status's name.
  returned: always
  type: str
  sample: success
message:
  description: What a person running the installer would have read at its end.
  returned: always
  type: str
  sample: Configuration installed successfully.
template_directory:
  description:
    - The template directory the installer worked on, absolute.
    - A string, or, when its bytes are not valid UTF-8, an object with one key, C(base64), holding its bytes.
  returned: when the installer got that far
  type: raw
  sample: /home/ann/templates/sales/
created:
  description: Files created, relative to the template directory (would be, in check mode).
  returned: success
  type: list
  elements: raw
  sample: [forms/invoice.tpl]
replaced:
  description: Files replaced by the kit's newer copy.
  returned: success
  type: list
  elements: raw
up_to_date:
  description: Files already as new as the kit's copy, left alone.
  returned: success
  type: list
  elements: raw
kept_edits:
  description: Files the user had changed, each kept aside as C(kept_as) before the kit replaced or removed it.
  returned: success
  type: list
  elements: dict
removed:
  description: Files removed (no longer shipped, or uninstalled).
  returned: success
  type: list
  elements: raw
differences:
  description:
    - Always empty, since only the installer's C(--verify) fills it and the module never verifies; it is here
      because the installer's report has it. Check mode with C(state=absent) is a dry run of the removal, and
      what it would remove is in I(removed).
  returned: success
  type: list
  elements: dict
report:
  description: The installer's whole report, as docs/report.schema.json in the project describes it.
  returned: when the installer printed one
  type: dict
"""

import base64
import errno
import json
import os
import shutil
import stat
import tempfile

from ansible.module_utils.basic import AnsibleModule

LISTS = ("created", "replaced", "up_to_date", "kept_edits", "removed", "differences")
CHANGING = ("created", "replaced", "kept_edits", "removed")


def installer_arguments(params, check_mode):
    # -S first: the installer takes it only before an -L.
    arguments = ["-S", "--json"]
    if params["state"] == "absent":
        arguments.append("--uninstall")
    if check_mode:
        arguments.append("--dry-run")
    if params["language"]:
        arguments.append("-L" + params["language"])
    if params["dest"]:
        arguments.append("-D" + params["dest"])
    return arguments


def refuse(module, message):
    """Fails the task without the installer's report, with the status the installer gives a bad option or no
    kit."""
    module.fail_json(msg=message, message=message, status=2, name="could-not-start")


def dest_problem(dest):
    """Why dest cannot be used (None when it can)."""
    # As the installer reads it: a backslash is a slash, and a leading "~/" is the home directory.
    as_read = dest.replace("\\", "/")
    if as_read.startswith("/") or as_read == "~" or as_read.startswith("~/"):
        return None
    return "The template directory %s is a relative path; give an absolute one." % dest


def kit_problem(kit):
    """Why the kit cannot be read (None when it can)."""
    try:
        if stat.S_ISDIR(os.stat(kit).st_mode):
            return "The kit file %s is a folder." % kit
        if os.access(kit, os.R_OK):
            return None
        why = os.strerror(errno.EACCES)
    except OSError as error:
        if error.errno in (errno.ENOENT, errno.ENOTDIR):
            return "The kit file %s was not found." % kit
        why = error.strerror
    return "The kit file %s cannot be read: %s." % (kit, why)


def start_problem(installer, error):
    """What kept the installer from starting, from the error of its start."""
    if os.path.isdir(installer):
        return "The installer %s is a folder, not a program." % installer
    if not os.path.lexists(installer):
        return "The installer %s was not found." % installer
    return "The installer %s cannot be run: %s." % (installer, error.strerror)


def start(module, argv, cwd=None):
    """run_command, failing the task with a clear message when the installer cannot be started."""
    try:
        return module.run_command(argv, cwd=cwd, encoding=None, handle_exceptions=False)
    except OSError as error:
        refuse(module, start_problem(argv[0], error))


def run_installer(module, arguments):
    """The installer's exit code, report (None when it printed none) and standard error."""
    os.environ.pop("DISPLAY", None)
    installer = module.params["installer"]
    if not module.params["kit"]:
        rc, out, err = start(module, [installer] + arguments)
        return rc, parse_report(out), err
    # "usecwd" takes qorn.efd from the working directory: a private one that names the kit.
    folder = tempfile.mkdtemp(prefix="qorn-kit-")
    try:
        os.symlink(os.path.abspath(module.params["kit"]), os.path.join(folder, "qorn.efd"))
        rc, out, err = start(module, [installer, "usecwd"] + arguments, cwd=folder)
        return rc, parse_report(out), err
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def parse_report(out):
    try:
        return json.loads(out.decode("utf-8"))
    except ValueError:
        return None


def shown(path):
    if isinstance(path, dict):
        return base64.b64decode(path["base64"]).decode("utf-8", "backslashreplace")
    return path


def diff_text(summary):
    lines = ["+ %s" % shown(p) for p in summary["created"]]
    lines += ["~ %s" % shown(p) for p in summary["replaced"]]
    lines += ["= %s kept aside as %s" % (shown(k["path"]), shown(k["kept_as"])) for k in summary["kept_edits"]]
    lines += ["- %s" % shown(p) for p in summary["removed"]]
    return "\n".join(lines) + ("\n" if lines else "")


def outcome(params, check_mode, report):
    """(failed, changed, summary): what the report means for this task."""
    status = report["status"]
    summary = report.get("summary") or dict((name, []) for name in LISTS)
    if params["state"] == "absent":
        if status == 7:  # no record of the kit: nothing to remove
            return False, False, dict((name, []) for name in LISTS)
    if status != 0:
        return True, False, summary
    return False, any(summary[name] for name in CHANGING), summary


def main():
    module = AnsibleModule(
        argument_spec=dict(
            installer=dict(type="path", required=True),
            kit=dict(type="path"),
            dest=dict(type="path"),
            state=dict(type="str", default="present", choices=["present", "absent"]),
            language=dict(type="str"),
        ),
        supports_check_mode=True,
    )
    problem = (module.params["dest"] and dest_problem(module.params["dest"])) or \
        (module.params["kit"] and kit_problem(module.params["kit"]))
    if problem:
        refuse(module, problem)
    rc, report, err = run_installer(module, installer_arguments(module.params, module.check_mode))
    stderr = err.decode("utf-8", "replace")
    if report is None:
        module.fail_json(msg="the installer ended (%d) without a report: %s" % (rc, stderr.strip()), rc=rc,
                         stderr=stderr, status=rc, name="unexpected")
    failed, changed, summary = outcome(module.params, module.check_mode, report)
    # No "rc": Ansible counts a non-zero one as a failure, and "no record" is
    # success for state=absent.
    result = dict(changed=changed, status=report["status"], name=report["name"], message=report["message"],
                  template_directory=report["template_directory"], report=report, stderr=stderr)
    result.update((name, summary[name]) for name in LISTS)
    if module._diff and changed:
        result["diff"] = dict(before_header=shown(report["template_directory"] or ""),
                              after_header=shown(report["template_directory"] or ""), prepared=diff_text(summary))
    if failed:
        module.fail_json(msg=report["message"], **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
