#!/usr/bin/env bash
# The sync tool beside chronyd, in one run against the same loopback NTP server
# that runs a known offset ahead: measured offset, its error, and run time.
# Neither sets the clock: VelmoSync measures only (VELMORA_SYNC_DRY_RUN), and
# `chronyd -Q` only reports. Needs the build (build/tests/NtpServer) and the
# installed folder (dist/Velmora), and chrony (Debian package).
#   bench/sync_vs_chrony.sh [offset-ms] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
offset=${1:-1500}
runs=${2:-5}
server=build/tests/NtpServer
tool=dist/Velmora/Sync/VelmoSync
[ -x "$server" ] && [ -x "$tool" ] || { echo "build and install first (scripts/test)"; exit 1; }
command -v chronyd >/dev/null || { echo "chronyd missing (apt-get install chrony)"; exit 1; }
work=$(mktemp -d)
"$server" 0 "$offset" >"$work/ntp.log" 2>&1 &
srv=$!
for _ in $(seq 100); do grep -q '^ready' "$work/ntp.log" && break; sleep 0.05; done
port=$(awk '/^ready/{print $2; exit}' "$work/ntp.log")
ms() { date +%s%N; }
printf '%-10s %4s %14s %12s %12s\n' client run "offset ms" "error ms" "time ms"
for i in $(seq "$runs"); do
  t0=$(ms)
  got=$(VELMORA_SYNC_DRY_RUN=1 XDG_RUNTIME_DIR="$work" "$tool" "127.0.0.1:$port" || true)
  t1=$(ms)
  printf '%-10s %4d %14.3f %12.3f %12d\n' VelmoSync "$i" "$got" \
    "$(echo "$got - $offset" | bc -l)" $(((t1 - t0) / 1000000))
  t0=$(ms)
  out=$(chronyd -Q -f /dev/null -u root "server 127.0.0.1 port $port iburst maxsamples 4" 2>&1 || true)
  t1=$(ms)
  # "System clock wrong by 1.500021 seconds" (positive: the clock is behind).
  sec=$(sed -n 's/.*System clock wrong by \([-0-9.e]*\) seconds.*/\1/p' <<<"$out" | tail -1)
  [ -n "$sec" ] || sec=nan
  cms=$(echo "$sec * 1000" | bc -l 2>/dev/null || echo nan)
  printf '%-10s %4d %14.3f %12.3f %12d\n' chronyd "$i" "$cms" \
    "$(echo "$cms - $offset" | bc -l 2>/dev/null || echo nan)" $(((t1 - t0) / 1000000))
done
kill "$srv" 2>/dev/null || true
rm -rf "$work"
