#!/usr/bin/env bash
# Inside the private session bus: a virtual screen and a window manager, then the test.
set -uo pipefail
script=$1
# A test may ask for another screen size with a line "# e2e-screen: WxH".
size=$(sed -n 's/^# e2e-screen: *\([0-9]*x[0-9]*\).*/\1/p' "$script" | head -1)
Xvfb -screen 0 "${size:-1024x768}x24" -nolisten tcp -ac -displayfd 3 3>"$E2E_WORK/display" \
  >"$E2E_WORK/xvfb.log" 2>&1 &
pids=($!)
for _ in $(seq 100); do [ -s "$E2E_WORK/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$E2E_WORK/display")"
openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
# A plain grey desktop, so that pixel checks know what lies under the clock.
xsetroot -solid '#404040' 2>/dev/null || true

bash -c "source '$(dirname "$0")/lib.sh'; source '$script'"
rc=$?
for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
wait 2>/dev/null
exit $rc
