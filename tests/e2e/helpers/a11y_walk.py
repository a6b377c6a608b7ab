#!/usr/bin/python3
# The running wizard as a screen reader meets it over AT-SPI (pyatspi), driven by keys alone (xdotool):
#   a11y_walk.py PRINT_MESSAGE PID LANGUAGE install|cancel [full]
# On each page: every focusable control has a name with a letter in it, every image a name or the redundant
# (decoration) role, no role outside the wizard's, the entry a text LABELLED_BY its caption, the progress bar a
# value and the file being installed, and the focus (a focus event, as a reader hears it) on the page's first
# control, carrying the page's text. "full" also walks Tab and Shift+Tab against the reading order and answers
# the cancel question, an alert, with Enter. Exit 1 with one line per fault.
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

BIN, PID, LANG, ENDING = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
FULL = sys.argv[5:] == ["full"]
faults = []
focused = []    # the sources of focus events, in order
R = pyatspi
ROLES = {R.ROLE_FRAME, R.ROLE_PANEL, R.ROLE_SEPARATOR, R.ROLE_PUSH_BUTTON, R.ROLE_LABEL, R.ROLE_TEXT,
         R.ROLE_REDUNDANT_OBJECT, R.ROLE_PROGRESS_BAR, R.ROLE_CHECK_BOX}


def text(ident):
    return subprocess.run([BIN, LANG, ident], capture_output=True, text=True, check=True).stdout.rstrip("\n")


