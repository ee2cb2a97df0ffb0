# The menu's time sync with the system's time service on a private system bus: a
# stand-in owns org.freedesktop.timedate1 and records SetTime (the machine's
# clock is never touched). Against a loopback NTP server 2.5 s ahead the tool,
# started as the user and not through pkexec although command 0 carries a stored
# AsAdmin=1, asks for a relative, interactive step of +2.5 s and the balloon says
# the clock was set; while the stand-in answers as a service whose time daemon
# keeps the clock, the balloon says the clock was not set.

# The caller's uid tells the user from the administrator only when they differ:
# run as root, the clock (and so the tool) runs as a throwaway user, with a
# session bus, a home and a runtime folder that user may use.
as_user=()
user_uid=$(id -u)
if [ "$user_uid" = 0 ]; then
  user=vlm-e2e-$$
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user" || fail "no throwaway user"
  remove_user() { # only this test's processes run as that user
    set +e # every step, whatever the one before did
    pkill -KILL -u "$user" 2>/dev/null
    for _ in $(seq 50); do pgrep -u "$user" >/dev/null || break; sleep 0.1; done
    userdel "$user" >/dev/null 2>&1 || echo "could not remove the user $user" >&2
  }
  trap remove_user EXIT
  user_uid=$(id -u "$user")
  mkdir -m 700 "$E2E_WORK/user-home" "$E2E_WORK/user-run"
  chown "$user:" "$E2E_WORK/user-home" "$E2E_WORK/user-run"
  as_user=(setpriv --reuid="$user_uid" --regid="$(id -g "$user")" --clear-groups
           env HOME="$E2E_WORK/user-home" XDG_RUNTIME_DIR="$E2E_WORK/user-run")
  start_private_bus "$E2E_WORK/session_bus"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_WORK/session_bus"
fi
start_notifications
start_tray

port=$(start_ntp_server 2500)


dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
  "[CommandList]" "Count=1" \
  "[Command0]" "FileName=$dir/Sync/VelmoSync" "OptionStr=127.0.0.1:$port" "AsAdmin=1"
[ ${#as_user[@]} = 0 ] || chown -R "$user_uid" "$dir"
start_time_service accept
"${as_user[@]}" env VELMORA_SYNC_SPACING_MS=200 "$dir/velmora" >>"$dir/output.log" 2>&1 &
CLOCK_PID=$!
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
[ "$(stat -c %u "/proc/$CLOCK_PID")" = "$user_uid" ] || fail "the clock does not run as $user_uid"

balloon() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q "$1"; }

note "the menu's time sync asks the time service for +2.5 s"
sync_from_menu "$win"
waitfor "no SetTime reached the time service" grep -q '^SetTime' "$TIMEDATE_LOG"
read -r _ usec relative interactive uid mark prompt <<<"$(grep -m1 '^SetTime' "$TIMEDATE_LOG")"
note "recorded: SetTime $usec $relative $interactive $uid $mark $prompt"
[ "$usec" -ge 2400000 ] && [ "$usec" -le 2600000 ] || fail "asked for $usec µs, not about 2500000"
[ "$relative" = true ] || fail "the step was not relative"
[ "$interactive" = true ] && [ "$prompt" = prompt=1 ] ||
  fail "the call did not allow a password prompt ($interactive, $prompt)"
[ "$uid" = "uid=$user_uid" ] || fail "the call came from $uid, not the user $user_uid"
[ "$mark" = "pkexec=0" ] || fail "the tool ran through pkexec"
waitfor "no balloon 'clock set'" balloon 'とけーを あわせました'
[ "$(set_time_calls)" = 1 ] || fail "more than one SetTime for one request"

note "a time daemon keeps the clock: the service refuses, the balloon says not set"
# The first tool has ended once it reported; give it a moment to be gone.
sleep 1
start_time_service refuse
sync_from_menu "$win"
waitfor "no SetTime reached the refusing service" grep -q '^SetTime' "$TIMEDATE_LOG"
waitfor "no balloon 'clock not set'" balloon 'とけーを あわせることが できませんでした'
shot refused
# The tool's standard error (which the clock passes on) says why.
grep -q 'a time daemon already keeps the system clock' "$dir/output.log" ||
  fail "the tool did not say why the clock was not set: $(grep VelmoSync "$dir/output.log")"
stop_clock
kill "$TIMEDATE_PID" 2>/dev/null || true
note "the time sync goes through the system's time service"
