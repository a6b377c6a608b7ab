#!/usr/bin/python3
# a11y_walk.py PRINT_MESSAGE PID LANGUAGE install|cancel [full]: the running wizard as a screen reader meets it
# over AT-SPI, driven by keys alone; the checks are listed in README.md, "Accessibility". Exit 1, a line a fault.
import subprocess, sys, time
import pyatspi as R
from gi.repository import GLib

BIN, PID, LANG, ENDING, FULL = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5:] == ["full"]
ROLES = {R.ROLE_FRAME, R.ROLE_PANEL, R.ROLE_SEPARATOR, R.ROLE_PUSH_BUTTON, R.ROLE_LABEL, R.ROLE_TEXT,
         R.ROLE_REDUNDANT_OBJECT, R.ROLE_PROGRESS_BAR, R.ROLE_CHECK_BOX}
faults, focused = [], []    # focused: the sources of focus events, in order


def text(ident):
    return subprocess.run([BIN, LANG, ident], capture_output=True, text=True, check=True).stdout.rstrip("\n")


def until(what, check, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        found = check()
        if found:
            return found
        time.sleep(0.05)
    sys.exit(f"[a11y {LANG}] FAIL: timed out waiting for {what}; faults so far: {faults}")


def key(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True, timeout=10)


def showing(node):   # node and what of it shows, in tree order
    node.clear_cache()
    return [node] + [o for child in node if child.getState().contains(R.STATE_SHOWING) for o in showing(child)]


def window(role):
    wizard = [a for a in R.Registry.getDesktop(0) if a is not None and a.get_process_id() == PID]
    found = [w for w in (wizard[0] if wizard else []) if w.getRole() == role and w.getState().contains(R.STATE_SHOWING)]
    return found[0] if found else None


def says(obj):
    return f"{obj.getRoleName()} {obj.name!r}" if obj else "nothing"


def check_page(page, first_name, summary):
    objects = showing(window(R.ROLE_FRAME))
    for obj in objects:
        role, state = obj.getRole(), obj.getState()
        if role not in ROLES:
            faults.append(f"{page}: unexpected role: {says(obj)}")
        if state.contains(R.STATE_FOCUSABLE) and not any(c.isalpha() for c in obj.name):
            faults.append(f"{page}: a focusable control without a name: {says(obj)}")
        if role in (R.ROLE_ICON, R.ROLE_IMAGE) and not obj.name:
            faults.append(f"{page}: an image without a name: {says(obj)}")
        labels = [r.getTarget(0).name for r in obj.getRelationSet() if r.getRelationType() == R.RELATION_LABELLED_BY]
        if role == R.ROLE_TEXT and labels != [text("IDS_TEMPLATE_CATALOG")]:
            faults.append(f"{page}: the entry is labelled by {labels}")
        if role == R.ROLE_PROGRESS_BAR:
            until("the progress bar to move", lambda: obj.queryValue().currentValue > 0)
            if not obj.name or obj.queryValue().currentValue > 100 or not obj.description.startswith("/"):
                faults.append(f"{page}: the progress bar {says(obj)} at {obj.queryValue().currentValue}, "
                              f"installing {obj.description!r}")
    focus = focused[-1] if focused else None
    if focus is None or focus.name != first_name or focus.description != summary:
        faults.append(f"{page}: the focus is on {says(focus)} saying {focus and focus.description!r}, not on "
                      f"{first_name!r} saying the page's text {summary!r}")
    elif FULL and page != "progress":
        check_tab_order(page, objects, focus)


def check_tab_order(page, objects, start):
    controls = [(o.queryComponent().getExtents(R.DESKTOP_COORDS), says(o)) for o in objects
                if o.getState().contains(R.STATE_FOCUSABLE) and o.getState().contains(R.STATE_SENSITIVE)]
    order = [name for box, name in sorted(controls, key=lambda c: (c[0].y + c[0].height // 2, c[0].x))]
    at = order.index(says(start))
    forward = order[at + 1:] + order[:at + 1]
    for keys, wanted in (("Tab", forward), ("shift+Tab", forward[-2::-1] + [forward[-1]])):
        walked = []
        for _ in wanted:
            count = len(focused)
            key(keys)
            until(f"the focus to move on {keys}", lambda: len(focused) > count)
            walked.append(says(focused[-1]))
        if walked != wanted:
            faults.append(f"{page}: {keys} goes {walked}, the reading order is {wanted}")


def check_alert():
    count = len(focused)
    key("Escape")
    alert = until("the cancel question, an alert", lambda: window(R.ROLE_ALERT))
    names = [o.name for o in showing(alert)]
    until("the alert to take the keys", lambda: alert.clear_cache() or alert.getState().contains(R.STATE_ACTIVE))
    if text("IDS_ACCEPT_CANCEL") not in names:
        faults.append(f"question: the alert does not read the question: {names}")
    key("Return")   # No: the wizard stays, the focus back where it was
    until("the focus back on the entry", lambda: window(R.ROLE_ALERT) is None and len(focused) > count
          and focused[-1].getRole() == R.ROLE_TEXT)


def first_focus():   # a focus event sent before this script listened is lost: the tree says where it is
    if not focused and window(R.ROLE_FRAME):
        focused.extend(o for o in showing(window(R.ROLE_FRAME)) if o.getState().contains(R.STATE_FOCUSED))
    return focused


R.Registry.registerEventListener(lambda e: e.detail1 and focused.append(e.source), "object:state-changed:focused")
until("the wizard's focus in the accessible tree", first_focus)
welcome = [o.name for o in showing(window(R.ROLE_FRAME)) if o.name.startswith(text("IDS_WELCOME_TITLE"))]
check_page("welcome", text("IDS_WIZARD_NEXT"), welcome[0] if welcome else "the welcome")
key("Return")
until("the directory page", lambda: focused[-1].getRole() == R.ROLE_TEXT)
check_page("directory", text("IDS_TEMPLATE_CATALOG").rstrip(": "), text("IDS_DESTINATION_PROMPT"))
if FULL:
    check_alert()
key("Return")
until("the progress page", lambda: focused[-1].name == text("IDS_WIZARD_CANCEL"))
check_page("progress", text("IDS_WIZARD_CANCEL"), text("IDS_PROGRESS_START"))
if ENDING == "cancel":
    key("Escape")
until("the last page", lambda: focused[-1].name == text("IDS_WIZARD_FINISH"))
until("the outcome told", lambda: focused[-1].description)
outcome = text("IDS_CANCEL_FINISH") if ENDING == "cancel" else text("IDS_SUCCESS_FINISH")
check_page("outcome", text("IDS_WIZARD_FINISH"), outcome)
key("Return")
for line in faults:
    print(f"[a11y {LANG}] FAIL: {line}", file=sys.stderr)
sys.exit(1 if faults else 0)
