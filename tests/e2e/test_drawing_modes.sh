# The real window in each drawing mode, on a compositing desktop: background,
# outline, gradient direction, text, see-through background and window alpha; then
# the see-through background as the compositor ends and comes back, and on a
# desktop without one.
start_compositor
sleep 0.5
# What lies under the clock, as the compositor paints the desktop (xfwm4's
# paints it black whatever the root window's colour).
desk=$(pixel 101 101)

run_mode() { # name, then settings lines
  local name=$1; shift
  local dir
  dir=$(make_portable "$name")
  write_ini "$dir/velmora.ini" "[MainForm]" "Left=100" "Top=100" "[Appearance]" \
    "FontName=DejaVu Sans" "FontSize=20" "$@"
  start_clock "$dir"
  WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "$name: no clock window"
  sleep 1.5
  read -r X Y W H <<<"$(geometry "$WIN")"
  window_shot "$WIN" "$name" >/dev/null
}

note "solid text on a solid background with an outline"
run_mode solid "NormalBackgroundColor=\$00FFFFFF" "NormalBorderColor=\$000000FF" \
  "NormalFontColor=\$00000000"
[ "$(pixel "$X" "$Y")" = ff0000 ] || fail "outline $(pixel "$X" "$Y")"
[ "$(pixel $((X + W - 1)) $((Y + H / 2)))" = ff0000 ] || fail "right outline"
[ "$(pixel $((X + 1)) $((Y + 1)))" = ffffff ] || fail "background"
[ "$(import -window root -crop "$((W - 2))x$((H - 2))+$((X + 1))+$((Y + 1))" -format %k info:)" -gt 2 ] ||
  fail "no text"
stop_clock

note "gradient text on a horizontal gradient background, no outline"
run_mode gradient "ShowBorder=0" "BackgroundColorMode=2" "BackgroundGradientDirection=0" \
  "NormalBackgroundStartColor=\$00000000" "NormalBackgroundEndColor=\$00FFFFFF" \
  "FontColorMode=2" "NormalFontStartColor=\$000000FF" "NormalFontEndColor=\$00FF0000"
left=$(pixel "$X" $((Y + 1))); right=$(pixel $((X + W - 1)) $((Y + 1)))
[ "$((16#${left:0:2}))" -lt 20 ] || fail "gradient starts dark: $left"
[ "$((16#${right:0:2}))" -gt 235 ] || fail "gradient ends light: $right"
# Red text on the left half, blue on the right: look for strongly coloured pixels.
reds=$(import -window root -crop "$((W / 3))x$((H - 2))+$X+$((Y + 1))" -depth 8 txt:- |
  grep -c -E '#(C|D|E|F)[0-9A-F](0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F]' || true)
blues=$(import -window root -crop "$((W / 3))x$((H - 2))+$((X + 2 * W / 3))+$((Y + 1))" -depth 8 txt:- |
  grep -c -E '#(0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F](C|D|E|F)[0-9A-F]' || true)
[ "$reds" -gt 5 ] && [ "$blues" -gt 5 ] || fail "text gradient: $reds red, $blues blue pixels"
stop_clock

note "see-through background: the desktop shows, key pixels let clicks through"
run_mode transparent "BackgroundColorMode=0" "NormalBackgroundColor=\$00C0DCC0" \
  "NormalBorderColor=\$000000FF"
[ "$(pixel $((X + 1)) $((Y + 1)))" = "$desk" ] || fail "not see-through: $(pixel $((X + 1)) $((Y + 1)))"
[ "$(pixel "$X" "$Y")" = ff0000 ] || fail "outline missing on a see-through clock"
# A window under the clock gets the click that lands on a see-through pixel.
xev -geometry 600x200+50+50 -event button >"$E2E_WORK/xev.log" 2>&1 &
xevpid=$!
sleep 1
xdotool windowraise "$WIN"
sleep 0.3
xdotool mousemove $((X + 1)) $((Y + 1)) click 1
sleep 0.5
grep -q ButtonPress "$E2E_WORK/xev.log" || fail "the click did not pass through"
: >"$E2E_WORK/xev.log"
xdotool mousemove "$X" "$Y" click 1 # the outline is the clock's own
sleep 0.5
grep -q ButtonPress "$E2E_WORK/xev.log" && fail "a click on the outline passed through"
kill "$xevpid"
stop_clock

note "whole-window alpha 128 over a known window"
# A plain blue window lies under the clock; the clock stays above it.
xmessage -bg '#0000ff' -fg '#0000ff' -geometry 600x150+20+60 -name under "" >/dev/null 2>&1 &
under=$!
sleep 1
below=$(pixel 101 101)
[ "$below" = 0000ff ] || fail "the window below is not where it should be: $below"
run_mode alpha "AlphaBlend=1" "AlphaBlendValue=128" "NormalBackgroundColor=\$00FFFFFF" "ShowBorder=0"
got=$(pixel $((X + 1)) $((Y + 1)))
# 128/255 of white over blue: red and green about 128, blue 255.
r=$((16#${got:0:2})); b=$((16#${got:4:2}))
[ "$r" -ge 122 ] && [ "$r" -le 134 ] && [ "$b" -ge 250 ] || fail "alpha blend gave $got over $below"
stop_clock
kill "$under" 2>/dev/null || true
# The see-through clock over a window that reports clicks: what lies below shows
# through the key-coloured pixels and gets the clicks there; the outline is the
# clock's own. A press on the clock starts a window-manager move, which may wait
# for one more click: the outline is clicked only as the last check of a clock.
see_through_checks() { # what lies below, the step, "last" for the last check
  local under=$1 what=$2 last=${3:-}
  xdotool windowraise "$WIN"
  sleep 0.3
  [ "$(pixel $((X + 1)) $((Y + 1)))" = "$under" ] ||
    fail "$what: not see-through: $(pixel $((X + 1)) $((Y + 1))) over $under"
  [ "$(pixel "$X" "$Y")" = ff0000 ] || fail "$what: outline $(pixel "$X" "$Y")"
  : >"$E2E_WORK/xev.log"
  xdotool mousemove $((X + 1)) $((Y + 1)) click 1
  sleep 0.5
  grep -q ButtonPress "$E2E_WORK/xev.log" || fail "$what: the click did not pass through"
  [ "$last" = last ] || return 0
  : >"$E2E_WORK/xev.log"
  xdotool mousemove "$X" "$Y" click 1
  sleep 0.5
  grep -q ButtonPress "$E2E_WORK/xev.log" && fail "$what: a click on the outline passed through"
  return 0
}
see_through=("BackgroundColorMode=0" "NormalBackgroundColor=\$00C0DCC0" "NormalBorderColor=\$000000FF")
xev -geometry 600x200+50+50 -event button >"$E2E_WORK/xev.log" 2>&1 &
xevpid=$!
sleep 1
under=$(pixel 101 101)

note "see-through background while the compositor ends and comes back"
run_mode see-through-blended "${see_through[@]}"
see_through_checks "$under" "blended"
stop_compositor
sleep 1.5
window_shot "$WIN" see-through-compositor-gone >/dev/null
see_through_checks "$under" "after the compositor ended"
start_compositor
sleep 1.5
window_shot "$WIN" see-through-compositor-back >/dev/null
see_through_checks "$under" "with the compositor back" last
stop_clock

note "see-through background started without a compositor"
stop_compositor
sleep 0.5
under=$(pixel 101 101)
run_mode see-through-shaped "${see_through[@]}"
see_through_checks "$under" "shaped" last
stop_clock
kill "$xevpid"
note "drawing modes look right"
