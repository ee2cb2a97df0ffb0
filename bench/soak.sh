#!/usr/bin/env bash
# The installed clock in real time for a while (10 minutes unless told), on a
# virtual display of its own, with an alarm and a timed command set: resident
# memory, open files and threads at the start and at the end, and whether the
# alarm sounded and the command ran exactly once. Not part of CI.
#   bench/soak.sh [portable folder] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(readlink -f "${1:-dist/Velmora}")
secs=${2:-600}
[ -x "$dist/velmora" ] || { echo "install first (cmake --install build)"; exit 1; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/sound.raw

Xvfb -screen 0 1024x768x24 -nolisten tcp -displayfd 3 3>"$work/display" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
sleep 1

clock=$work/clock
mkdir -p "$clock"
cp -a "$dist"/. "$clock"/
rm -f "$clock/velmora.ini"
# One second of silence as the alarm sound, a command that notes each run.
python3 -c "
import wave; w = wave.open('$work/alarm.wav', 'wb'); w.setnchannels(1); w.setsampwidth(2)
w.setframerate(8000); w.writeframes(b'\0\0' * 8000); w.close()"
printf '#!/bin/sh\ndate +%%T >>%s\n' "$work/ran.log" >"$work/note.sh"
chmod +x "$work/note.sh"
at() { date -d "+$1 seconds" +%H:%M:%S; }
alarm=$(at $((secs / 4)))
command=$(at $((secs / 2)))
{ printf '\xff\xfe'
  printf '%s\r\n' "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$alarm" "UseAlarmSound=1" \
    "UseAlarmColor=1" "UseAlarmBlink=1" "AlarmSoundFileName=$work/alarm.wav" \
    "[CommandList]" "Count=2" "[Command0]" "FileName=$clock/Sync/VelmoSync" \
    "[Command1]" "Title=note" "FileName=$work/note.sh" "AtSpTime=1" "SpTime=$command" |
    iconv -f UTF-8 -t UTF-16LE; } >"$clock/velmora.ini"

"$clock/velmora" >"$work/clock.log" 2>&1 &
pid=$!
sample() {
  printf '%-6s %8s KiB rss %4s open files %3s threads %8s ms cpu\n' "$1" \
    "$(awk '/VmRSS/{print $2}' /proc/$pid/status)" "$(ls /proc/$pid/fd | wc -l)" \
    "$(awk '/Threads/{print $2}' /proc/$pid/status)" \
    "$(($(awk '{print $14 + $15}' /proc/$pid/stat) * 1000 / $(getconf CLK_TCK)))"
}
sleep 5
echo "velmora for ${secs}s: alarm at $alarm, command at $command"
sample start
sleep $((secs - 5))
sample end
kill -TERM $pid
wait $pid || true
echo "command runs: $(wc -l <"$work/ran.log" 2>/dev/null || echo 0) (at $(tr '\n' ' ' <"$work/ran.log" 2>/dev/null))"
echo "alarm sound written: $(stat -c %s "$work/sound.raw" 2>/dev/null || echo 0) bytes"
