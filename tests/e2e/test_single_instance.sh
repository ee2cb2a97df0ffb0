# One clock per session: a second start says so, brings the first to the front and
# ends without touching the settings; after the first is killed, a new start runs.
dir=$(make_portable)
copy=$(make_portable other-copy)
mv "$copy/velmora" "$copy/velmora-renamed"
start_clock "$dir"
first=$CLOCK_PID
win=$(wait_window "$first" '^MainForm$') || fail "no clock window"
# Something else takes the focus, so that activation can be seen.
xmessage -name focus-thief "other window" 2>/dev/null &
thief=$!
thief_win=
for _ in $(seq 100); do
  thief_win=$(xdotool search --onlyvisible --classname '^focus-thief$' 2>/dev/null | head -1 || true)
  [ -n "$thief_win" ] && break
  sleep 0.1
done
[ -n "$thief_win" ] || fail "the other window did not show"
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
steal_focus() {
  xdotool windowactivate "$thief_win" 2>/dev/null || true
  waitfor "the other window did not take the focus" active_is "$thief_win"
}
steal_focus
active_is "$win" && fail "the clock was already active"

for exe in "$dir/velmora" "$copy/velmora-renamed"; do
  "$exe" >>"$E2E_WORK/second.log" 2>&1 &
  second=$!
  box=$(wait_window "$second" '^Velmora \[Information\]$') || fail "no notice from $exe"
  shot second-instance
  answer_box "$box"
  wait_gone "$second" || fail "the second start did not end"
  [ "$GONE_RC" = 0 ] || fail "second start exit code $GONE_RC"
  kill -0 "$first" || fail "the first clock ended"
  sleep 0.5
  active_is "$win" || fail "the first clock was not brought to the front: $(xdotool getactivewindow getwindowname 2>&1)"
  above=$(stacking | grep -n -x -e "$win" -e "$thief_win" | tail -1 | cut -d: -f2)
  [ "$above" = "$win" ] || fail "the first clock is still below the other window"
  steal_focus
done
[ ! -e "$dir/velmora.ini" ] || fail "the settings file was touched"
[ ! -e "$copy/velmora-renamed.ini" ] || fail "the copy wrote settings"
kill "$thief" 2>/dev/null || true

note "after kill -9 of the first, a new start runs"
kill -KILL "$first"
wait_gone "$first"
start_clock "$dir"
wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock after a crash of the first"
xdotool search --all --pid "$CLOCK_PID" --name '^Velmora \[' >/dev/null 2>&1 && fail "a notice after the crash"
stop_clock
[ -e "$dir/velmora.ini" ] || fail "no settings after a normal end"
note "single instance holds"
