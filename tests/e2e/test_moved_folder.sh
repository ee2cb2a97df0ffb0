# A portable folder keeps working when it moves. Settings written with absolute
# paths into the old folder (language file, the time-sync tool) are copied with
# the folder to another place and the old folder is removed: the clock comes up
# in the chosen language and the time sync at start-up finds its tool. The next
# save names the folder's own files relative to it, so a second move needs no
# mapping at all; a file outside the folder keeps its absolute name.
server=$(find_tool NtpServer) || fail "no NtpServer built"
start_notifications

"$server" 0 1500 >"$E2E_WORK/ntp.log" 2>&1 &
waitfor "the NTP server did not start" grep -q '^ready [0-9]' "$E2E_WORK/ntp.log"
port=$(awk '/^ready/{print $2; exit}' "$E2E_WORK/ntp.log")

old=$(make_portable old-place)
mkdir -p "$old/Lang"
cp "$VELMORA_DIST/Lang/VlmEnglish.lang" "$old/Lang/"
outside=$E2E_WORK/outside.sh
printf '#!/bin/sh\n' >"$outside"
chmod +x "$outside"
write_ini "$old/velmora.ini" "[Language]" "LangFileName=$old/Lang/VlmEnglish.lang" \
  "[MainForm]" "Left=100" "Top=100" \
  "[CommandList]" "Count=2" \
  "[Command0]" "FileName=$old/Sync/VelmoSync" "OptionStr=127.0.0.1:$port" "AtStartup=1" \
  "[Command1]" "Title=outside" "FileName=$outside"

# The English balloon of a successful sync: the language and the tool both work.
synced_in_english() {
  [ "$(grep -A14 'member=Notify' "$NOTIFY_LOG" | grep -c 'The clock has been set.')" -ge "$1" ]
}
# Starts the clock of <folder> under a Japanese desktop (so that English can only
# come from the settings), waits for sync answer number <n>, stops the clock.
run_moved() {
  local dir=$1 n=$2
  start_clock "$dir" LANG=ja_JP.UTF-8 LC_ALL= VELMORA_SYNC_DRY_RUN=1 VELMORA_SYNC_SPACING_MS=200
  wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock window in $dir"
  waitfor "no English sync balloon from $dir: $(cat "$dir/output.log")" synced_in_english "$n"
  stop_clock
}

note "the folder is copied elsewhere and the old one removed"
new=$E2E_WORK/new-place
cp -a "$old" "$new"
rm -rf "$old"
run_moved "$new" 1

note "the next save names the folder's own files relative to it"
[ "$(ini_value "$new/velmora.ini" Language LangFileName)" = Lang/VlmEnglish.lang ] ||
  fail "language saved as $(ini_value "$new/velmora.ini" Language LangFileName)"
[ "$(ini_value "$new/velmora.ini" Command0 FileName)" = Sync/VelmoSync ] ||
  fail "sync tool saved as $(ini_value "$new/velmora.ini" Command0 FileName)"
[ "$(ini_value "$new/velmora.ini" Command1 FileName)" = "$outside" ] ||
  fail "a file outside the folder became $(ini_value "$new/velmora.ini" Command1 FileName)"

note "moved once more, to a folder with a blank in its name"
third="$E2E_WORK/third place"
mv "$new" "$third"
run_moved "$third" 2
[ "$(ini_value "$third/velmora.ini" Command0 FileName)" = Sync/VelmoSync ] ||
  fail "sync tool saved as $(ini_value "$third/velmora.ini" Command0 FileName)"
note "the moved folder keeps its language and its time sync"
