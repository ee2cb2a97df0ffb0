# The options dialog on the real clock: opened from the right-click menu, it
# changes the text colour mode, the background (see-through) and the stacking
# order with mouse and keyboard; the clock shows each change at once, the close
# box closes the dialog, the settings file holds the changes right after, and the
# clock runs on.
# A tray host, so that the clock has its icon and no message about a missing tray.
start_tray
dir=$(make_portable options)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=680" "[Appearance]" \
  "FontName=DejaVu Sans" "FontSize=20" "FontColorMode=1" "NormalFontColor=\$00000000" \
  "NormalFontStartColor=\$000000FF" "NormalFontEndColor=\$00FF0000" \
  "BackgroundColorMode=1" "NormalBackgroundColor=\$00FFFFFF" "ShowBorder=0" "FormOnTopmost=1"
# What lies under the clock. Not a corner of the screen: the tray's panel may be
# drawn across the top while it settles to its size.
desk=$(pixel 101 681)
start_clock "$dir"
WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1.5
read -r X Y W H <<<"$(geometry "$WIN")"
[ "$(pixel $((X + 1)) $((Y + 1)))" = ffffff ] || fail "the clock does not start white"
window_shot "$WIN" clock-before >/dev/null

# Strongly red and strongly blue pixels of the clock's text (the gradient's ends).
coloured() { # red|blue
  local pattern
  if [ "$1" = red ]; then pattern='#(C|D|E|F)[0-9A-F](0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F]'
  else pattern='#(0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F](C|D|E|F)[0-9A-F]'; fi
  import -window root -crop "${W}x${H}+${X}+${Y}" -depth 8 txt:- | grep -c -E "$pattern" || true
}
[ "$(coloured red)" -eq 0 ] || fail "red text before the gradient was chosen"

note "opening the dialog from the clock's right-click menu"
xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 3
sleep 0.7
shot menu
xdotool key o # the Options item by its access key
DLG=$(wait_window "$CLOCK_PID" 'オプション') || fail "no options dialog"
sleep 1
read -r DX DY DW DH <<<"$(geometry "$DLG")"
shot dialog-open
# A fixed dialog frame that asks for a close box only (the window manager may
# still add a minimise button of its own: openbox does for every dialog).
grep -q _NET_WM_WINDOW_TYPE_DIALOG <<<"$(xprop -id "$DLG" _NET_WM_WINDOW_TYPE)" ||
  fail "the options window is not a dialog"
read -r _ mwm_functions _ < <(xprop -id "$DLG" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
(((mwm_functions & 0x18) == 0 && (mwm_functions & 0x20) != 0)) ||
  fail "the frame hints ask for more than a close box: functions $mwm_functions"
actions=$(xprop -id "$DLG" _NET_WM_ALLOWED_ACTIONS)
grep -q CLOSE <<<"$actions" && ! grep -q -E 'MAXIMIZE|RESIZE' <<<"$actions" ||
  fail "the dialog can be resized or maximised: $actions"
# Places inside the dialog, in its own pixels (96 dots per inch).
click_at() { xdotool mousemove $((DX + $1)) $((DY + $2)) click 1; sleep 0.7; }
tab_at() { click_at 65 $((14 + 28 * $1)); }

note "text colour: gradient, chosen with the mouse, shows at once"
tab_at 1
window_shot "$DLG" font-page >/dev/null
click_at 167 183 # RadioButton202, the gradient
read -r X Y W H <<<"$(geometry "$WIN")"
# At once means without waiting for the next tick; a loaded machine may still take
# a moment to get the repaint to the screen.
for _ in $(seq 20); do
  reds=$(coloured red); blues=$(coloured blue)
  [ "$reds" -gt 5 ] && break
  sleep 0.25
done
[ "$reds" -gt 5 ] && [ "$blues" -gt 5 ] || fail "no gradient text: $reds red, $blues blue pixels"
window_shot "$WIN" clock-gradient >/dev/null

note "background: see-through shows the desktop at once"
click_at 167 293 # RadioButton203, see-through
see_through() { [ "$(pixel $((X + 1)) $((Y + 1)))" = "$desk" ]; }
waitfor "not see-through: the desktop ($desk) does not show through" see_through
window_shot "$WIN" clock-see-through >/dev/null

note "stacking order: to the bottom with the keyboard"
tab_at 2
click_at 160 241 # the first item, already chosen: it takes the focus
grep -q ABOVE <<<"$(xprop -id "$WIN" _NET_WM_STATE)" || fail "the clock was not topmost"
xdotool key Right # the next item of the group, chosen by the arrow key
sleep 0.7
window_shot "$DLG" window-page >/dev/null
state=$(xprop -id "$WIN" _NET_WM_STATE)
grep -q BELOW <<<"$state" && ! grep -q ABOVE <<<"$state" || fail "not at the bottom: $state"

note "the close box closes the dialog and the settings are saved at once"
extents=$(xprop -id "$DLG" _NET_FRAME_EXTENTS | grep -o '[0-9]*, [0-9]*, [0-9]*, [0-9]*$' | tr -d ',')
read -r _left _right top _bottom <<<"$extents"
shot before-close
xdotool mousemove $((DX + DW - 9)) $((DY - top / 2)) click 1
for _ in $(seq 50); do xwininfo -id "$DLG" 2>/dev/null | grep -q IsViewable || break; sleep 0.1; done
xwininfo -id "$DLG" 2>/dev/null | grep -q IsViewable && fail "the close box left the dialog open"
saved() { [ "$(ini_value "$dir/velmora.ini" Appearance "$1")" = "$2" ]; }
waitfor "the text colour mode was not saved" saved FontColorMode 2
saved BackgroundColorMode 0 || fail "background mode: $(ini_value "$dir/velmora.ini" Appearance BackgroundColorMode)"
saved FormOnTopmost 0 || fail "stacking: $(ini_value "$dir/velmora.ini" Appearance FormOnTopmost)"

note "the clock runs on"
kill -0 "$CLOCK_PID" || fail "the clock ended"
xwininfo -id "$WIN" | grep -q IsViewable || fail "the clock window is gone"
first=$(import -window root -crop "${W}x${H}+${X}+${Y}" -depth 8 rgb:- | md5sum)
sleep 2
second=$(import -window root -crop "${W}x${H}+${X}+${Y}" -depth 8 rgb:- | md5sum)
[ "$first" != "$second" ] || fail "the clock's time stands still"
[ "$(pixel $((X + 1)) $((Y + 1)))" = "$desk" ] || fail "no longer see-through after the close"
shot after-close
stop_clock
note "the options dialog changes the clock live and saves on close"
