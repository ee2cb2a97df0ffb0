# Settings are saved as they change: after a drag and a language switch the X
# server goes away (no orderly quit is possible then), and the settings file holds
# the new place and language.
dir=$(make_portable)
mkdir -p "$dir/Lang"
{ printf '\xff\xfe'; printf '%s\n' "[MainForm]" "ActPopQuit.Caption=&Quit" \
    "Language1.Caption=&Language" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$dir/Lang/English.lang"
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1

note "a drag"
drag_by_150_100 "$win"
nx=$NX ny=$NY

note "a language switch"
open_language_submenu "$win"
xdotool key Return # English sorts before Vlm日本語_かな
sleep 3 # the save follows a moment after the change

note "the X server goes away"
xserver=$(pgrep -P "$PPID" -x Xvfb) || fail "no X server of this test found"
kill -KILL "$xserver"
wait_gone "$CLOCK_PID" || { kill -KILL "$CLOCK_PID"; fail "the clock outlived its X server"; }
[ "$(ini_value "$dir/velmora.ini" MainForm Left)" = "$nx" ] ||
  fail "place not saved: Left=$(ini_value "$dir/velmora.ini" MainForm Left), shown at $nx"
[ "$(ini_value "$dir/velmora.ini" MainForm Top)" = "$ny" ] || fail "top not saved"
[ "$(ini_value "$dir/velmora.ini" Language LangFileName)" = "Lang/English.lang" ] ||
  fail "language not saved: $(ini_value "$dir/velmora.ini" Language LangFileName)"
note "place and language survive the loss of the X server"
