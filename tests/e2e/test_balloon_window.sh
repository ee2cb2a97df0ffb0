# A desktop with neither a tray nor a notification service (a bare window
# manager): the alarm's balloon still reaches the user, as a small window of its
# own beside the clock, wholly on the screen, that takes no focus from the window
# the user works in. A screen reader reads its title and text; the clock ticks on
# while it shows; a click puts it away.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A session bus of our own that can start the accessibility bus but no
# notification service: the machine's own service files would start one.
mkdir -p "$E2E_WORK/services"
cp /usr/share/dbus-1/services/org.a11y.Bus.service "$E2E_WORK/services/"
start_private_bus "$E2E_WORK/session_bus" "$E2E_WORK/services"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_WORK/session_bus"
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || fail "no accessibility bus"
/usr/bin/python3 "$here/tools/a11y_texts.py" '(none)' 2>/dev/null || true

# The window the user works in; it keeps the focus through the balloon.
xmessage -name worker -geometry 300x100+600+400 "working" &
waitfor "no window to work in" xdotool search --classname '^worker$'
work=$(xdotool search --classname '^worker$' | head -1)

dir=$(make_portable)
at=$(time_in 6)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$at" "UseAlarmBalloon=1" "AlarmHint=Tea is ready"
start_clock "$dir" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
has_tray && fail "a tray host runs in this test"
has_bus_owner org.freedesktop.Notifications && fail "a notification service runs in this test"
xdotool windowactivate --sync "$work" 2>/dev/null || xdotool windowfocus --sync "$work"

balloon=$(wait_window "$CLOCK_PID" '^KvBalloonWindow$' 150) || fail "no balloon window at the alarm"
shot balloon
read -r bx by bw bh <<<"$(geometry "$balloon")"
read -r cx cy cw ch <<<"$(geometry "$win")"
note "balloon at ${bx},${by} ${bw}x${bh}; clock at ${cx},${cy} ${cw}x${ch}"
[ "$bx" -ge 0 ] && [ "$by" -ge 0 ] && [ $((bx + bw)) -le 1024 ] && [ $((by + bh)) -le 768 ] ||
  fail "the balloon is not wholly on the screen"
# Beside the clock: within a balloon's size of it.
[ $((bx + bw)) -ge $((cx - bw)) ] && [ "$bx" -le $((cx + cw + bw)) ] &&
  [ $((by + bh)) -ge $((cy - bh)) ] && [ "$by" -le $((cy + ch + bh)) ] ||
  fail "the balloon is far from the clock"
[ "$(xdotool getactivewindow 2>/dev/null)" = "$work" ] || fail "the balloon took the focus"

texts=$(/usr/bin/python3 "$here/tools/a11y_texts.py" 'KvBalloonWindow' 2>"$E2E_WORK/a11y.log") ||
  fail "the balloon is not on the accessibility bus: $(cat "$E2E_WORK/a11y.log")"
echo "$texts" | grep -qxF "Velmora [アラーム]" || fail "no alarm title in the balloon: $texts"
echo "$texts" | grep -qxF "Tea is ready" || fail "no alarm text in the balloon: $texts"

check "the clock stopped ticking while the balloon shows" window_changes "$win"

balloon_gone() { ! xwininfo -id "$balloon" 2>/dev/null | grep -q IsViewable; }
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
waitfor "a click did not put the balloon away" balloon_gone
kill -0 "$CLOCK_PID" || fail "the clock ended"
stop_clock
note "the balloon reaches a desktop without tray and notifications"
