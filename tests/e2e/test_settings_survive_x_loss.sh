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
read -r x y w h <<<"$(geometry "$win")"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) mousedown 1
sleep 0.2
for step in 1 2 3 4 5; do
  xdotool mousemove $((x + w / 2 + step * 30)) $((y + h / 2 + step * 20))
  sleep 0.1
done
xdotool mouseup 1
sleep 0.5
read -r nx ny w h <<<"$(geometry "$win")"
[ "$nx" -eq $((x + 150)) ] && [ "$ny" -eq $((y + 100)) ] || fail "dragged from $x,$y to $nx,$ny"

note "a language switch"
menu_windows() { xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '' 2>/dev/null | sort; }
xdotool mousemove $((nx + 3)) $((ny + 3)) click 3
sleep 0.7
before=$(menu_windows)
found=
for _ in $(seq 10); do # walk down the items until one opens a submenu
  xdotool key Down
  sleep 0.15
  xdotool key Right
  sleep 0.4
  if [ "$(menu_windows | wc -l)" -gt "$(echo "$before" | wc -l)" ]; then found=1; break; fi
done
[ -n "$found" ] || fail "no language submenu"
xdotool key Return # English sorts before Vlm日本語_かな
sleep 3 # the save follows a moment after the change

note "the X server goes away"
xserver=$(pgrep -P "$PPID" -x Xvfb) || fail "no X server of this test found"
kill -KILL "$xserver"
wait_gone "$CLOCK_PID" || { kill -KILL "$CLOCK_PID"; fail "the clock outlived its X server"; }
[ "$(ini_value "$dir/velmora.ini" MainForm Left)" = "$nx" ] ||
  fail "place not saved: Left=$(ini_value "$dir/velmora.ini" MainForm Left), shown at $nx"
[ "$(ini_value "$dir/velmora.ini" MainForm Top)" = "$ny" ] || fail "top not saved"
[ "$(ini_value "$dir/velmora.ini" Language LangFileName)" = "$dir/Lang/English.lang" ] ||
  fail "language not saved: $(ini_value "$dir/velmora.ini" Language LangFileName)"
note "place and language survive the loss of the X server"
