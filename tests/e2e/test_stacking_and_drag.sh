# Topmost stays above a newly mapped window, bottom mode stays below it; dragging
# with the left button moves the clock and the new place is saved at exit.
above() { # is window $1 above window $2 in the window manager's stacking order?
  local order a b
  order=$(stacking)
  a=$(grep -n "^$1\$" <<<"$order" | cut -d: -f1)
  b=$(grep -n "^$2\$" <<<"$order" | cut -d: -f1)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -gt "$b" ]
}
new_window() { # maps a window over the clock, activated; its id in COVER, its process in COVER_PID
  open_window "cover-$1" 50 450 400x200
  COVER=$TEST_WIN COVER_PID=$TEST_PID
  sleep 0.2
}

for mode in top bottom; do
  dir=$(make_portable "$mode")
  if [ $mode = top ]; then topmost=1; else topmost=0; fi
  write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=500" "[Appearance]" "FormOnTopmost=$topmost"
  start_clock "$dir"
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
  sleep 1
  state=$(xprop -id "$win" _NET_WM_STATE)
  new_window $mode
  cover=$COVER
  [ -n "$cover" ] || fail "no covering window"
  if [ $mode = top ]; then
    grep -q ABOVE <<<"$state" || fail "no above state: $state"
    above "$win" "$cover" || fail "topmost clock is below a new window"
  else
    grep -q BELOW <<<"$state" || fail "no below state: $state"
    above "$cover" "$win" || fail "bottom clock rose above a new window"
    # Clicking the clock activates it, but it stays below.
    read -r x y w h <<<"$(geometry "$win")"
    xdotool mousemove $((x + 2)) $((y + 2)) click 1
    sleep 0.5
    above "$cover" "$win" || fail "bottom clock rose when clicked"
  fi
  kill "$COVER_PID" 2>/dev/null || true
  wait "$COVER_PID" 2>/dev/null || true
  xdotool search --name "^cover-" windowkill 2>/dev/null || true
  stop_clock
done

note "dragging with the left button"
dir=$(make_portable drag)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1
drag_by_150_100 "$win"
nx=$NX ny=$NY
shot dragged
stop_clock
[ "$(ini_value "$dir/velmora.ini" MainForm Left)" = "$nx" ] || fail "left not saved"
[ "$(ini_value "$dir/velmora.ini" MainForm Top)" = "$ny" ] || fail "top not saved"

note "a saved place on no screen is brought back"
dir=$(make_portable lost)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=5000" "Top=300"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
read -r x y w h <<<"$(geometry "$win")"
[ $((x + w)) -le 1024 ] && [ "$x" -ge 0 ] && [ "$y" = 300 ] || fail "lost clock at $x,$y"
stop_clock
note "stacking, dragging and placement hold"
