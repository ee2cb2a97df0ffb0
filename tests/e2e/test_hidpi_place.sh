# Under a scale factor of 2 every stored place is in logical pixels: the place
# saved is the place shown (X pixels / 2) and is saved again unchanged by the next
# start; a place off every screen comes back wholly onto it.
dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100"
for run in 1 2; do
  start_clock "$dir" QT_SCALE_FACTOR=2
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window (run $run)"
  sleep 1
  read -r x y w h <<<"$(geometry "$win")"
  [ "$x" = 200 ] && [ "$y" = 200 ] || fail "run $run: Left=100 Top=100 shown at $x,$y (X pixels)"
  stop_clock
  [ "$(ini_value "$dir/velmora.ini" MainForm Left)" = 100 ] &&
    [ "$(ini_value "$dir/velmora.ini" MainForm Top)" = 100 ] ||
    fail "run $run saved $(ini_value "$dir/velmora.ini" MainForm Left),$(ini_value "$dir/velmora.ini" MainForm Top)"
  width=$(ini_value "$dir/velmora.ini" MainForm Width)
  [ $((width * 2 - w)) -le 2 ] && [ $((w - width * 2)) -le 2 ] ||
    fail "run $run: width saved $width, shown $w X pixels"
done

note "a place off every screen comes back wholly onto it"
for place in "Left=5000 Top=100" "Left=480 Top=370" "Left=-3000 Top=-3000"; do
  read -r left top <<<"$place"
  write_ini "$dir/velmora.ini" "[MainForm]" "$left" "$top"
  start_clock "$dir" QT_SCALE_FACTOR=2
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window ($place)"
  sleep 1
  read -r x y w h <<<"$(geometry "$win")"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ] ||
    fail "$place: shown at $x,$y size ${w}x$h, not wholly on the 1024x768 screen"
  stop_clock
  sl=$(ini_value "$dir/velmora.ini" MainForm Left); st=$(ini_value "$dir/velmora.ini" MainForm Top)
  [ $((sl * 2)) -eq "$x" ] && [ $((st * 2)) -eq "$y" ] ||
    fail "$place: saved $sl,$st for a window shown at $x,$y"
done
note "places are logical pixels under scaling"
