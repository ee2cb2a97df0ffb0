# The notification-area icon on a real desktop: with trayer as the tray host and
# dunst as the notification service, a small program shows its icon and one
# balloon. The icon's window must sit inside the tray, the balloon must reach the
# service as a Notify call with its title and text, and hiding it must close it.
# The program is the build's TrayProbe (VELMORA_TRAY_PROBE names another one).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
probe=${VELMORA_TRAY_PROBE:-}
if [ -z "$probe" ]; then
  for candidate in "$here"/../../build*/tests/TrayProbe; do
    [ -x "$candidate" ] && { probe=$candidate; break; }
  done
fi
[ -n "$probe" ] && [ -x "$probe" ] || fail "no TrayProbe built (set VELMORA_TRAY_PROBE)"
note "probe: $probe"

started=()
cleanup() { for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

start_notifications
monitor_log=$NOTIFY_LOG
started+=("$DUNST_PID")
start_tray
started+=("$TRAYER_PID")
tray_win=$TRAY_WIN

title="Tray probe: alarm"
text="It is 07:00 & time to get up"
probe_log=$E2E_WORK/probe.log
"$probe" "$title" "$text" 3000 >"$probe_log" 2>"$E2E_WORK/probe.err" &
probe_pid=$!
started+=($probe_pid)
waitfor "the probe did not add its icon" grep -q '^added$' "$probe_log"

note "the icon's window lies inside the tray"
in_tray() { xwininfo -tree -id "$tray_win" 2>/dev/null | grep -qi 'trayprobe'; }
waitfor "no icon window under trayer" in_tray
xwininfo -tree -id "$tray_win" >"$E2E_ARTIFACTS/tray-tree.txt" 2>&1 || true
shot tray

note "the balloon went out as Notify with its title and text"
notify_args() { grep -A14 'member=Notify' "$monitor_log"; }
# dunst reads the body as markup, so the "&" the user typed travels escaped.
body=${text//&/"&amp;"}
notify_seen() {
  notify_args | grep -qF "string \"$title\"" && notify_args | grep -qF "string \"$body\""
}
waitfor "no Notify with the balloon's title and text" notify_seen
notify_args | grep -qF 'string "dialog-information"' ||
  fail "the information balloon did not ask for the information icon"
notify_args | grep -qE 'int32 10000$' || fail "the time-out did not become the expire time"
sleep 0.5
shot balloon

note "hiding the balloon closes the notification"
waitfor "the probe did not hide its balloon" grep -q '^hidden$' "$probe_log"
waitfor "no CloseNotification call" grep -q 'member=CloseNotification' "$monitor_log"
# The server answers a close of the id it gave with reason 3, "closed by a call".
closed_by_call() {
  local id
  id=$(grep -A1 'member=CloseNotification' "$monitor_log" | grep -o 'uint32 [0-9]*' | head -1)
  grep -A2 'member=NotificationClosed' "$monitor_log" | tr '\n' ' ' |
    grep -qE "$id +uint32 3"
}
waitfor "the notification the balloon made was not the one closed" closed_by_call
cp "$monitor_log" "$E2E_ARTIFACTS/" 2>/dev/null || true

kill "$probe_pid"
wait_gone "$probe_pid" || fail "the probe did not end"
gone() { ! in_tray; }
waitfor "the icon stayed in the tray after the program ended" gone
note "tray icon and notifications work"
