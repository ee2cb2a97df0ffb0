# What the accessibility tools share: the windows of every program on the
# accessibility bus, and the parts inside one, as a screen reader finds them.
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Deeper than any window of the clock; a tree that goes on is not followed.
MAX_DEPTH = 12


def windows(title_part):
    """The windows whose title contains title_part, of every program."""
    desktop = Atspi.get_desktop(0)
    for a in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(a)
        if app is None:
            continue
        for w in range(app.get_child_count()):
            win = app.get_child_at_index(w)
            if win is not None and title_part in (win.get_name() or ""):
                yield win


def parts(node, roles, depth=0):
    """The named parts below node (node included) whose role is in roles, as
    (part, name) in tree order; a part that goes away while read is passed
    over with what is below it."""
    if node is None or depth > MAX_DEPTH:
        return
    try:
        name = node.get_name() if node.get_role() in roles else None
        children = [node.get_child_at_index(i) for i in range(node.get_child_count())]
    except GLib.Error:
        return
    if name:
        yield node, name
    for child in children:
        yield from parts(child, roles, depth + 1)
