# Time syncs nobody asked for at that moment (here: at start-up) against loopback
# NTP servers, with a stand-in time service on a private system bus that records
# every SetTime (the machine's clock is never touched):
# - a server 3 hours ahead: no call to the time service; the balloon says the
#   clock was not set and names the difference (3 hours 0 minutes);
# - a name with two addresses whose servers agree on 10 years ahead: nothing
#   changes (two addresses of one name are one server); the balloon says why;
# - a server 500 s ahead is still followed: one relative step of +500 s.
start_notifications
start_tray

start_time_service accept

notified() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q "$1"; }

# sync_at_startup <name> <server option>: a clock whose command 0 runs at start-up.
# The hosts file of this test gives time.velmora.test two addresses; the clock
# (and the tool it starts) sees it in a mount namespace of their own.
printf '127.0.0.1 time.velmora.test\n127.0.0.2 time.velmora.test\n' >"$E2E_WORK/hosts"
sync_at_startup() {
  local dir
  dir=$(make_portable "$1")
  write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
    "[CommandList]" "Count=1" \
    "[Command0]" "FileName=$dir/Sync/VelmoSync" "OptionStr=$2" "AtStartup=1"
  VELMORA_SYNC_SPACING_MS=100 unshare -m sh -c \
    'mount --bind "$1" /etc/hosts && exec "$2"' sh "$E2E_WORK/hosts" "$dir/velmora" \
    >>"$dir/output.log" 2>&1 &
  CLOCK_PID=$!
  wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock window ($1)"
  CLOCK_DIR=$dir
}

note "a server 3 hours ahead at start-up: refused, the balloon names the difference"
port=$(start_ntp_server 10800000)
sync_at_startup ahead "127.0.0.1:$port"
waitfor "no balloon about the refused step" notified 'とけーを あわせませんでした'
notified '3 じかん 0 ふん おくれて います' || fail "the balloon does not name the difference"
grep -q 'refused' "$CLOCK_DIR/output.log" || fail "no reason on standard error"
[ "$(set_time_calls)" = 0 ] || fail "the time service was asked to step: $(cat "$TIMEDATE_LOG")"
shot refused-3h
stop_clock

note "two addresses of one name agreeing on 10 years ahead change nothing"
port=$(start_ntp_server 315360000000)
start_ntp_server 315360000000 127.0.0.2 "$port" >/dev/null
sync_at_startup twoaddresses "time.velmora.test:$port"
waitfor "no balloon about the unconfirmed step" notified 'ふたつめの サーバー'
[ "$(set_time_calls)" = 0 ] || fail "the time service was asked to step: $(cat "$TIMEDATE_LOG")"
stop_clock

note "a server 500 s ahead is still followed"
port=$(start_ntp_server 500000)
sync_at_startup small "127.0.0.1:$port"
waitfor "no SetTime for a 500 s step" grep -q '^SetTime' "$TIMEDATE_LOG"
read -r _ usec relative _ <<<"$(grep -m1 '^SetTime' "$TIMEDATE_LOG")"
[ "$usec" -ge 499900000 ] && [ "$usec" -le 500100000 ] || fail "asked for $usec µs, not 500 s"
[ "$relative" = true ] || fail "the step was not relative"
waitfor "no balloon 'clock set'" notified 'とけーを あわせました'
stop_clock
note "unattended syncs never step far"
