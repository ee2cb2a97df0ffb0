#!/usr/bin/env bash
# Runs the tests that depend on the window manager on one desktop and prints
# pass or fail for each:
#   run_desktop.sh <openbox|xfce|kwin> [test names...] [-- <portable folder>]
# Without names: stacking, drag and quick clicks, focus and the alarm blink,
# full-screen step-aside, the see-through drawing and the status-item menu.
# The portable folder defaults to dist/Velmora; a failing test keeps its output
# in tests/e2e/artifacts/<name>/output.log.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
wm=$1; shift
case $wm in openbox | xfce | kwin) ;; *) echo "unknown desktop: $wm" >&2; exit 2 ;; esac
dist=$here/../../dist/Velmora
names=()
while [ $# -gt 0 ]; do
  if [ "$1" = -- ]; then dist=${2:?no portable folder after --}; break; fi
  names+=("${1%.sh}"); shift
done
[ ${#names[@]} -gt 0 ] || names=(test_stacking_and_drag test_quick_click_stays
  test_focus_and_alarm_menu test_hide_on_fullscreen test_drawing_modes
  test_tray_status_item_menu)

failed=0 skipped=0
for name in "${names[@]}"; do
  name=test_${name#test_}
  script=$here/$name.sh
  [ -f "$script" ] || { echo "$name: no such test" >&2; failed=$((failed + 1)); continue; }
  log=$(mktemp /tmp/velmora-desktop.XXXXXX)
  if E2E_WM=$wm bash "$here/run_one.sh" "$script" "$dist" >"$log" 2>&1; then
    # A test that needs what this desktop lacks says so and passes.
    if grep -q '^-- needs ' "$log"; then
      printf 'SKIP  %s (%s): %s\n' "$name" "$wm" "$(grep -m1 '^-- needs ' "$log" | cut -c4-)"
      skipped=$((skipped + 1))
    else
      printf 'PASS  %s (%s)\n' "$name" "$wm"
    fi
  else
    printf 'FAIL  %s (%s): %s\n' "$name" "$wm" "$(grep -m1 '^FAIL' "$log" || tail -1 "$log")"
    mkdir -p "$here/artifacts/$name" && cp "$log" "$here/artifacts/$name/output.log"
    failed=$((failed + 1))
  fi
  rm -f "$log"
done
echo "$wm: $((${#names[@]} - failed - skipped)) passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
