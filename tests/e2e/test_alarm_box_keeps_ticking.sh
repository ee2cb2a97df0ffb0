# An alarm whose sound file is missing shows its error box; with the box left
# open the clock goes on: its text changes every second, it shows the alarm
# colours, and one minute after the alarm started it is back to its normal
# colours, the box still open. The wall clock is set just before the alarm
# (faketime), so the test takes a little more than a minute.
lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -e "$lib" ] || fail "no libfaketime"
dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=200" "Top=200" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "NormalBackgroundColor=\$00FFFFFF" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=07:00:00" "UseAlarmColor=1" \
  "AlarmBackgroundColor=\$00F0CAA6" "UseAlarmSound=1" "AlarmSoundFileName=$dir/gone.wav"
start_clock "$dir" LD_PRELOAD="$lib" FAKETIME="@2026-12-07 06:59:55" FAKETIME_DONT_FAKE_MONOTONIC=1
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
read -r x y w h <<<"$(geometry "$win")"
bg() { pixel $((x + 1)) $((y + 1)); }
[ "$(bg)" = ffffff ] || fail "normal colours before the alarm ($(bg))"

note "the alarm starts and its error box opens"
box_window() {
  xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '' 2>/dev/null | grep -vx "$win" | head -1
}
has_box() { [ -n "$(box_window)" ]; }
waitfor "no error box for the missing sound file: $(cat "$dir/output.log")" has_box
box=$(box_window)
started=$(date +%s)
shot box-open
alarm_colour() { [ "$(bg)" = a6caf0 ]; }
waitfor "no alarm colours behind the box" alarm_colour

note "with the box open the clock changes every second"
text_shot() { import -window root -crop "${w}x${h}+${x}+${y}" -depth 8 rgb:- 2>/dev/null | md5sum; }
prev=$(text_shot); changes=0
for _ in 1 2 3 4; do
  sleep 1.05
  now=$(text_shot)
  [ "$now" != "$prev" ] && changes=$((changes + 1))
  prev=$now
done
[ "$changes" -ge 3 ] || fail "the clock changed only $changes times in 4 s behind the box"

note "one minute after the start: normal colours, the box still open"
normal=
for _ in $(seq 150); do
  [ "$(bg)" = ffffff ] && { normal=1; break; }
  sleep 0.5
done
[ -n "$normal" ] || fail "the alarm colours stayed $(($(date +%s) - started)) s after the alarm"
xwininfo -id "$box" | grep -q IsViewable || fail "the error box went away by itself"
shot after-alarm
answer_box "$box"
stop_clock
note "the clock keeps ticking behind a message box"
