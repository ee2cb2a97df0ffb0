# Ended with SIGTERM and killed with SIGKILL a few milliseconds later, while it saves
# a settings file with thousands of hand-added keys, a hundred times: the file is
# always whole (the old one or the new one, never cut or mixed), and whatever a kill
# left half-done is gone by the next start. Every other run the kill waits until
# the save is seen under way, so that some kills surely land in the middle of one.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runs=${KILL_RUNS:-100}
keys=3000
dir=$(make_portable)
ini=$dir/velmora.ini
lines=("[MainForm]" "Left=100" "Top=200" "[HandAdded]")
for i in $(seq "$keys"); do lines+=("Key$i=value number $i, kept as it was written"); done
write_ini "$ini" "${lines[@]}"

# Left of MainForm, read in full first: with thousands of lines after it, stopping
# the pipe at the first match would break it.
left_of() {
  ini_text "$ini" >"$E2E_WORK/ini.txt" || return 1
  awk -F= '/^\[MainForm\]$/{on=1;next} /^\[/{on=0} on&&$1=="Left"{print $2}' "$E2E_WORK/ini.txt"
}

# Whole: the byte order mark, whole UTF-16 code units, a last line that ends, every
# hand-added key with its value, and the position one of the two a save could write.
whole() {
  local left=$1 other=$2 size
  [ "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' ')" = fffe ] || { echo "no byte order mark"; return 1; }
  size=$(stat -c %s "$ini")
  [ $((size % 2)) = 0 ] || { echo "odd size $size"; return 1; }
  [ "$(tail -c 4 "$ini" | od -An -tx1 | tr -d ' ')" = 0d000a00 ] || { echo "last line cut"; return 1; }
  local text count got
  text=$(ini_text "$ini") || { echo "not UTF-16"; return 1; }
  count=$(grep -c '^Key[0-9]*=value number [0-9]*, kept as it was written$' <<<"$text")
  [ "$count" = "$keys" ] || { echo "$count of $keys hand-added keys"; return 1; }
  got=$(left_of)
  [ "$got" = "$left" ] || [ "$got" = "$other" ] || { echo "Left=$got, not $left or $other"; return 1; }
}

# Whether process <pid> holds a file of the folder open for a save: the temporary
# file, unnamed ("#<inode> (deleted)") or named (".velmora.ini.saving-...").
holds_a_save() {
  find "/proc/$1/fd" -mindepth 1 \( -lname "$dir/#*" -o -lname "$dir/.velmora.ini.saving-*" \) \
    -print 2>/dev/null | grep -q .
}
# Stops process <pid> and waits until it is stopped (or has ended).
stop_process() {
  local state
  kill -STOP "$1" 2>/dev/null || return 0
  for _ in $(seq 500); do
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
    case $state in T | t | Z | X) return 0 ;; esac
    sleep 0.01
  done
}

left=100 leftovers=0 cut=0 saved=0 in_save=0
for run in $(seq "$runs"); do
  start_clock "$dir"
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "run $run: no clock window"
  # The last run's leftovers are removed at start-up, before the window shows.
  [ -z "$(find "$dir" -maxdepth 1 -name '.velmora.ini.saving-*')" ] ||
    fail "run $run: a temporary file outlived the start"
  new=$((100 + run))
  xdotool windowmove "$win" "$new" 200
  waitfor "run $run: the window did not move" \
    bash -c "xwininfo -id $win | grep -q 'Absolute upper-left X: *$new\$'"
  if [ $((run % 2)) = 1 ]; then
    # Every other run the kill waits for a save seen under way...
    /usr/bin/python3 "$here/tools/stop_in_save.py" "$CLOCK_PID" "$dir" >/dev/null
  else
    kill -TERM "$CLOCK_PID"
    sleep "0.0$((RANDOM % 30 / 10))$((RANDOM % 10))" # ... the others land anywhere
  fi
  # Stopped first, so that what it holds open is what the kill interrupts.
  stop_process "$CLOCK_PID"
  holds_a_save "$CLOCK_PID" && in_save=$((in_save + 1))
  kill -KILL "$CLOCK_PID" 2>/dev/null || true
  wait_gone "$CLOCK_PID" || fail "run $run: the clock did not end"
  [ "$GONE_RC" = 137 ] && cut=$((cut + 1))
  why=$(whole "$left" "$new") || fail "run $run: the settings file is not whole: $why"
  [ -n "$(find "$dir" -maxdepth 1 -name '.velmora.ini.saving-*')" ] && leftovers=$((leftovers + 1))
  [ "$(left_of)" = "$new" ] && saved=$((saved + 1))
  left=$(left_of)
done
# Only kills that landed in the middle of a save test its safety.
[ $((in_save + leftovers)) -gt 0 ] ||
  fail "no kill of $runs landed during a save ($cut killed, $saved saved): nothing was tested"
# What a kill between the write and the rename leaves goes at the next start; a
# user's file that only looks alike stays.
echo partial >"$dir/.velmora.ini.saving-k1ll3d"
echo mine >"$dir/velmora.ini.AbC123"
start_clock "$dir"
wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock window after the runs"
[ -z "$(find "$dir" -maxdepth 1 -name '.velmora.ini.saving-*')" ] || fail "a temporary file outlived the start"
[ "$(cat "$dir/velmora.ini.AbC123")" = mine ] || fail "a user's file was removed"
stop_clock
whole "$left" "$left" >/dev/null || fail "the last save is not whole"
note "$runs runs, $cut of them killed before the end, $in_save in the middle of a save, $saved saved the new position, $leftovers left a temporary file that the next start removed: the file was always whole"
