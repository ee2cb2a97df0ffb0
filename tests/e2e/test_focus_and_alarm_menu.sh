# The clock never takes the keyboard focus by appearing: the window the user types
# in keeps it through the clock's start, the alarm blink showing it again and its
# return after a full-screen window. While the alarm blinks, the popup menu opened
# on the clock stays open (the blink waits) and its first entry stops the alarm.
start_notifications

# A plain window the user works in, active.
open_window typing-here 500 400
WORK_WIN=$TEST_WIN WORK_PID=$TEST_PID
active() { printf '%d\n' "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -1)"; }
work_active() { [ "$(active)" = "$WORK_WIN" ]; }
waitfor "the work window did not become active" work_active

dir=$(make_portable)
at=$(time_in 5)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "FormOnTopmost=1" "HideOnFullScreen=1" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$at" "UseAlarmBlink=1"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1
work_active || fail "the clock took the focus at its start (active: $(active))"

note "the alarm starts at $at: the blink shows the clock again without the focus"
mapped() { xwininfo -id "$win" 2>/dev/null | grep -q IsViewable; }
unmapped() { ! mapped; }
waitfor "the clock did not blink" unmapped
waitfor "the blink did not show the clock again" mapped
sleep 0.5
work_active || fail "the blink gave the clock the focus (active: $(active))"
waitfor "the clock did not blink again" unmapped
waitfor "the blink did not show the clock again" mapped
sleep 0.5
work_active || fail "the second blink gave the clock the focus (active: $(active))"

note "a full-screen window and back"
wmctrl -i -r "$WORK_WIN" -b add,fullscreen || fail "cannot make the work window full-screen"
sleep 3 # the blink shows nothing behind a full-screen window
wmctrl -i -r "$WORK_WIN" -b remove,fullscreen
sleep 1
waitfor "the clock did not come back after the full-screen window" mapped
sleep 0.5
work_active || fail "the clock took the focus on its return (active: $(active))"

note "a menu opened while the alarm blinks stays open"
others() { xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '' 2>/dev/null | grep -vx "$win" | sort; }
# Right after the blink shows the clock: the next blink is two seconds away.
read -r x y w h <<<"$(geometry "$win")"
waitfor "the clock did not blink" unmapped
waitfor "the blink did not show the clock again" mapped
xdotool mousemove $((x + 3)) $((y + 3)) click 3
menu_open() { [ -n "$(others)" ]; }
waitfor "no popup menu on a right-click" menu_open
shot menu-open
for i in $(seq 25); do
  menu_open || fail "the menu closed while the alarm blinks (after $((i * 200)) ms)"
  mapped || fail "the clock hid under its open menu"
  sleep 0.2
done
note "the menu is still open five seconds later; its first entry stops the alarm"
# The pointer leaves the menu first: an entry under it would be the one Down
# starts from, and where a window manager puts the menu is its own business.
read -r mx my _ mh <<<"$(geometry "$(others | head -1)")"
xdotool mousemove $((mx + 10)) $((my + mh + 10))
sleep 0.2
xdotool key Down Return
sleep 0.5
menu_open && fail "the menu stayed open after its entry was chosen"
for _ in $(seq 25); do
  mapped || fail "the clock still blinks after the alarm was stopped from the menu"
  sleep 0.2
done
stop_clock
kill "$WORK_PID" 2>/dev/null || true
note "focus kept, menu kept, alarm stopped from it"
