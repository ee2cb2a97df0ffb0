#!/usr/bin/python3
# stop_in_save.py <pid> <folder> [seconds]: ends process <pid> with SIGTERM (so
# that it saves) and watches it until it holds a save's temporary file in
# <folder> open (unnamed, "#<inode> (deleted)", or
# named ".<name>.saving-..."), stops it there (SIGSTOP) and prints "save"; when
# the process ends or the time (5 s) runs out first, prints "none". A process
# that was seen in a save is left stopped; a save that ended while it was being
# stopped is let go on and watched again.
import os
import signal
import sys
import time

pid, folder = int(sys.argv[1]), sys.argv[2].rstrip("/") + "/"
deadline = time.monotonic() + (float(sys.argv[3]) if len(sys.argv) > 3 else 5.0)
fds = f"/proc/{pid}/fd"


def holds_a_save():
    for fd in os.listdir(fds):
        try:
            target = os.readlink(f"{fds}/{fd}")
        except OSError:
            continue
        if target.startswith(folder):
            name = target[len(folder):]
            if name.startswith("#") or ".saving-" in name:
                return True
    return False


def state():
    with open(f"/proc/{pid}/stat") as f:
        return f.read().rsplit(")", 1)[1].split()[0]


try:
    os.kill(pid, signal.SIGTERM)
    while time.monotonic() < deadline:
        if state() in "ZX" or not holds_a_save():
            continue
        os.kill(pid, signal.SIGSTOP)
        while state() not in "TtZX":
            time.sleep(0.0005)
        if holds_a_save():
            print("save")
            sys.exit(0)
        os.kill(pid, signal.SIGCONT)
except (OSError, IndexError):
    pass
print("none")
