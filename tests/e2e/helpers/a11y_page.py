#!/usr/bin/python3
# a11y_page.py PID: what a screen reader finds showing in the wizard window of process PID, one "role: text"
# line an object (a text's own content where it has one, else its name), in tree order.
import sys
import pyatspi as R


def showing(node):
    node.clear_cache()
    return [node] + [o for child in node if child.getState().contains(R.STATE_SHOWING) for o in showing(child)]


def says(obj):
    if obj.getRole() == R.ROLE_TEXT:
        return obj.queryText().getText(0, -1)
    return obj.name


for app in R.Registry.getDesktop(0):
    if app is None or app.get_process_id() != int(sys.argv[1]):
        continue
    for frame in app:
        if frame.getRole() == R.ROLE_FRAME and frame.getState().contains(R.STATE_SHOWING):
            for obj in showing(frame):
                print(f"{obj.getRoleName()}: {says(obj)}")
