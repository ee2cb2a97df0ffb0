#!/usr/bin/python3
# Presses the push button named argv[2] in the window whose title contains
# argv[1], as a screen reader's user does: through the button's own action on
# the accessibility bus. Exit 1 when there is no such window or button.
import sys

from a11y_tree import Atspi, parts, windows

for win in windows(sys.argv[1]):
    button = next((part for part, name in parts(win, {Atspi.Role.PUSH_BUTTON})
                   if name == sys.argv[2]), None)
    if button is None:
        continue
    action = button.get_action_iface()
    if action is None or action.get_n_actions() < 1:
        sys.exit(1)
    action.do_action(0)
    sys.exit(0)
sys.exit(1)
