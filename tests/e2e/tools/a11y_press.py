#!/usr/bin/python3
# Presses the push button named argv[2] in the window whose title contains
# argv[1], as a screen reader's user does: through the button's own action on
# the accessibility bus. Exit 1 when there is no such window or button.
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find(node, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if node.get_role() == Atspi.Role.PUSH_BUTTON and node.get_name() == sys.argv[2]:
            return node
        for i in range(node.get_child_count()):
            hit = find(node.get_child_at_index(i), depth + 1)
            if hit is not None:
                return hit
    except gi.repository.GLib.Error:
        pass
    return None


desktop = Atspi.get_desktop(0)
for a in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(a)
    if app is None:
        continue
    for w in range(app.get_child_count()):
        win = app.get_child_at_index(w)
        if win is None or sys.argv[1] not in (win.get_name() or ""):
            continue
        button = find(win)
        if button is None:
            continue
        action = button.get_action_iface()
        if action is None or action.get_n_actions() < 1:
            sys.exit(1)
        action.do_action(0)
        sys.exit(0)
sys.exit(1)
