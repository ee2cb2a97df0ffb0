# Helpers for the end-to-end tests: start and stop the clock, find its windows,
# read its settings file, look at pixels.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; shot "failure" || true; exit 1; }
check() { local msg=$1; shift; "$@" || fail "$msg"; }
note() { echo "-- $*"; }

# A fresh copy of the portable folder; prints its path.
make_portable() {
  local dir=$E2E_WORK/${1:-clock}
  mkdir -p "$dir"
  # What the install put there, never what a clock started from it has written
  # since (settings, language files).
  local item
  for item in velmora VelmoSound Help Sync; do
    [ -e "$VELMORA_DIST/$item" ] && cp -a "$VELMORA_DIST/$item" "$dir"/
  done
  echo "$dir"
}

# Starts <folder>/velmora in the background; sets CLOCK_PID.
start_clock() {
  local dir=$1; shift
  env "$@" "$dir/velmora" >>"$dir/output.log" 2>&1 &
  CLOCK_PID=$!
}

# Waits for a window of a process whose title matches; prints its id.
wait_window() {
  local pid=$1 title=$2 tries=${3:-100} ids
  for _ in $(seq "$tries"); do
    ids=$(xdotool search --all --pid "$pid" --name "$title" 2>/dev/null || true)
    for id in $ids; do
      if xwininfo -id "$id" 2>/dev/null | grep -q "IsViewable"; then echo "$id"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}

# Waits until a process has ended (its exit code in GONE_RC); fails after ~10 s.
wait_gone() {
  local pid=$1
  GONE_RC=
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      GONE_RC=0
      wait "$pid" 2>/dev/null || GONE_RC=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

stop_clock() {
  local pid=${1:-$CLOCK_PID} sig=${2:-TERM}
  kill -"$sig" "$pid"
  check "the clock ended after SIG$sig" wait_gone "$pid"
}

# The settings file as UTF-8 lines without CR (the BOM dropped).
ini_text() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }
# A value by section and key, names compared without regard to case.
ini_value() {
  ini_text "$1" | awk -F= -v s="[$2]" -v k="$3" '
    tolower($0)==tolower(s){on=1;next} /^\[/{on=0}
    on&&tolower($1)==tolower(k){sub(/^[^=]*=/,"");print;exit}'
}

# Colour of a screen pixel as rrggbb.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -1 | tr -d '#' | tr 'A-F' 'a-f'
}

shot() { import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null; }

# Geometry of a window on the screen: "x y w h".
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# Answers a message box as a user would: activates it and presses Return.
answer_box() {
  local box=$1
  xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers Return >/dev/null 2>&1 || wmctrl -i -c "$box"
}

# A compositing manager, for real per-pixel transparency and window alpha: picom
# on openbox; the window manager's own compositor on xfce and kwin (a second
# compositor would not get the screen). xfwm4's is switched through its
# settings, kwin's suspended and resumed over D-Bus.
start_compositor() {
  case $E2E_WM in
  kwin)
    kwin_compositing resume || fail "kwin's compositor did not resume"
    sleep 0.5 # its first frame
    return 0
    ;;
  xfce) xfwm4_compositing true ;;
  *)
    picom --backend xrender --config /dev/null --no-fading-openclose >"$E2E_WORK/picom.log" 2>&1 &
    COMPOSITOR_PID=$!
    ;;
  esac
  for _ in $(seq 100); do has_compositor && break; sleep 0.05; done
  has_compositor || fail "the compositor did not start: $(cat "$E2E_WORK/picom.log" 2>/dev/null)"
  sleep 0.5 # its first frame
}
stop_compositor() {
  case $E2E_WM in
  kwin)
    # kwin keeps the compositor selection while suspended: ask it instead.
    kwin_compositing suspend || fail "kwin's compositor did not suspend"
    return 0
    ;;
  xfce) xfwm4_compositing false ;;
  *)
    kill "$COMPOSITOR_PID"
    wait "$COMPOSITOR_PID" 2>/dev/null || true
    ;;
  esac
  for _ in $(seq 100); do has_compositor || break; sleep 0.05; done
  has_compositor && fail "the compositor did not end"
  return 0
}
xfwm4_compositing() { # true or false
  xfconf-query -c xfwm4 -p /general/use_compositing -n -t bool -s "$1" ||
    fail "cannot switch xfwm4's compositor to $1"
}
kwin_compositing() { # suspend or resume; waits until the compositor has followed
  local want=false
  [ "$1" = resume ] && want=true
  dbus-send --session --print-reply --dest=org.kde.KWin /Compositor "org.kde.kwin.Compositing.$1" \
    >/dev/null 2>&1 || return 1
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.kde.KWin /Compositor \
      org.freedesktop.DBus.Properties.Get string:org.kde.kwin.Compositing string:active \
      2>/dev/null | grep -q "boolean $want" && return 0
    sleep 0.1
  done
  return 1
}
# Whether a compositing manager owns the screen's compositor selection.
has_compositor() {
  /usr/bin/python3 - <<'PY'
import ctypes, ctypes.util, sys
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XGetSelectionOwner.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if not d:
    sys.exit(2)
owner = x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_WM_CM_S0", 0))
x.XCloseDisplay(d)
sys.exit(0 if owner else 1)
PY
}

