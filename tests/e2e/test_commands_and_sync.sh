# Commands as a person sets them up: one at start-up, one at a set time (runs once),
# one on resume from sleep (a stand-in logind on a private system bus), and the
# time sync at start-up against a local NTP server, answered with the balloon
# "the clock was set". The sync tool only measures here (never sets the clock).
server=$(find_tool NtpServer) || fail "no NtpServer built"
logind=$(find_tool FakeLogind) || fail "no FakeLogind built"
start_notifications
start_tray

"$server" 0 1500 >"$E2E_WORK/ntp.log" 2>&1 &
waitfor "the NTP server did not start" grep -q '^ready [0-9]' "$E2E_WORK/ntp.log"
port=$(awk '/^ready/{print $2; exit}' "$E2E_WORK/ntp.log")

# A private system bus for the resume signal.
dbus-daemon --session --address="unix:path=$E2E_WORK/system_bus" --nofork --nopidfile \
  >"$E2E_WORK/system-bus.log" 2>&1 &
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_WORK/system_bus"
waitfor "no private system bus" test -S "$E2E_WORK/system_bus"

dir=$(make_portable)
cat >"$dir/marker.sh" <<'SH'
#!/bin/sh
# Writes which run this was, its arguments one per field, and its folder.
out=$(dirname "$0")/$1.txt
shift
printf '%s|' "$#" "$@" "$(pwd)" >>"$out"
echo >>"$out"
SH
chmod +x "$dir/marker.sh"
at=$(time_in 5)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
  "[CommandList]" "Count=4" \
  "[Command0]" "FileName=$dir/Sync/VelmoSync" "OptionStr=127.0.0.1:$port" "AsAdmin=0" "AtStartup=1" \
  "[Command1]" "Title=start" "FileName=$dir/marker.sh" "OptionStr=startup 'two words' ;rm -rf /" \
  "AtStartup=1" \
  "[Command2]" "Title=timed" "FileName=$dir/marker.sh" "OptionStr=timed" "AtSpTime=1" "SpTime=$at" \
  "[Command3]" "Title=resume" "FileName=$dir/marker.sh" "OptionStr=resume" "AtResume=1"
start_clock "$dir" VELMORA_SYNC_DRY_RUN=1 VELMORA_SYNC_SPACING_MS=200
wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock window"

note "the start-up command ran, its words split like a shell, never through one"
waitfor "no start-up command" test -s "$dir/startup.txt"
line=$(cat "$dir/startup.txt")
[ "$line" = "4|two words|;rm|-rf|/|$dir|" ] || fail "start-up command got: $line"

note "the timed command runs once at $at"
waitfor "no timed command" test -s "$dir/timed.txt"
sleep 2.5
[ "$(wc -l <"$dir/timed.txt")" = 1 ] || fail "the timed command ran $(wc -l <"$dir/timed.txt") times"

note "the time sync answered: balloon 3"
synced() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q 'とけーを あわせました'; }
waitfor "no balloon from the time sync" synced

note "a resume from sleep runs the resume command"
[ ! -e "$dir/resume.txt" ] || fail "resume command ran before a resume"
"$logind" 1 >"$E2E_WORK/logind.log" 2>&1 || fail "the stand-in logind failed: $(cat "$E2E_WORK/logind.log")"
waitfor "no resume command" test -s "$dir/resume.txt"
[ "$(wc -l <"$dir/resume.txt")" = 1 ] || fail "the resume command ran more than once"
stop_clock
[ "$(ini_value "$dir/velmora.ini" CommandList Count)" = 4 ] || fail "commands not saved"
note "commands and time sync work"
