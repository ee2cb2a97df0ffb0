# The installed clock as a normal user (E2E_USER, home E2E_USER_HOME) on the
# throwaway desktop of run_one.sh: its files go to the XDG folders of that user,
# none beside the program.
as_user() {
  runuser -u "$E2E_USER" -- env -i PATH=/usr/bin:/bin HOME="$E2E_USER_HOME" USER="$E2E_USER" \
    LOGNAME="$E2E_USER" LANG=C.UTF-8 LC_ALL=C.UTF-8 DISPLAY="$DISPLAY" \
    XDG_RUNTIME_DIR="$USER_RUNTIME" "$@"
}
USER_RUNTIME=$E2E_WORK/user-run
install -d -m 700 -o "$E2E_USER" "$USER_RUNTIME"
config=$E2E_USER_HOME/.config/velmora
data=$E2E_USER_HOME/.local/share/velmora

# The answers without a window: nothing is made, the lock is not taken.
out=$(as_user /usr/bin/velmora --version) || fail "--version failed"
[[ $out == "velmora "[0-9]* ]] || fail "--version printed '$out'"
as_user /usr/bin/velmora --help | grep -q "$config/velmora.ini" || fail "--help does not name the settings file"
rc=0
err=$(as_user /usr/bin/velmora --no-such-option 2>&1) || rc=$?
[ "$rc" = 2 ] || fail "an unknown option ended with $rc, not 2"
[[ $err == *"unknown option '--no-such-option'"* ]] || fail "unknown option message: $err"
[ -z "$(ls -A "$USER_RUNTIME")" ] || fail "the answers touched the runtime folder: $(ls -A "$USER_RUNTIME")"
[ ! -e "$config" ] && [ ! -e "$data" ] || fail "the answers made folders"
note "--version, --help, unknown option"

as_user dbus-run-session -- /usr/bin/velmora >>"$E2E_WORK/clock.log" 2>&1 &
clock_pid() { pgrep -u "$E2E_USER" -x velmora; }
clock_started() { clock_pid >/dev/null; }
waitfor "the clock did not start: $(cat "$E2E_WORK/clock.log")" clock_started
pid=$(clock_pid)
win=$(wait_window "$pid" '^MainForm$' 150) || fail "no clock window: $(cat "$E2E_WORK/clock.log")"
# The text is drawn: more than the background and the border colours.
drawn() { [ "$(convert "$(window_shot "$win" installed-clock)" -format %k info:)" -gt 2 ]; }
waitfor "the clock shows no text" drawn
ls "$data/Lang/"*.lang >/dev/null 2>&1 || fail "no language files in $data/Lang/"
[ -f "$data/Lang/VlmDay.lang" ] || fail "no day-of-week words file"
head -c 2 "$data/Lang/VlmDay.lang" | cmp -s - <(printf '\xff\xfe') || fail "the day words file is not UTF-16 LE with BOM"
xdotool windowmove "$win" 123 234
sleep 0.5
kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the clock did not end on SIGTERM"

ini=$config/velmora.ini
[ -f "$ini" ] || fail "no settings in $ini"
head -c 2 "$ini" | cmp -s - <(printf '\xff\xfe') || fail "the settings are not UTF-16 LE with BOM"
[ "$(ini_value "$ini" MainForm Left)" = 123 ] || fail "the place was not saved: $(ini_text "$ini" | head -5)"
[ "$(stat -c %U "$ini")" = "$E2E_USER" ] || fail "the settings belong to $(stat -c %U "$ini")"
[[ "$(ini_value "$ini" Language LangFileName)" == "$data/Lang/"* ]] || fail "language file path: $(ini_value "$ini" Language LangFileName)"
[[ "$(ini_value "$ini" Command0 FileName)" == /usr/libexec/velmora/VelmoSync ]] || fail "time sync command: $(ini_value "$ini" Command0 FileName)"
# Nothing beside the program or in the package's folders.
for f in /usr/bin/velmora.ini /usr/bin/Lang /usr/libexec/velmora/Lang \
  "/usr/share/velmora/Lang/Vlm日本語_かな.lang" /usr/share/velmora/Lang/VlmDay.lang; do
  [ ! -e "$f" ] || fail "$f was written"
done
[ "$(ls -A /usr/libexec/velmora | tr '\n' ' ')" = "VelmoSound VelmoSync " ] ||
  fail "/usr/libexec/velmora: $(ls -A /usr/libexec/velmora)"
[ "$(ls -A /usr/share/velmora | tr '\n' ' ')" = "Help Lang " ] || fail "/usr/share/velmora: $(ls -A /usr/share/velmora)"
# The shipped language files were copied into the user's folder, as the user's.
for f in /usr/share/velmora/Lang/*.lang; do
  cmp -s "$f" "$data/Lang/$(basename "$f")" || fail "$(basename "$f") was not copied into $data/Lang/"
  [ "$(stat -c %U "$data/Lang/$(basename "$f")")" = "$E2E_USER" ] || fail "$(basename "$f") is not the user's"
done
note "settings in $ini, language files in $data/Lang/"

# The alarm sound through the installed player, which the clock finds in the
# package's folder; it ends with the clock.
sound=$E2E_USER_HOME/sound.raw
make_wav "$E2E_USER_HOME/alarm.wav"
write_ini "$ini" "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$(time_in 4)" "UseAlarmSound=1" \
  "AlarmSoundFileName=$E2E_USER_HOME/alarm.wav"
chown "$E2E_USER" "$ini" "$E2E_USER_HOME/alarm.wav"
as_user env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$sound" dbus-run-session -- /usr/bin/velmora \
  >>"$E2E_WORK/clock.log" 2>&1 &
waitfor "the clock did not start again: $(cat "$E2E_WORK/clock.log")" clock_started
pid=$(clock_pid)
sounding() { [ "$(stat -c %s "$sound" 2>/dev/null || echo 0)" -gt 10000 ]; }
waitfor "no alarm sound: $(cat "$E2E_WORK/clock.log")" sounding
player=$(pgrep -u "$E2E_USER" -x VelmoSound) || fail "no sound player runs"
[ "$(ps -o ppid= -p "$player" | tr -d ' ')" = "$pid" ] || fail "the sound player is not the clock's"
kill -TERM "$pid"
player_gone() { ! kill -0 "$player" 2>/dev/null; }
waitfor "the sound player outlived the clock" player_gone
note "the alarm sounds through /usr/libexec/velmora/VelmoSound, which ends with the clock"
