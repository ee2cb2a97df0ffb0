#!/usr/bin/python3
# Waits for a menu entry to take the focus, as a screen reader hears it when a
# menu opens or the user moves in it, and prints the names of all the entries of
# that menu, one per line, accelerator marks removed. Prints "listening" once it
# listens. Exit 1 when no entry took the focus within argv[1] seconds (10).
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

ENTRIES = {Atspi.Role.MENU_ITEM, Atspi.Role.MENU, Atspi.Role.CHECK_MENU_ITEM,
           Atspi.Role.RADIO_MENU_ITEM}
found = False


def on_focus(event):
    global found
    try:
        if found or not event.detail1 or event.source.get_role() not in ENTRIES:
            return
        menu = event.source.get_parent()
        for i in range(menu.get_child_count()):
            entry = menu.get_child_at_index(i)
            if entry is not None and entry.get_role() in ENTRIES and entry.get_name():
                print(entry.get_name())
        sys.stdout.flush()
        found = True
        Atspi.event_quit()
    except GLib.Error:
        pass


def give_up():
    Atspi.event_quit()
    return False


listener = Atspi.EventListener.new(on_focus)
listener.register("object:state-changed:focused")
GLib.timeout_add_seconds(int(sys.argv[1]) if len(sys.argv) > 1 else 10, give_up)
print("listening", flush=True)
Atspi.event_main()
sys.exit(0 if found else 1)
