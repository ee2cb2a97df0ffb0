# The first clock answers a second start even while its own start-up message is
# still open: it listens on its channel before it builds its window, and comes to
# the front once that message is answered.
dir=$(make_portable)
printf '[MainForm]\nLeft=100\nTop=100\n' >"$dir/velmora.ini" # not UTF-16: a warning at start
start_clock "$dir"
first=$CLOCK_PID
notice() { xdotool search --all --pid "$first" --onlyvisible --name '^Velmora \[' 2>/dev/null | head -1; }
has_notice() { [ -n "$(notice)" ]; }
waitfor "no start-up message" has_notice
box=$(notice)
xdotool search --all --pid "$first" --onlyvisible --name '^MainForm$' >/dev/null 2>&1 &&
  fail "the clock window came before its start-up message was answered"
sock=$(find "$XDG_RUNTIME_DIR" -name '*.sock' 2>/dev/null | head -1)
[ -n "$sock" ] || fail "no instance channel while the start-up message is open"

note "a second start meanwhile"
"$dir/velmora" >>"$E2E_WORK/second.log" 2>&1 &
second=$!
sbox=$(wait_window "$second" '^Velmora \[') || fail "no notice from the second start"
answer_box "$sbox"
wait_gone "$second" || fail "the second start did not end"
kill -0 "$first" || fail "the first clock ended"

note "the start-up message answered: the clock comes to the front"
answer_box "$box"
win=$(wait_window "$first" '^MainForm$') || fail "no clock window"
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ]; }
waitfor "the clock was not brought to the front" active
stop_clock "$first"
note "the first instance listens before its window exists"
