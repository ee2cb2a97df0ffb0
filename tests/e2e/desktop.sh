#!/usr/bin/env bash
# Inside the private session bus: a virtual screen and a window manager, then the test.
# E2E_WM chooses the desktop: openbox (the default), or xfce: xfwm4 with its
# compositor and xfce4-panel with its notification area, the panel started
# before the test's clock as at a normal login, or kwin: KDE's kwin_x11 with its
# OpenGL compositor and no panel (kwin_x11 alone hosts no status items).
set -uo pipefail
script=$1
export E2E_WM=${E2E_WM:-openbox}
# A test may ask for another screen size with a line "# e2e-screen: WxH".
size=$(sed -n 's/^# e2e-screen: *\([0-9]*x[0-9]*\).*/\1/p' "$script" | head -1)
size=${size:-1024x768}
# A line "# e2e-monitors: 2" asks for two monitors side by side, each half the
# screen. Xvfb has one RandR output, and a monitor without an output is unseen by
# GTK (so by xfwm4); the X server's dummy driver has outputs to spare, so such a
# test runs on it, its monitors set before the window manager starts.
monitors=$(sed -n 's/^# e2e-monitors: *\([0-9]*\).*/\1/p' "$script" | head -1)

dummy_server_config() {
  cat >"$E2E_WORK/xorg.conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual ${size%x*} ${size#*x}
  EndSubSection
EndSection
CONF
}

# Two outputs of the dummy driver, each showing one half of the screen.
split_monitors() {
  local w=${size%x*} h=${size#*x} half
  half=$((w / 2))
  xrandr --newmode e2e-half 30 "$half" $((half + 8)) $((half + 18)) $((half + 28)) \
    "$h" $((h + 2)) $((h + 4)) $((h + 7)) &&
    xrandr --addmode DUMMY0 e2e-half && xrandr --addmode DUMMY1 e2e-half &&
    xrandr --output DUMMY0 --mode e2e-half --pos 0x0 --primary \
      --output DUMMY1 --mode e2e-half --pos "${half}x0" &&
    xrandr --fb "$size"
}

if [ "${monitors:-1}" = 2 ]; then
  dummy_server_config
  mkdir -p "$E2E_WORK/xorg.conf.d" # none of the machine's own server settings
  Xorg -noreset -nolisten tcp -ac -config "$E2E_WORK/xorg.conf" -configdir "$E2E_WORK/xorg.conf.d" \
    -logfile "$E2E_WORK/xorg.log" -displayfd 3 3>"$E2E_WORK/display" >"$E2E_WORK/xorg.out" 2>&1 &
else
  Xvfb -screen 0 "${size}x24" -nolisten tcp -ac -displayfd 3 3>"$E2E_WORK/display" \
    >"$E2E_WORK/xvfb.log" 2>&1 &
fi
pids=($!)
for _ in $(seq 100); do [ -s "$E2E_WORK/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$E2E_WORK/display")"
if [ "${monitors:-1}" = 2 ] && ! split_monitors >"$E2E_WORK/xrandr.log" 2>&1; then
  echo "cannot make two monitors: $(cat "$E2E_WORK/xrandr.log")" >&2
  kill "${pids[@]}"
  exit 1
fi

# xfce4-panel with one panel along the top edge holding the notification area.
xfce_panel_config() {
  local dir=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
  mkdir -p "$dir"
  cat >"$dir/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="26"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
}

# kwin_x11 as Plasma would start it, with settings of the test's own: compositing
# on, and animations off so that a window is where and as it is at once.
start_kwin() {
  mkdir -p "$XDG_CONFIG_HOME"
  printf '[Compositing]\nEnabled=true\n' >"$XDG_CONFIG_HOME/kwinrc"
  printf '[KDE]\nAnimationDurationFactor=0\n' >"$XDG_CONFIG_HOME/kdeglobals"
  # kwin asks the bus to start its helpers (kglobalaccel): they need the screen.
  dbus-update-activation-environment DISPLAY QT_QPA_PLATFORM=xcb >/dev/null 2>&1 || true
  QT_QPA_PLATFORM=xcb KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 XDG_CURRENT_DESKTOP=KDE \
    kwin_x11 --replace >"$E2E_WORK/kwin.log" 2>&1 &
  pids+=($!)
}

case $E2E_WM in
openbox)
  openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
  pids+=($!)
  ;;
xfce)
  xfce_panel_config
  xfwm4 --compositor=on --sm-client-disable >"$E2E_WORK/xfwm4.log" 2>&1 &
  pids+=($!)
  ;;
kwin)
  command -v kwin_x11 >/dev/null || { echo "kwin_x11 is not installed (scripts/deps kde)" >&2; exit 2; }
  start_kwin
  ;;
*)
  echo "unknown E2E_WM: $E2E_WM" >&2
  exit 2
  ;;
esac
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
if [ "$E2E_WM" = kwin ]; then
  # Ready once it names itself as the window manager and its compositor runs;
  # on a busy machine its OpenGL start in software takes a while.
  for _ in $(seq 600); do
    wmctrl -m 2>/dev/null | grep -q '^Name: KWin' &&
      dbus-send --session --print-reply --dest=org.kde.KWin /Compositor \
        org.freedesktop.DBus.Properties.Get string:org.kde.kwin.Compositing string:active \
        2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
  done
  wmctrl -m 2>/dev/null | grep -q '^Name: KWin' || {
    echo "kwin_x11 did not start:" >&2
    tail -n 20 "$E2E_WORK/kwin.log" >&2
    exit 2
  }
fi
if [ "$E2E_WM" = xfce ]; then
  xfce4-panel --sm-client-disable >"$E2E_WORK/xfce4-panel.log" 2>&1 &
  pids+=($!)
  # Ready when its notification area serves status items.
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
      grep -q 'boolean true' && break
    sleep 0.1
  done
fi
# A plain grey desktop, so that pixel checks know what lies under the clock.
xsetroot -solid '#404040' 2>/dev/null || true

bash -c "source '$(dirname "$0")/lib.sh'; source '$script'"
rc=$?
for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
wait 2>/dev/null
exit $rc
