# A sound player that never answers (stuck on a file on a stalled network
# folder) does not freeze the clock: with the alarm started, the clock's text
# changes every second while the player stays silent; the silence is reported in
# a box, and at quit the player goes with the clock.
lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -e "$lib" ] || fail "no libfaketime"
dir=$(make_portable)
# The stand-in player: it starts and says nothing, ever.
rm -f "$dir/VelmoSound"
printf '#!/bin/sh\nexec sleep 100000\n' >"$dir/VelmoSound"
chmod 755 "$dir/VelmoSound"
make_wav "$dir/bell.wav"
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=07:00:00" \
  "UseAlarmSound=1" "AlarmSoundFileName=$dir/bell.wav"
start_clock "$dir" LD_PRELOAD="$lib" FAKETIME="@2026-12-07 06:59:57" FAKETIME_DONT_FAKE_MONOTONIC=1
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
read -r x y w h <<<"$(geometry "$win")"

player() { pgrep -P "$CLOCK_PID" -f 'sleep 100000' || true; }
has_player() { [ -n "$(player)" ]; }
waitfor "the alarm did not start the player" has_player
stuck=$(player)
note "the player is silent; the clock goes on every second"
text_shot() { import -window root -crop "${w}x${h}+${x}+${y}" -depth 8 rgb:- 2>/dev/null | md5sum; }
prev=$(text_shot); changes=0
for _ in 1 2 3 4 5 6 7 8; do
  sleep 1.05
  now=$(text_shot)
  [ "$now" != "$prev" ] && changes=$((changes + 1))
  prev=$now
done
shot stuck-player
[ "$changes" -ge 7 ] || fail "the clock changed only $changes times in 8 s while the player was silent"

note "the silence is reported"
box_window() {
  xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '^Velmora \[' 2>/dev/null | head -1
}
has_box() { [ -n "$(box_window)" ]; }
waitfor "no message about the silent player: $(cat "$dir/output.log")" has_box
grep -q "did not answer" "$dir/output.log" || fail "no details on standard error"
answer_box "$(box_window)"
stop_clock
if kill -0 "$stuck" 2>/dev/null; then
  kill -KILL "$stuck"
  fail "the silent player outlived the clock"
fi
note "a silent sound player does not stop the clock"
