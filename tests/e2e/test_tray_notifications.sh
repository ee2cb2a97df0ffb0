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

has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# The notification service first, so that the balloon has somewhere to go.
dunst >"$E2E_WORK/dunst.log" 2>&1 &
started+=($!)
for _ in $(seq 100); do has_owner org.freedesktop.Notifications && break; sleep 0.1; done
has_owner org.freedesktop.Notifications || fail "dunst did not take the notification service"

monitor_log=$E2E_WORK/notifications.log
dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$monitor_log" 2>&1 &
started+=($!)
sleep 0.5

trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --expand true --transparent false >"$E2E_WORK/trayer.log" 2>&1 &
trayer_pid=$!
started+=($trayer_pid)
tray_win=
for _ in $(seq 100); do
  tray_win=$(xdotool search --all --pid "$trayer_pid" 2>/dev/null | head -1 || true)
  [ -n "$tray_win" ] && break
  sleep 0.1
done
[ -n "$tray_win" ] || fail "trayer showed no window"

title="Tray probe: alarm"
text="It is 07:00 & time to get up"
probe_log=$E2E_WORK/probe.log
"$probe" "$title" "$text" 3000 >"$probe_log" 2>"$E2E_WORK/probe.err" &
probe_pid=$!
started+=($probe_pid)

waitfor() { # waitfor <what> <command...>: up to ~15 s
  local what=$1; shift
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  fail "$what"
}
waitfor "the probe did not add its icon" grep -q '^added$' "$probe_log"

note "the icon's window lies inside the tray"
in_tray() { xwininfo -tree -id "$tray_win" 2>/dev/null | grep -qi 'trayprobe'; }
waitfor "no icon window under trayer" in_tray
xwininfo -tree -id "$tray_win" >"$E2E_ARTIFACTS/tray-tree.txt" 2>&1 || true
shot tray

note "the balloon went out as Notify with its title and text"
notify_seen() {
  grep -A12 'member=Notify' "$monitor_log" | grep -qF "string \"$title\"" &&
    grep -A12 'member=Notify' "$monitor_log" | grep -qF "string \"$text\""
}
waitfor "no Notify with the balloon's title and text" notify_seen
grep -A12 'member=Notify' "$monitor_log" | grep -qF 'string "dialog-information"' ||
  fail "the information balloon did not ask for the information icon"
grep -A14 'member=Notify' "$monitor_log" | grep -qE 'int32 10000$' ||
  fail "the time-out did not become the expire time"
sleep 0.5
shot balloon

note "hiding the balloon closes the notification"
waitfor "the probe did not hide its balloon" grep -q '^hidden$' "$probe_log"
waitfor "no CloseNotification call" grep -q 'member=CloseNotification' "$monitor_log"
cp "$monitor_log" "$E2E_ARTIFACTS/" 2>/dev/null || true

kill "$probe_pid"
wait_gone "$probe_pid" || fail "the probe did not end"
gone() { ! in_tray; }
waitfor "the icon stayed in the tray after the program ended" gone
note "tray icon and notifications work"
