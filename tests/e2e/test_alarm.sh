# An alarm set for a few seconds after start: alarm colours, blinking, the balloon
# at the notification service, a looping sound that is not silent, and after one
# minute silence again with the window shown; the sound plays in a player process
# of its own, so the clock itself never loads the sound libraries.
start_notifications
start_tray
dir=$(make_portable)
make_wav "$dir/alarm.wav"
at=$(time_in 6)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "NormalBackgroundColor=\$00FFFFFF" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$at" "UseAlarmBlink=1" "UseAlarmColor=1" \
  "AlarmBackgroundColor=\$00F0CAA6" "UseAlarmBalloon=1" "AlarmHint=Wake up & go" \
  "UseAlarmSound=1" "AlarmSoundFileName=$dir/alarm.wav"
audio=$E2E_WORK/audio.raw
start_clock "$dir" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
read -r x y w h <<<"$(geometry "$win")"
[ "$(pixel $((x + 1)) $((y + 1)))" = ffffff ] || fail "normal colours before the alarm"
[ ! -s "$audio" ] || fail "sound before the alarm"

note "the alarm starts at $at"
alarm_colour() { [ "$(pixel $((x + 1)) $((y + 1)))" = a6caf0 ]; }
waitfor "no alarm colours" alarm_colour
shot alarm
balloon() { grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q 'Wake up &amp; go\|Wake up & go'; }
waitfor "no alarm balloon at the notification service" balloon
grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -q 'アラーム' || fail "the balloon's title is not the alarm title"
sleep 1
size1=$(stat -c %s "$audio" 2>/dev/null || echo 0)
[ "$size1" -gt 1000 ] || fail "no sound output: $(cat "$dir/output.log")"
# The player writes signed 16-bit samples: the square wave is far from 0.
od -An -td2 -N 16000 -j 4000 "$audio" | tr -s ' ' '\n' | awk '$1!=""{v=$1<0?-$1:$1; if (v>4000) n++} END{exit !(n>100)}' ||
  fail "the sound output is silent"
player() { pgrep -P "$CLOCK_PID" -x VelmoSound; }
player >/dev/null || fail "no sound player runs beside the clock"

note "blinking: the window is unmapped and mapped again"
seen_hidden=; seen_shown=
for _ in $(seq 60); do
  if xwininfo -id "$win" | grep -q IsUnMapped; then seen_hidden=1; elif [ -n "$seen_hidden" ]; then seen_shown=1; break; fi
  sleep 0.1
done
[ -n "$seen_hidden" ] && [ -n "$seen_shown" ] || fail "no blinking"

note "after one minute the alarm stops"
sleep 58
stopped() { xwininfo -id "$win" | grep -q IsViewable && [ "$(pixel $((x + 1)) $((y + 1)))" = ffffff ]; }
waitfor "the alarm did not stop with the window shown" stopped
s1=$(stat -c %s "$audio"); sleep 1.5; s2=$(stat -c %s "$audio")
[ "$s1" = "$s2" ] || fail "the sound goes on after the alarm stopped ($s1 -> $s2)"
no_player() { ! player >/dev/null; }
waitfor "the sound player runs on after the alarm" no_player
grep -q -E 'libSDL2|libpulse' "/proc/$CLOCK_PID/maps" && fail "the clock loaded the sound libraries"
shot after-alarm
stop_clock
note "the alarm works"
