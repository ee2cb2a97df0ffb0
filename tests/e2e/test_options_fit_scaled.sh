# e2e-screen: 1600x1000
# The options dialog fits a scaled screen: at a scale factor of 2 on a 1600 x 1000
# screen (800 x 500 logical pixels) the whole dialog, frame and bottom bar with
# the save button included, lies on the screen; its pages scroll instead; it has
# no maximise or resize action; and the save button closes it and saves.
start_tray
dir=$(make_portable fit)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=20" "Top=460"
start_clock "$dir" QT_SCALE_FACTOR=2
WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1
read -r X Y W H <<<"$(geometry "$WIN")"
xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 3
sleep 0.7
xdotool key o # the Options item by its access key
DLG=$(wait_window "$CLOCK_PID" 'オプション') || fail "no options dialog"
sleep 1.5
shot dialog-scaled
read -r DX DY DW DH <<<"$(geometry "$DLG")"
read -r fl fr ft fb < <(xprop -id "$DLG" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
note "dialog at $DX,$DY size ${DW}x$DH, frame $fl $fr $ft $fb"
read -r ax ay aw ah < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | cut -d' ' -f1-4)
((DX - fl >= ax && DY - ft >= ay && DX + DW + fr <= ax + aw && DY + DH + fb <= ay + ah)) ||
  fail "the dialog ($DX,$DY ${DW}x$DH, frame $fl $fr $ft $fb) leaves the work area $ax,$ay ${aw}x$ah"
actions=$(xprop -id "$DLG" _NET_WM_ALLOWED_ACTIONS)
grep -q CLOSE <<<"$actions" && ! grep -q -E 'MAXIMIZE|RESIZE' <<<"$actions" ||
  fail "the dialog can be resized or maximised: $actions"

note "the save button, at the bottom right, closes the dialog and saves"
rm -f "$dir/velmora.ini"
# The button is 189 x 21 logical pixels, 8 from the right edge, 10 from the bottom.
xdotool mousemove $((DX + DW - 2 * 100)) $((DY + DH - 2 * 16)) click 1
for _ in $(seq 50); do
  xwininfo -id "$DLG" 2>/dev/null | grep -q IsViewable || break
  sleep 0.1
done
xwininfo -id "$DLG" 2>/dev/null | grep -q IsViewable && fail "the save button did not close the dialog"
waitfor "no settings saved" test -s "$dir/velmora.ini"
stop_clock
note "the options dialog fits the scaled screen"
