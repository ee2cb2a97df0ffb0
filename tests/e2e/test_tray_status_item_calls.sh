# With a status-item host that does not read the item's menu over D-Bus but
# asks the item to show it (ContextMenu at the click's point, as some hosts do
# on a right-click), the clock opens its own popup menu at that point, and the
# menu's last entry quits the clock. Two quick activations (Activate) are the
# host's double-click: they bring the clock forward. The host here is a
# stand-in that owns the watcher name before the clock starts.
if [ "$E2E_WM" != openbox ]; then
  note "brings its own status-item host: run on openbox, which has none"
  exit 0
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
/usr/bin/python3 "$here/tools/status_host.py" 120 >"$E2E_WORK/host.log" 2>&1 &
HOST_PID=$!
host_says() { grep -q "^$1" "$E2E_WORK/host.log"; }
waitfor "the stand-in host did not take the watcher name" host_says ready

dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=300" "Top=300" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "FormOnTopmost=1"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
waitfor "the clock's icon did not register with the host" host_says item
read -r _ service path <<<"$(grep -m1 '^item' "$E2E_WORK/host.log")"
note "status item $service $path"
item_call() { # method, x, y
  gdbus call --session --dest "$service" --object-path "$path" \
    --method "org.kde.StatusNotifierItem.$1" "$2" "$3" >/dev/null
}

note "two quick activations bring the clock forward"
activate_twice() { item_call Activate 700 10 && item_call Activate 700 10; }
double_click_brings_forward "two activations" activate_twice
note "one activation alone is a click, which leaves the active window be"
xdotool windowactivate --sync "$COVER" >/dev/null 2>&1 || true
sleep 0.5
item_call Activate 700 10 || fail "the item refused Activate"
sleep 1 # longer than a double-click
! clock_is_active || fail "a single activation brought the clock forward"
kill "$COVER_PID" 2>/dev/null || true

note "ContextMenu opens the clock's menu at the host's point"
# A host calls it on a right-click, with the pointer at the point it names.
# (Qt's status item passes the point on to no one: the menu opens at the
# pointer, which is the same place on X11.)
xdotool mousemove 600 200
before=$(menu_windows)
item_call ContextMenu 600 200 || fail "the item refused ContextMenu"
menu_open() { [ -n "$(comm -13 <(echo "$before") <(menu_windows))" ]; }
waitfor "no menu after ContextMenu" menu_open
menu=$(comm -13 <(echo "$before") <(menu_windows) | head -1)
read -r mx my mw mh <<<"$(geometry "$menu")"
note "menu at $mx,$my (${mw}x$mh)"
shot context-menu
[ "$mx" -le 600 ] && [ "$mx" -ge $((600 - mw)) ] && [ "$my" -le 200 ] && [ "$my" -ge $((200 - mh)) ] ||
  fail "the menu opened at $mx,$my (${mw}x$mh), not at the host's point 600,200"
# The last entry of the clock's menu is Quit.
xdotool key Up
sleep 0.3
xdotool key Return
wait_gone "$CLOCK_PID" || fail "Quit from the menu ContextMenu opened did not end the clock"
kill "$HOST_PID"
note "the clock's menu and double-click work through the item's own calls"
