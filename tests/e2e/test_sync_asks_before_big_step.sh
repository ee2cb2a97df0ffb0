# The menu's time sync against a loopback NTP server 3 hours ahead, with a
# stand-in time service on a private system bus that records every SetTime (the
# machine's clock is never touched): the clock asks first, in a box that leaves
# the clock ticking and the keyboard focus where it was; nothing is set while the
# question is open; after OK the tool measures again and the time service is
# asked for one relative step of +3 hours.
start_notifications
start_tray

start_time_service accept

port=$(start_ntp_server 10800000)

dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
  "[CommandList]" "Count=1" \
  "[Command0]" "FileName=$dir/Sync/VelmoSync" "OptionStr=127.0.0.1:$port"
start_clock "$dir" VELMORA_SYNC_SPACING_MS=100
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"

note "the menu's sync measures 3 hours and asks"
sync_from_menu "$win"
box=$(wait_window "$CLOCK_PID" 'おしらせ' 150) || fail "no question"
shot question
focused=$(xdotool getwindowfocus 2>/dev/null || echo none)
[ "$focused" != "$box" ] || fail "the question took the keyboard focus"
window_changes "$win" || fail "the clock stopped ticking behind the question"
sleep 1
[ "$(set_time_calls)" = 0 ] || fail "the clock was set before the answer: $(cat "$TIMEDATE_LOG")"
grep -q 'refused' "$dir/output.log" || fail "the tool gave no reason for not setting the clock"

note "OK: measured again and set by +3 hours"
answer_box "$box"
waitfor "no SetTime after OK" grep -q '^SetTime' "$TIMEDATE_LOG"
read -r _ usec relative _ <<<"$(grep -m1 '^SetTime' "$TIMEDATE_LOG")"
[ "$usec" -ge 10799900000 ] && [ "$usec" -le 10800100000 ] || fail "asked for $usec µs, not 3 hours"
[ "$relative" = true ] || fail "the step was not relative"
notified() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q "$1"; }
waitfor "no balloon 'clock set'" notified 'とけーを あわせました'
[ "$(set_time_calls)" = 1 ] || fail "more than one SetTime"
stop_clock
note "a large step from the menu is asked about first"
