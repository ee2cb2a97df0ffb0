# The about dialog, opened from the real clock's menu, shows the version the
# build stamped into the program (as a screen reader reads the dialog); Escape
# closes it, Return closes it, and the clock ticks on behind and after it.
# Leaves screenshots at 96 and 192 dpi.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
start_tray
dir=$(make_portable)

# One version everywhere: what --version prints is what the build stamped into
# the file's section (read from it) and what the dialog shows.
version=$("$dir/velmora" --version | awk '{print $2}')
[ -n "$version" ] || fail "velmora --version printed no version"
objcopy --dump-section .velmora_version="$E2E_WORK/stamp.bin" "$dir/velmora" /dev/null ||
  fail "the program carries no version section"
iconv -f UTF-16LE -t UTF-8 -c <"$E2E_WORK/stamp.bin" | tr '\0' '\n' | grep -aqxF "$version" ||
  fail "the version section does not hold $version"
note "the build's version: $version"

# Opens the popup menu on the clock and picks the about item by its accelerator.
open_about() {
  read -r x y w h <<<"$(geometry "$win")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  sleep 0.7
  xdotool key a
  about=$(wait_window "$CLOCK_PID" '^Velmoraの バージョン じょーほー$') ||
    fail "no about dialog after the menu's about item"
  sleep 0.5
}
about_gone() { ! xwininfo -id "$about" 2>/dev/null | grep -q IsViewable; }

# The accessibility bus runs before the clock starts, so that the clock joins it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || fail "no accessibility bus"
/usr/bin/python3 "$here/tools/a11y_texts.py" '(none)' 2>/dev/null || true
start_clock "$dir" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"

open_about
window_shot "$about" about-96dpi >/dev/null
texts=$(/usr/bin/python3 "$here/tools/a11y_texts.py" 'バージョン' 2>"$E2E_WORK/a11y.log") ||
  fail "the dialog is not on the accessibility bus: $(cat "$E2E_WORK/a11y.log")"
echo "$texts" | grep -qxF "$version" || fail "the dialog does not show $version: $texts"
echo "$texts" | grep -qxF "OK" || fail "no OK button: $texts"
read -r _ _ aw ah <<<"$(geometry "$about")"
[ "$aw" = 382 ] && [ "$ah" = 206 ] || fail "dialog size ${aw}x${ah}, not 382x206"
check "the clock stopped ticking behind the dialog" window_changes "$win"

note "Escape closes it"
xdotool windowactivate --sync "$about" key Escape
waitfor "Escape did not close the dialog" about_gone

note "Return closes it"
open_about
xdotool windowactivate --sync "$about" key Return
waitfor "Return did not close the dialog" about_gone
check "the clock does not tick after the dialog" window_changes "$win"
kill -0 "$CLOCK_PID" || fail "the clock ended"

note "the tray icon's menu opens it too"
icon_window() { xwininfo -tree -id "$TRAY_WIN" 2>/dev/null | grep -i '"velmora"' | awk '{print $1}' | head -1; }
waitfor "the clock's icon is not in the tray" test -n "$(icon_window)"
read -r ix iy iw ih <<<"$(geometry "$(icon_window)")"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 3
sleep 0.7
xdotool key a
about=$(wait_window "$CLOCK_PID" '^Velmoraの バージョン じょーほー$') ||
  fail "no about dialog from the tray icon's menu"
xdotool windowactivate --sync "$about" key Escape
waitfor "Escape did not close the dialog opened from the tray" about_gone

note "quitting with the dialog open ends the program"
open_about
stop_clock

note "at 192 dpi"
start_clock "$dir" QT_SCALE_FACTOR=2
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window at scale 2"
open_about
read -r _ _ aw ah <<<"$(geometry "$about")"
[ "$aw" = 764 ] && [ "$ah" = 412 ] || fail "dialog size ${aw}x${ah} at scale 2, not 764x412"
window_shot "$about" about-192dpi >/dev/null
xdotool windowactivate --sync "$about" key Escape
waitfor "Escape did not close the dialog at scale 2" about_gone
stop_clock
