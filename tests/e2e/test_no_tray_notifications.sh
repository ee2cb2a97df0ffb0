# A desktop with a notification service and no tray at all (GNOME's default
# session, a tiling window manager): the alarm's balloon and the time sync's
# answer arrive as notifications, and for 40 s no other window of the clock
# appears (no error box about the missing tray, no balloon window). A tray host
# started later gets the icon.
server=$(find_tool NtpServer) || fail "no NtpServer built"
start_notifications
"$server" 0 1500 >"$E2E_WORK/ntp.log" 2>&1 &
waitfor "the NTP server did not start" grep -q '^ready [0-9]' "$E2E_WORK/ntp.log"
port=$(awk '/^ready/{print $2; exit}' "$E2E_WORK/ntp.log")

dir=$(make_portable)
at=$(time_in 8)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$at" "UseAlarmBalloon=1" "AlarmHint=No tray needed" \
  "[CommandList]" "Count=1" \
  "[Command0]" "FileName=$dir/Sync/VelmoSync" "OptionStr=127.0.0.1:$port" "AsAdmin=0" "AtStartup=1"
started=$(date +%s)
start_clock "$dir" VELMORA_SYNC_DRY_RUN=1 VELMORA_SYNC_SPACING_MS=200
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
has_tray && fail "a tray host runs in this test"

other_windows() {
  xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '' 2>/dev/null | grep -vx "$win" || true
}
notified() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -qF "$1"; }
alarm_seen=; sync_seen=
note "watching for 40 s: notifications yes, other windows no"
while [ $(($(date +%s) - started)) -lt 40 ]; do
  extra=$(other_windows)
  if [ -n "$extra" ]; then
    shot extra-window
    for id in $extra; do xwininfo -id "$id" | grep -E 'xwininfo|geometry' >&2; done
    fail "another window of the clock appeared"
  fi
  [ -z "$alarm_seen" ] && notified 'No tray needed' && alarm_seen=1 && note "the alarm's balloon arrived"
  [ -z "$sync_seen" ] && notified 'とけーを あわせました' && sync_seen=1 && note "the time sync's answer arrived"
  sleep 0.5
done
[ -n "$alarm_seen" ] || fail "no alarm balloon at the notification service"
[ -n "$sync_seen" ] || fail "no time-sync balloon at the notification service"
kill -0 "$CLOCK_PID" || fail "the clock ended"
grep -qi 'cannot add a tray icon' "$dir/output.log" && fail "the missing tray was treated as an error"
cp "$NOTIFY_LOG" "$E2E_ARTIFACTS/" 2>/dev/null || true

note "a tray host arrives: the icon appears in it"
start_tray
icon_in_tray() { xwininfo -tree -id "$(tray_window)" 2>/dev/null | grep -qi '"velmora"'; }
waitfor "the clock's icon did not appear in the tray that started late" icon_in_tray
shot late-tray
stop_clock
note "balloons reach the notification service without a tray"
