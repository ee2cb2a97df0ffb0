#!/usr/bin/env bash
# Runs the benchmarks on a virtual display of their own.
#   bench/run.sh [seconds]      (after scripts/test or scripts/run has built everything)
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
[ -x build/bench/velmora_tick_latency ] || cmake --build build --target velmora_tick_latency
[ -x dist/Velmora/velmora ] || cmake --install build
work=$(mktemp -d)
Xvfb -screen 0 1024x768x24 -nolisten tcp -displayfd 3 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
echo "== repaint delay after each wall-clock second (${secs}s)"
XDG_RUNTIME_DIR=$work build/bench/velmora_tick_latency "$secs"
echo "== paint cost per tick in each drawing mode"
[ -x build/bench/velmora_paint_cost ] || cmake --build build --target velmora_paint_cost
build/bench/velmora_paint_cost 2000
echo "== options dialog: menu action to first paint, beside a stock QDialog"
[ -x build/bench/velmora_option_open ] || cmake --build build --target velmora_option_open
XDG_RUNTIME_DIR=$work build/bench/velmora_option_open 20
echo "== idle cost beside xclock (${secs}s)"
bash bench/idle_cost.sh dist/Velmora "$secs"
kill $wm $xvfb 2>/dev/null || true
rm -rf "$work"
