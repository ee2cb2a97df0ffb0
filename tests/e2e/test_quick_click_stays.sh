# A quick click on the clock (press and release within a few milliseconds, as a
# touchpad tap gives) never moves it: the window manager's move is started only
# while the button is held after the pointer has moved, so the clock does not
# follow the pointer after the release, nor is another place saved.
dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "FormOnTopmost=1"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1
read -r x0 y0 w h <<<"$(geometry "$win")"
for i in $(seq 6); do
  xdotool mousemove $((x0 + w / 2)) $((y0 + h / 2)) mousedown 1 mouseup 1
  sleep 0.3
  # Where a move under way would take the clock.
  xdotool mousemove $((x0 + w / 2 + 120)) $((y0 + h / 2 + 90))
  sleep 0.5
  read -r x y _ _ <<<"$(geometry "$win")"
  [ "$x" = "$x0" ] && [ "$y" = "$y0" ] || fail "click $i moved the clock from $x0,$y0 to $x,$y"
done
note "a real drag still moves it"
drag_by_150_100 "$win"
stop_clock
[ "$(ini_value "$dir/velmora.ini" MainForm Left)" = "$NX" ] || fail "the dragged place was not saved"
note "quick clicks leave the clock where it was"
