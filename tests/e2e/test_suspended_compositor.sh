# KDE's window manager keeps the compositor's selection while its compositing is
# suspended and says so only on the session bus. A see-through clock then shows
# what lies below, through its window shape, whether compositing was suspended
# before the clock started or while it runs. A stand-in owns the selection and
# the bus name on a desktop without a compositor.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ "$E2E_WM" != openbox ]; then
  note "needs a desktop without a compositor: run with E2E_WM=openbox (test_drawing_modes covers kwin itself)"
  exit 0
fi
desk=$(pixel 101 101)

start_fake() { # 0 or 1: whether it says it composites
  /usr/bin/python3 "$here/tools/fake_kwin_compositor.py" "$1" >"$E2E_WORK/fake-kwin.log" 2>&1 &
  FAKE_PID=$!
  waitfor "the stand-in did not start: $(cat "$E2E_WORK/fake-kwin.log")" \
    grep -q '^ready' "$E2E_WORK/fake-kwin.log"
}
stop_fake() {
  kill "$FAKE_PID"
  wait "$FAKE_PID" 2>/dev/null || true
}
run_see_through() { # name
  local dir
  dir=$(make_portable "$1")
  write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" "[Appearance]" \
    "FontName=DejaVu Sans" "FontSize=20" "BackgroundColorMode=0" \
    "NormalBackgroundColor=\$00C0DCC0" "NormalBorderColor=\$000000FF"
  start_clock "$dir"
  WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "$1: no clock window"
  sleep 1.5
  read -r X Y _ _ <<<"$(geometry "$WIN")"
}
shows_desktop() { [ "$(pixel $((X + 1)) $((Y + 1)))" = "$desk" ]; }

note "suspended before the clock starts"
start_fake 0
run_see_through suspended-at-start
window_shot "$WIN" suspended-at-start >/dev/null
shows_desktop || fail "suspended at start: not see-through: $(pixel $((X + 1)) $((Y + 1))) over $desk"
[ "$(pixel "$X" "$Y")" = ff0000 ] || fail "suspended at start: outline $(pixel "$X" "$Y")"
stop_clock
stop_fake

note "suspended while the clock runs"
start_fake 1
run_see_through suspended-later
kill -USR1 "$FAKE_PID"
waitfor "suspended later: not see-through: $(pixel $((X + 1)) $((Y + 1))) over $desk" shows_desktop
window_shot "$WIN" suspended-later >/dev/null
[ "$(pixel "$X" "$Y")" = ff0000 ] || fail "suspended later: outline $(pixel "$X" "$Y")"
stop_clock
stop_fake
note "a suspended compositor leaves the clock see-through"
