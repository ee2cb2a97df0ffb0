#!/usr/bin/python3
# A stand-in status-item host: owns org.kde.StatusNotifierWatcher on the session
# bus and says a host is registered, so that programs export their icons as
# status items to it. It reads no menus and draws nothing: the test itself calls
# the items' methods (ContextMenu, Activate) as a host does on a click.
# Prints "ready" once it owns the name and "item <service> <path>" for each item
# that registers; ends when killed or after argv[1] seconds (120).
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

WATCHER = "org.kde.StatusNotifierWatcher"
XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""
items = []


def say(text):
    print(text, flush=True)


def item_of(sender, service):
    # An item names either its object path (on the caller's own connection) or
    # a bus name (its object then sits at the usual path).
    if service.startswith("/"):
        return sender, service
    return service, "/StatusNotifierItem"


def on_call(conn, sender, path, iface, method, params, invocation):
    if method == "RegisterStatusNotifierItem":
        service, obj = item_of(sender, params.unpack()[0])
        entry = service + obj
        if entry not in items:
            items.append(entry)
            say("item %s %s" % (service, obj))
            conn.emit_signal(None, "/StatusNotifierWatcher", WATCHER,
                             "StatusNotifierItemRegistered", GLib.Variant("(s)", (entry,)))
    invocation.return_value(None)


def on_get(conn, sender, path, iface, prop):
    if prop == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if prop == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def on_bus(conn, name):
    node = Gio.DBusNodeInfo.new_for_xml(XML)
    conn.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)


def main():
    loop = GLib.MainLoop()
    lifetime = int(sys.argv[1]) if len(sys.argv) > 1 else 120
    Gio.bus_own_name(Gio.BusType.SESSION, WATCHER, Gio.BusNameOwnerFlags.NONE, on_bus,
                     lambda conn, name: say("ready"), lambda conn, name: loop.quit())
    GLib.timeout_add_seconds(lifetime, loop.quit)
    loop.run()


main()
