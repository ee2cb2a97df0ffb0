# The real clock on a desktop with a tray: its icon appears in the tray and comes
# back when the tray host is restarted; a right-click opens the popup menu; a
# language chosen from the menu changes the captions and is saved at exit.
start_notifications
start_tray
dir=$(make_portable)
mkdir -p "$dir/Lang"
{ printf '\xff\xfe'; printf '%s\n' "[MainForm]" "ActPopAdjustTime.Caption=&Time" \
    "ActPopShowOption.Caption=&Options" "Command1.Caption=&Commands" "Language1.Caption=&Language" \
    "ActPopShowHelp.Caption=&Help" "ActPopShowAbout.Caption=&About" "ActPopQuit.Caption=&Quit" \
    "TrayIcon1.Hint=Velmora clock" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$dir/Lang/English.lang"
# The accessibility bus runs before the clock starts, so that it joins it: the
# menu's captions are read as a screen reader hears them.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || fail "no accessibility bus"
start_clock "$dir" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"

icon_in_tray() { xwininfo -tree -id "$(tray_window)" 2>/dev/null | grep -qi '"velmora"'; }
waitfor "the clock's icon is not in the tray" icon_in_tray
shot tray

note "the icon comes back when the tray host restarts"
kill "$TRAYER_PID"; wait "$TRAYER_PID" 2>/dev/null || true
sleep 1
start_tray
waitfor "the icon did not come back to the new tray" icon_in_tray

# The popup menu: a new visible window of the clock after a right-click.
menu_width() { # opens the menu, prints its width, closes it
  local before after id
  before=$(menu_windows)
  read -r x y w h <<<"$(geometry "$win")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  sleep 0.7
  after=$(menu_windows)
  id=$(comm -13 <(echo "$before") <(echo "$after") | head -1)
  [ -n "$id" ] || return 1
  shot "menu-$1"
  xwininfo -id "$id" | awk '/Width:/{print $2}'
  xdotool key Escape
  sleep 0.3
}
w_ja=$(menu_width japanese) || fail "no popup menu on a right-click"

# The menu's entries, as a screen reader reads them when the first one takes the
# focus; one per line in MENU_CAPTIONS.
menu_captions() {
  local log=$E2E_WORK/menu-$1.txt listener
  /usr/bin/python3 "$here/tools/a11y_menu.py" 10 >"$log" 2>"$E2E_WORK/a11y-menu.log" &
  listener=$!
  waitfor "the menu reader did not start" grep -q '^listening$' "$log"
  read -r x y w h <<<"$(geometry "$win")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  sleep 0.7
  xdotool key Down
  wait "$listener" || fail "no menu entry took the focus ($1): $(cat "$E2E_WORK/a11y-menu.log")"
  xdotool key Escape
  sleep 0.3
  MENU_CAPTIONS=$(sed 1d "$log")
  note "the $1 menu reads: $(paste -sd '|' <<<"$MENU_CAPTIONS")"
}
english_captions=(Time Options Commands Language Help About Quit)
menu_captions japanese
for c in "${english_captions[@]}"; do
  grep -qxF "$c" <<<"$MENU_CAPTIONS" && fail "an English caption before the switch: $MENU_CAPTIONS"
done
[ "$(wc -l <<<"$MENU_CAPTIONS")" -ge ${#english_captions[@]} ] || fail "too few entries read: $MENU_CAPTIONS"

note "choosing English from the language submenu"
open_language_submenu "$win"
shot language-submenu
xdotool key Return # the first entry, active on opening: English sorts before Vlm日本語_かな
sleep 0.7
w_en=$(menu_width english) || fail "no popup menu after the change"
[ "$w_en" != "$w_ja" ] || fail "the menu kept its width ($w_en): captions unchanged?"
menu_captions english
for c in "${english_captions[@]}"; do
  grep -qxF "$c" <<<"$MENU_CAPTIONS" || fail "no entry \"$c\" in the English menu: $MENU_CAPTIONS"
done
stop_clock
[ "$(ini_value "$dir/velmora.ini" Language LangFileName)" = Lang/English.lang ] ||
  fail "language not saved: $(ini_value "$dir/velmora.ini" Language LangFileName)"
note "tray, menu and language switch work"
