#!/usr/bin/python3
# Stands in for KDE's window manager with its compositing suspended: owns the
# compositor's selection on the screen (and composites nothing), owns
# org.kde.KWin on the session bus and serves /Compositor with the interface
# org.kde.kwin.Compositing: the property "active" (argv[1], 0 or 1) and the
# signal compositingToggled(bool), sent with the flipped state on each SIGUSR1.
# Prints "ready" once it holds both names.
import ctypes
import ctypes.util
import signal
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

XML = """<node><interface name="org.kde.kwin.Compositing">
<property name="active" type="b" access="read"/>
<signal name="compositingToggled"><arg name="active" type="b"/></signal>
</interface></node>"""

state = {"active": len(sys.argv) > 1 and sys.argv[1] == "1", "bus": None}


def own_selection():
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XCreateSimpleWindow.restype = ctypes.c_ulong
    x.XInternAtom.restype = ctypes.c_ulong
    x.XGetSelectionOwner.restype = ctypes.c_ulong
    d = ctypes.c_void_p(x.XOpenDisplay(None))
    if not d.value:
        sys.exit("no X display")
    root = ctypes.c_ulong(x.XDefaultRootWindow(d))
    win = ctypes.c_ulong(x.XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0))
    screen = x.XDefaultScreen(d)
    atom = ctypes.c_ulong(x.XInternAtom(d, b"_NET_WM_CM_S%d" % screen, 0))
    x.XSetSelectionOwner(d, atom, win, ctypes.c_ulong(0))
    x.XSync(d, 0)
    if x.XGetSelectionOwner(d, atom) != win.value:
        sys.exit("cannot own the compositor's selection")
    return x, d  # kept open: the selection lasts as long as the connection


def get_property(conn, sender, path, iface, name):
    return GLib.Variant("b", state["active"])


def toggle():
    state["active"] = not state["active"]
    state["bus"].emit_signal(None, "/Compositor", "org.kde.kwin.Compositing",
                             "compositingToggled", GLib.Variant("(b)", (state["active"],)))
    return GLib.SOURCE_CONTINUE


def on_bus(conn, name):
    state["bus"] = conn
    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    conn.register_object("/Compositor", info, None, get_property, None)


def on_name(conn, name):
    print("ready", flush=True)


def on_lost(conn, name):
    sys.exit("cannot own " + name)


keep = own_selection()
Gio.bus_own_name(Gio.BusType.SESSION, "org.kde.KWin", Gio.BusNameOwnerFlags.NONE,
                 on_bus, on_name, on_lost)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, toggle)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: sys.exit(0))
GLib.MainLoop().run()
