#!/usr/bin/env bash
# Idle cost of the clock beside xclock -update 1, in one run on one display:
# CPU time used, wake-ups (context switches) and resident memory over N seconds.
#   bench/idle_cost.sh <portable folder> [seconds]
set -euo pipefail
dist=$(readlink -f "$1")
secs=${2:-60}
work=$(mktemp -d)
cp -a "$dist"/. "$work/"
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { awk '/ctxt_switches/{s+=$2} END{print s}' /proc/$1/task/*/status; }
rss_kb() { awk '/VmRSS/{print $2}' "/proc/$1/status"; }

"$work/velmora" >/dev/null 2>&1 &
clock=$!
xclock -update 1 >/dev/null 2>&1 &
peer=$!
sleep 5 # both settled after start-up
c0=$(cpu_ticks $clock); p0=$(cpu_ticks $peer)
cs0=$(switches $clock); ps0=$(switches $peer)
sleep "$secs"
c1=$(cpu_ticks $clock); p1=$(cpu_ticks $peer)
cs1=$(switches $clock); ps1=$(switches $peer)
hz=$(getconf CLK_TCK)
printf '%-18s %12s %14s %10s\n' program "cpu ms/${secs}s" "wakeups/s" "rss KiB"
printf '%-18s %12d %14.1f %10d\n' velmora $(((c1 - c0) * 1000 / hz)) \
  "$(echo "($cs1 - $cs0) / $secs" | bc -l)" "$(rss_kb $clock)"
printf '%-18s %12d %14.1f %10d\n' "xclock -update 1" $(((p1 - p0) * 1000 / hz)) \
  "$(echo "($ps1 - $ps0) / $secs" | bc -l)" "$(rss_kb $peer)"
kill $clock $peer
wait 2>/dev/null || true
rm -rf "$work"
