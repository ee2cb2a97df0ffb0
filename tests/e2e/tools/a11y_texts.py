#!/usr/bin/python3
# Prints, one per line, the names of the labels and push buttons of the window
# whose title contains argv[1], as a screen reader finds them on the
# accessibility bus. Exit 1 when no such window is there.
import sys

from a11y_tree import Atspi, parts, windows

ROLES = {Atspi.Role.LABEL, Atspi.Role.PUSH_BUTTON, Atspi.Role.TEXT}

found = False
for win in windows(sys.argv[1]):
    found = True
    for _, name in parts(win, ROLES):
        print(name)
sys.exit(0 if found else 1)
