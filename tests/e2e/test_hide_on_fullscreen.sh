# A topmost clock with HideOnFullScreen steps aside while the active window is
# full-screen on the clock's monitor and comes back when it leaves that state or
# goes; a full-screen window on the other monitor, the option off or bottom mode
# leave it alone; watching costs no wake-ups of its own. Two monitors side by
# side on the one 1024x768 screen, there before the window manager starts, as
# the window manager and the toolkit both read them from RandR.
# e2e-monitors: 2
monitors=$(xrandr --listmonitors)
grep -q '^Monitors: 2' <<<"$monitors" || fail "not two monitors: $monitors"

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
hidden() { ! viewable "$1"; }
# Waits up to 3 s for a state of the clock window; prints how long it took (ms).
within() {
  local start=$(date +%s%N) _
  for _ in $(seq 60); do
    if "$@"; then echo $((($(date +%s%N) - start) / 1000000)); return 0; fi
    sleep 0.05
  done
  return 1
}
# The clock keeps its state for a second.
stays() {
  for _ in $(seq 10); do "$@" || return 1; sleep 0.1; done
}

full_screen() { # add or remove
  wmctrl -i -r "$1" -b "$2,fullscreen" || fail "cannot $2 full-screen on $1"
}
covers() { # is window $1 at x,y with the size of a monitor?
  read -r x y w h <<<"$(geometry "$1")"
  [ "$x" = "$2" ] && [ "$y" = 0 ] && [ "$w" = 512 ] && [ "$h" = 768 ]
}

# Voluntary context switches of every thread of a process: its wake-ups.
wakeups() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/{n+=$2} END{print n+0}'
}
idle_wakeups() { # over 20 s of nothing happening
  local a b
  a=$(wakeups "$1"); sleep 20; b=$(wakeups "$1")
  echo $((b - a))
}

run_clock() { # <name> <ini lines...>; sets CLOCK_WIN
  local name=$1; shift
  dir=$(make_portable "$name")
  write_ini "$dir/velmora.ini" "[MainForm]" "${CLOCK_PLACE[@]}" "[Appearance]" "$@"
  start_clock "$dir" "${CLOCK_ENV[@]}"
  CLOCK_WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window ($name)"
  sleep 1
}
CLOCK_ENV=(QT_SCALE_FACTOR=1)
CLOCK_PLACE=(Left=100 Top=300)

note "on, topmost: full-screen on the clock's monitor hides it, leaving shows it"
run_clock on "FormOnTopmost=1" "HideOnFullScreen=1"
open_window fs-left 150 150
left=$TEST_WIN left_pid=$TEST_PID
full_screen "$left" add
ms=$(within hidden "$CLOCK_WIN") || fail "the clock stayed over a full-screen window"
covers "$left" 0 || fail "the window manager did not fill the left monitor: $(geometry "$left")"
note "hidden after ${ms} ms"
full_screen "$left" remove
ms=$(within viewable "$CLOCK_WIN") || fail "the clock did not come back after full-screen ended"
note "shown again after ${ms} ms"
read -r x y _ _ <<<"$(geometry "$CLOCK_WIN")"
[ "$x,$y" = "100,300" ] || fail "the clock came back at $x,$y"

note "a full-screen window on the other monitor leaves it alone"
open_window fs-right 650 150
right=$TEST_WIN right_pid=$TEST_PID
full_screen "$right" add
sleep 0.3
covers "$right" 512 || fail "the window manager did not fill the right monitor: $(geometry "$right")"
stays viewable "$CLOCK_WIN" || fail "a full-screen window on the other monitor hid the clock"

note "another window becoming active, or the full-screen window closing, shows it"
xdotool windowactivate --sync "$left" >/dev/null 2>&1
full_screen "$left" add
within hidden "$CLOCK_WIN" >/dev/null || fail "not hidden for the left window again"
xdotool windowactivate --sync "$right" >/dev/null 2>&1 || true
within viewable "$CLOCK_WIN" >/dev/null || fail "not shown when the other monitor's window got the focus"
xdotool windowactivate --sync "$left" >/dev/null 2>&1 || true
within hidden "$CLOCK_WIN" >/dev/null || fail "not hidden when the full-screen window got the focus back"
kill "$left_pid"
ms=$(within viewable "$CLOCK_WIN") || fail "the clock did not come back when the window closed"
note "shown after the window closed: ${ms} ms"
full_screen "$right" remove

note "watching costs no wake-ups: on and off compared while idle"
xdotool windowactivate --sync "$right" >/dev/null 2>&1 || true
sleep 1
on_wakeups=$(idle_wakeups "$CLOCK_PID")
stop_clock
run_clock off "FormOnTopmost=1" "HideOnFullScreen=0"
xdotool windowactivate --sync "$right" >/dev/null 2>&1 || true
sleep 1
off_wakeups=$(idle_wakeups "$CLOCK_PID")
note "wake-ups over 20 s: on $on_wakeups, off $off_wakeups"
[ "$on_wakeups" -le $((off_wakeups * 13 / 10 + 1)) ] ||
  fail "watching full-screen windows wakes the clock: $on_wakeups against $off_wakeups"

note "off: a full-screen window on the clock's monitor changes nothing"
open_window fs-off 150 150
full_screen "$TEST_WIN" add
sleep 0.3
stays viewable "$CLOCK_WIN" || fail "the clock hid with the option off"
kill "$TEST_PID"
stop_clock

note "bottom mode: the option changes nothing"
run_clock bottom "FormOnTopmost=0" "HideOnFullScreen=1"
open_window fs-bottom 150 150
full_screen "$TEST_WIN" add
sleep 0.3
stays viewable "$CLOCK_WIN" || fail "the clock at the bottom hid for a full-screen window"
kill "$TEST_PID"
stop_clock

note "scaled by 2: the monitors compare in logical pixels"
CLOCK_ENV=(QT_SCALE_FACTOR=2)
CLOCK_PLACE=(Left=20 Top=100) # logical: X pixels 40,200 on the left monitor
run_clock scaled "FormOnTopmost=1" "HideOnFullScreen=1"
read -r x _ _ _ <<<"$(geometry "$CLOCK_WIN")"
[ "$x" -lt 512 ] || fail "the scaled clock is not on the left monitor: x $x"
xdotool windowactivate --sync "$right" >/dev/null 2>&1 || true
full_screen "$right" add
sleep 0.3
stays viewable "$CLOCK_WIN" || fail "scaled: a full-screen window on the other monitor hid the clock"
full_screen "$right" remove
open_window fs-scaled 150 150
full_screen "$TEST_WIN" add
within hidden "$CLOCK_WIN" >/dev/null || fail "scaled: the clock stayed over a full-screen window"
full_screen "$TEST_WIN" remove
within viewable "$CLOCK_WIN" >/dev/null || fail "scaled: the clock did not come back"
kill "$TEST_PID" "$right_pid"
stop_clock
note "the clock steps aside for full-screen windows on its own monitor only"