# Writes a settings file (UTF-16 LE with BOM, CR LF) from the given text lines.
write_ini() {
  local file=$1; shift
  { printf '\xff\xfe'; printf '%s\n' "$@" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$file"
}

# The stacking order of managed windows, bottom first, as window ids in decimal.
stacking() {
  xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | while read -r w; do printf '%d\n' "$w"; done
}

# Crops the window's pixels into a PNG artefact and prints its path.
window_shot() {
  local win=$1 name=$2
  read -r x y w h <<<"$(geometry "$win")"
  import -window root -crop "${w}x${h}+${x}+${y}" "$E2E_ARTIFACTS/$name.png"
  echo "$E2E_ARTIFACTS/$name.png"
}

# Waits up to ~15 s for a command to succeed, else fails with <what>.
waitfor() {
  local what=$1; shift
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  fail "$what"
}

has_bus_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# dunst as the notification service, with dbus-monitor logging its traffic to
# $NOTIFY_LOG.
start_notifications() {
  dunst >"$E2E_WORK/dunst.log" 2>&1 &
  DUNST_PID=$!
  waitfor "dunst did not take the notification service" has_bus_owner org.freedesktop.Notifications
  NOTIFY_LOG=$E2E_WORK/notifications.log
  dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$NOTIFY_LOG" 2>&1 &
  sleep 0.5
}

# trayer as the tray host; TRAY_WIN is its panel, which holds the icons.
tray_window() { xdotool search --classname '^panel$' 2>/dev/null | head -1; }
has_tray() { [ -n "$(tray_window)" ]; }
start_tray() {
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --expand true --transparent false >"$E2E_WORK/trayer.log" 2>&1 &
  TRAYER_PID=$!
  waitfor "trayer showed no window" has_tray
  TRAY_WIN=$(tray_window)
}

# A helper program built with the tests (tests/e2e/tools): prints its path.
find_tool() {
  local here c
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  for c in "$here"/../../build*/tests/"$1"; do
    [ -x "$c" ] && { echo "$c"; return 0; }
  done
  return 1
}

# A short, loud wav file (8 kHz, 8-bit, 1 s of a square wave).
make_wav() {
  local file=$1 n=8000
  {
    printf 'RIFF'; printf '%08x' $((36 + n)) | sed 's/\(..\)\(..\)\(..\)\(..\)/\\x\4\\x\3\\x\2\\x\1/' | xargs -0 printf
    printf 'WAVEfmt '; printf '\x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00'
    printf 'data'; printf '%08x' $n | sed 's/\(..\)\(..\)\(..\)\(..\)/\\x\4\\x\3\\x\2\\x\1/' | xargs -0 printf
    for _ in $(seq $((n / 40))); do printf '\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0\xe0'; done
  } >"$file"
}

# "hh:mm:ss" of the wall clock `secs` seconds from now.
time_in() { date -d "+$1 seconds" +%H:%M:%S; }

# The clock's visible windows (the clock, and a popup menu or submenu while one
# is open), sorted.
menu_windows() { xdotool search --all --pid "$CLOCK_PID" --onlyvisible --name '' 2>/dev/null | sort; }

# A plain window titled $1 at $2,$3 (size $4, else 300x200), activated; sets
# TEST_WIN and TEST_PID.
open_window() {
  xmessage -geometry "${4:-300x200}+$2+$3" -title "$1" "$1" >/dev/null 2>&1 &
  TEST_PID=$!
  TEST_WIN=
  for _ in $(seq 50); do
    TEST_WIN=$(xdotool search --name "^$1\$" 2>/dev/null | tail -1 || true)
    [ -n "$TEST_WIN" ] && break
    sleep 0.1
  done
  [ -n "$TEST_WIN" ] || fail "no window $1"
  xdotool windowactivate --sync "$TEST_WIN" >/dev/null 2>&1 || true
  sleep 0.3
}

# Opens a window over the clock window $win and activates it, then runs the
# double-click given as a command and waits until the clock is the active
# window. The cover window stays, for the caller to look at the stacking: COVER
# is its id, COVER_PID its process.
double_click_brings_forward() {
  local what=$1; shift
  open_window cover 250 280 400x200
  COVER=$TEST_WIN COVER_PID=$TEST_PID
  sleep 0.2
  "$@" || fail "$what: $* failed"
  waitfor "$what did not bring the clock forward" clock_is_active
}
clock_is_active() {
  [ "$(printf '%d\n' "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -1)")" = "$win" ]
}

