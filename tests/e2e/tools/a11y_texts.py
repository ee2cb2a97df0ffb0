#!/usr/bin/python3
# Prints, one per line, the names of the labels and push buttons of the window
# whose title contains argv[1], as a screen reader finds them on the
# accessibility bus. Exit 1 when no such window is there.
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

ROLES = {Atspi.Role.LABEL, Atspi.Role.PUSH_BUTTON, Atspi.Role.TEXT}


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    try:
        if node.get_role() in ROLES and node.get_name():
            print(node.get_name())
        for i in range(node.get_child_count()):
            walk(node.get_child_at_index(i), depth + 1)
    except gi.repository.GLib.Error:
        pass


found = False
desktop = Atspi.get_desktop(0)
for a in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(a)
    if app is None:
        continue
    for w in range(app.get_child_count()):
        win = app.get_child_at_index(w)
        if win is not None and sys.argv[1] in (win.get_name() or ""):
            found = True
            walk(win)
sys.exit(0 if found else 1)
