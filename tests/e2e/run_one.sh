#!/usr/bin/env bash
# Runs one end-to-end test on a throwaway desktop of its own:
#   run_one.sh tests/e2e/test_x.sh <portable folder>
# Everything lives in a fresh temporary folder: the session bus, the runtime
# folder, HOME, the copies of the program. Nothing of the machine's own is touched.
set -euo pipefail
script=$(readlink -f "$1")
export VELMORA_DIST=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$VELMORA_DIST/velmora" ] || { echo "no installed program in $VELMORA_DIST"; exit 1; }

export E2E_WORK=$(mktemp -d /tmp/velmora-e2e.XXXXXX)
chmod 755 "$E2E_WORK"
export XDG_RUNTIME_DIR=$E2E_WORK/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/.config
mkdir -p "$XDG_CONFIG_HOME"
export E2E_ARTIFACTS=$here/artifacts/$(basename "$script" .sh)
rm -rf "$E2E_ARTIFACTS"; mkdir -p "$E2E_ARTIFACTS"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER

# The desktop runs in a session of its own: whatever it started, however deep,
# ends with it by that session's id, and nothing else on the machine does.
set +e
setsid dbus-run-session -- bash "$here/desktop.sh" "$script" &
session=$!
wait "$session"
rc=$?
set -e
pkill -KILL -s "$session" 2>/dev/null || true
rm -rf "$E2E_WORK"
exit $rc