# Right-clicks the clock window <win> and walks down the popup menu until an
# item opens a submenu (the first is the language one); fails when none does.
open_language_submenu() {
  local x y w h before found=
  read -r x y w h <<<"$(geometry "$1")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  sleep 0.7
  before=$(menu_windows)
  for _ in $(seq 10); do
    xdotool key Down
    sleep 0.15
    xdotool key Right
    sleep 0.4
    if [ "$(menu_windows | wc -l)" -gt "$(echo "$before" | wc -l)" ]; then found=1; break; fi
  done
  [ -n "$found" ] || fail "no language submenu"
}

# Drags window <win> with the left button by (150, 100) in five steps and checks
# that it followed; its new place in NX, NY.
drag_by_150_100() {
  local x y w h step
  read -r x y w h <<<"$(geometry "$1")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) mousedown 1
  sleep 0.2
  for step in 1 2 3 4 5; do
    xdotool mousemove $((x + w / 2 + step * 30)) $((y + h / 2 + step * 20))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
  read -r NX NY w h <<<"$(geometry "$1")"
  [ "$NX" -eq $((x + 150)) ] && [ "$NY" -eq $((y + 100)) ] || fail "dragged from $x,$y to $NX,$NY"
}

# Whether the pixels of window <win> change within 1.3 s (the clock ticks).
window_changes() {
  local a b
  a=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
  sleep 1.3
  b=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
  [ "$a" != "$b" ]
}

# Starts a D-Bus daemon of our own on socket <path>, where anyone may own any
# name and call anything. With [servicedir] it is a session bus that starts
# services from that folder only (they then find it as their session bus).
# Waits for it.
start_private_bus() {
  local socket=$1 services=${2:-} conf=$1.conf
  {
    echo '<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"'
    echo ' "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">'
    echo "<busconfig>"
    echo "  <listen>unix:path=$socket</listen>"
    echo "  <auth>EXTERNAL</auth>"
    if [ -n "$services" ]; then
      echo "  <type>session</type>"
      echo "  <servicedir>$services</servicedir>"
    fi
    echo '  <policy context="default">'
    echo '    <allow user="*"/>' # a test may run the clock as a user of its own
    echo '    <allow send_destination="*" eavesdrop="true"/>'
    echo '    <allow eavesdrop="true"/>'
    echo '    <allow own="*"/>'
    echo "  </policy>"
    echo "</busconfig>"
  } >"$conf"
  dbus-daemon --config-file="$conf" --nofork --nopidfile >"$socket.log" 2>&1 &
  waitfor "no private bus at $socket" test -S "$socket"
}

# start_time_service [accept|refuse]: the system's time service for the sync
# tests, never the machine's: on a private system bus (made on the first call,
# and DBUS_SYSTEM_BUS_ADDRESS pointed at it) a fresh stand-in that owns
# org.freedesktop.timedate1, answers as asked and records every call in
# $TIMEDATE_LOG. A stand-in this test started before is ended first.
start_time_service() {
  local mode=${1:-accept} timedate bus=$E2E_WORK/system_bus
  timedate=$(find_tool FakeTimedate) || fail "no FakeTimedate built"
  [ -S "$bus" ] || start_private_bus "$bus"
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$bus"
  if [ -n "${TIMEDATE_PID:-}" ]; then
    kill "$TIMEDATE_PID"
    wait "$TIMEDATE_PID" 2>/dev/null || true
  fi
  TIMEDATE_LOG=$E2E_WORK/timedate-$mode.log
  "$timedate" "$mode" >"$TIMEDATE_LOG" 2>&1 &
  TIMEDATE_PID=$!
  waitfor "the stand-in time service did not start" grep -q '^owned' "$TIMEDATE_LOG"
}
# How many times the time service was asked to set the clock.
set_time_calls() { grep -c '^SetTime' "$TIMEDATE_LOG" || true; }

# sync_from_menu <window>: right-click the clock, the first item (the time sync).
sync_from_menu() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  sleep 0.7
  xdotool key Down
  sleep 0.2
  xdotool key Return
}

# start_ntp_server <offset-ms> [address] [port]: a loopback NTP server (the
# build's NtpServer) that many milliseconds ahead; prints the port it listens on.
start_ntp_server() {
  local server log=$E2E_WORK/ntp-$1-${2:-127.0.0.1}.log
  server=$(find_tool NtpServer) || fail "no NtpServer built"
  "$server" "${3:-0}" "$1" "${2:-127.0.0.1}" >"$log" 2>&1 &
  waitfor "the NTP server ($1 ms) did not start" grep -q '^ready [0-9]' "$log"
  awk '/^ready/{print $2; exit}' "$log"
}
