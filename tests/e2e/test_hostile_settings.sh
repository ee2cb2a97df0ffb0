# Settings far outside their ranges cannot push the clock around: a scale of
# 1000, the smallest integer as the font size and two billion commands over
# 20 000 sections. The window stays within the screen, the memory near the
# default look's, and the window comes up and goes away about as fast as with
# the default look, measured in the same run.
now_ms() { date +%s%3N; }
rss_kb() { awk '/^VmRSS:/{print $2}' "/proc/$1/status"; }

# Starts the clock of <dir>, waits for its window, answers a message box if one
# comes, lets it run, then quits it. Sets UP_MS, QUIT_MS, RSS_KB, GEOMETRY.
run_clock() {
  local dir=$1 t0 box
  t0=$(now_ms)
  start_clock "$dir"
  win=$(wait_window "$CLOCK_PID" '^MainForm$' 300) || fail "no clock window for $dir"
  UP_MS=$(($(now_ms) - t0))
  GEOMETRY=$(geometry "$win")
  sleep 3
  if box=$(wait_window "$CLOCK_PID" '^Velmora \[' 30); then
    shot "box-$(basename "$dir")"
    answer_box "$box"
    sleep 1
  fi
  RSS_KB=$(rss_kb "$CLOCK_PID")
  t0=$(now_ms)
  stop_clock
  QUIT_MS=$(($(now_ms) - t0))
}

usual=$(make_portable usual)
write_ini "$usual/velmora.ini" "[MainForm]" "Left=100" "Top=100" \
  "[Appearance]" "FontColorMode=2"
run_clock "$usual"
usual_up=$UP_MS usual_quit=$QUIT_MS usual_rss=$RSS_KB
note "usual: up ${usual_up} ms, quit ${usual_quit} ms, ${usual_rss} kB"

hostile=$(make_portable hostile)
python3 - "$hostile/velmora.ini" <<'PY'
import sys
lines = ["[MainForm]", "Left=100", "Top=100", "[Appearance]", "FontColorMode=2",
         "ScalingRateX=1000", "ScalingRateY=1000", "FontSize=-2147483648",
         "[CommandList]", "Count=2000000000"]
for k in range(20000):
    lines += ["[Command%d]" % k, "Title=c%d" % k]
text = "".join(l + "\r\n" for l in lines)
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
run_clock "$hostile"
note "hostile: up ${UP_MS} ms, quit ${QUIT_MS} ms, ${RSS_KB} kB, window $GEOMETRY"
read -r _ _ w h <<<"$GEOMETRY"
read -r sw sh <<<"$(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')"
[ "$w" -le "$sw" ] && [ "$h" -le "$sh" ] || fail "window ${w}x${h} larger than the screen ${sw}x${sh}"
[ "$RSS_KB" -le $((2 * usual_rss)) ] || fail "memory ${RSS_KB} kB, the usual look takes ${usual_rss} kB"
[ "$UP_MS" -le $((2 * usual_up + 2000)) ] || fail "window up after ${UP_MS} ms, usually ${usual_up} ms"
[ "$QUIT_MS" -le $((2 * usual_quit + 2000)) ] || fail "quit took ${QUIT_MS} ms, usually ${usual_quit} ms"
[ "$(ini_value "$hostile/velmora.ini" CommandList Count)" = 1000 ] || fail "command count not limited on save"
[ "$(ini_value "$hostile/velmora.ini" Command19999 Title)" = c19999 ] || fail "commands beyond the limit lost"
[ "$(ini_value "$hostile/velmora.ini" Appearance ScalingRateX)" = 1.25 ] || fail "scale not limited"
note "hostile settings are kept in their ranges"