def pump(seconds):
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def until(what, check, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        pump(0.05)
        found = check()
        if found:
            return found
    sys.exit(f"[a11y {LANG}] FAIL: timed out waiting for {what}; faults so far: {faults}")


def key(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True, timeout=10)


def fault(page, what):
    faults.append(f"{page}: {what}")


def app():
    for candidate in pyatspi.Registry.getDesktop(0):
        if candidate is not None and candidate.get_process_id() == PID:
            return candidate
    return None


def showing(root):
    root.clear_cache()
    out = []
    def walk(node):
        if node.getState().contains(R.STATE_SHOWING):
            out.append(node)
            for child in node:
                walk(child)
    walk(root)
    return out


def window(role):
    found = [w for w in (app() or []) if w.getRole() == role and w.getState().contains(R.STATE_SHOWING)]
    return found[0] if found else None


def says(obj):
    return obj.getRoleName() + " " + repr(obj.name)


def last_focus():
    return focused[-1] if focused else None


def check_page(page, first_role, first_name, summary):
    frame = window(R.ROLE_FRAME)
    objects = showing(frame)
    for obj in objects:
        role, state = obj.getRole(), obj.getState()
        if role not in ROLES:
            fault(page, f"unexpected role: {says(obj)}")
        if state.contains(R.STATE_FOCUSABLE) and not any(c.isalpha() for c in obj.name):
            fault(page, f"a focusable control without a name: {says(obj)}")
        if role in (R.ROLE_ICON, R.ROLE_IMAGE) and not obj.name:
            fault(page, f"an image without a name: {says(obj)}")
        if role == R.ROLE_TEXT:
            labels = [t.name for r in obj.getRelationSet() if r.getRelationType() == R.RELATION_LABELLED_BY
                      for t in (r.getTarget(i) for i in range(r.getNTargets()))]
            if labels != [text("IDS_TEMPLATE_CATALOG")]:
                fault(page, f"the entry is labelled by {labels}")
        if role == R.ROLE_PROGRESS_BAR:
            check_progress(page, obj)
    focus = last_focus()
    if focus is None or focus.getRole() != first_role or focus.name != first_name:
        fault(page, f"the focus is on {says(focus) if focus else 'nothing'}, not {first_name}")
    elif focus.description != summary:
        fault(page, f"the focused control says {focus.description!r}, not the page's text {summary!r}")
    if FULL and page != "progress":
        check_tab_order(page, objects, focus)


def check_progress(page, bar):
    value = until("the progress bar to move", lambda: bar.queryValue().currentValue > 0 and bar)
    if not 0 < value.queryValue().currentValue <= 100 or not bar.name:
        fault(page, f"the progress bar: {says(bar)} at {bar.queryValue().currentValue}")
    if not bar.description.startswith("/"):
        fault(page, f"the progress bar's file: {bar.description!r}")


def reading_order(objects):
    controls = [o for o in objects if o.getState().contains(R.STATE_FOCUSABLE) and o.getState().contains(R.STATE_SENSITIVE)]
    def place(o):
        box = o.queryComponent().getExtents(R.DESKTOP_COORDS)
        return (box.y + box.height // 2, box.x)
    return [says(o) for o in sorted(controls, key=place)]


def check_tab_order(page, objects, start):
    order = reading_order(objects)
    if says(start) not in order:
        return
    at = order.index(says(start))
    expected = order[at + 1:] + order[:at + 1]
    for keys, wanted in (("Tab", expected), ("shift+Tab", expected[::-1][1:] + [expected[-1]])):
        walked = []
        for _ in wanted:
            count = len(focused)
            key(keys)
            until(f"the focus to move on {keys}", lambda: len(focused) > count)
            walked.append(says(last_focus()))
        if walked != wanted:
            fault(page, f"{keys} goes {walked}, the reading order is {wanted}")


def check_alert():
    count = len(focused)
    key("Escape")
    alert = until("the cancel question", lambda: window(R.ROLE_ALERT))
    names = [o.name for o in showing(alert)]
    if text("IDS_ACCEPT_CANCEL") not in names:
        fault("question", f"the alert does not read the question: {names}")
    key("Return")   # No: the wizard stays, the focus back where it was
    until("the question to go", lambda: window(R.ROLE_ALERT) is None)
    until("the focus back in the wizard", lambda: len(focused) > count and last_focus().getRole() == R.ROLE_TEXT)


def on_focus(event):
    if event.detail1 == 1:
        focused.append(event.source)


def first_focus():
    # A focus event sent before this script listened is lost: the tree says where the focus is.
    if not focused and app() and window(R.ROLE_FRAME):
        focused.extend(o for o in showing(window(R.ROLE_FRAME)) if o.getState().contains(R.STATE_FOCUSED))
    return focused


def welcome_text():
    start = text("IDS_WELCOME_TITLE")
    return [o.name for o in showing(window(R.ROLE_FRAME)) if o.name.startswith(start)][0]


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
until("the wizard's focus in the accessible tree", first_focus)
check_page("welcome", R.ROLE_PUSH_BUTTON, text("IDS_WIZARD_NEXT"), welcome_text())
key("Return")
until("the directory page", lambda: last_focus().getRole() == R.ROLE_TEXT)
check_page("directory", R.ROLE_TEXT, text("IDS_TEMPLATE_CATALOG").rstrip(": "), text("IDS_DESTINATION_PROMPT"))
if FULL:
    check_alert()
key("Return")
until("the progress page", lambda: last_focus().name == text("IDS_WIZARD_CANCEL"))
check_page("progress", R.ROLE_PUSH_BUTTON, text("IDS_WIZARD_CANCEL"), text("IDS_PROGRESS_START"))
if ENDING == "cancel":
    key("Escape")
finish = text("IDS_WIZARD_FINISH")
until("the last page", lambda: last_focus().name == finish)
pump(0.3)   # the note of a success page may follow
outcome = text("IDS_CANCEL_FINISH") if ENDING == "cancel" else last_focus().description
if ENDING == "install" and not outcome.startswith(text("IDS_SUCCESS_FINISH")):
    fault("success", f"Finish says {outcome!r}")
check_page("outcome", R.ROLE_PUSH_BUTTON, finish, outcome)
key("Return")
for line in faults:
    print(f"[a11y {LANG}] FAIL: {line}", file=sys.stderr)
sys.exit(1 if faults else 0)
