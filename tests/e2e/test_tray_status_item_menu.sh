# With a status-item host that reads the item's menu over D-Bus (xfce4-panel,
# started before the clock as at a normal login), the clock's icon exports its
# popup menu: the item names a real menu whose layout holds the clock's entries,
# a right-click on the icon in the panel opens that menu, and its last entry
# quits the clock. Two quick activations, the host's double-click, bring the
# clock forward; in bottom mode it activates the clock, which stays below the
# other windows.
if [ "$E2E_WM" != xfce ]; then
  note "needs a status-item host: run with E2E_WM=xfce"
  exit 0
fi
dir=$(make_portable)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=300" "Top=300" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "FormOnTopmost=1"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"

watcher_items() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null
}
registered() { watcher_items | grep -q "StatusNotifierItem"; }
waitfor "the clock's icon is not registered as a status item" registered
# ":1.23/StatusNotifierItem" or "org.kde.StatusNotifierItem-<pid>-1/StatusNotifierItem"
item=$(watcher_items | grep -o "[^'\"]*/StatusNotifierItem" | head -1)
service=${item%%/*} path=/${item#*/}
note "status item $service $path"
menu=$(gdbus call --session --dest "$service" --object-path "$path" \
  --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu |
  grep -o "objectpath '[^']*'" | cut -d"'" -f2)
note "its menu: $menu"
[ -n "$menu" ] && [ "$menu" != /NO_DBUSMENU ] || fail "the status item exports no menu ($menu)"
layout=$(gdbus call --session --dest "$service" --object-path "$menu" \
  --method com.canonical.dbusmenu.GetLayout 0 'int32 -1' '@as []')
for caption in 'とけーを あわせる' 'オプション' 'しゅーりょー'; do
  grep -q "$caption" <<<"$layout" || fail "no entry \"$caption\" in the exported menu: $layout"
done

panel=$(xdotool search --classname '^xfce4-panel$' 2>/dev/null | head -1)
[ -n "$panel" ] || fail "no panel window"
read -r px py pw ph <<<"$(geometry "$panel")"
# The notification area is the panel's only plugin: the icon is its first.
ix=$((px + 12)) iy=$((py + ph / 2))

note "a double-click on the icon (two activations) brings the clock forward"
double_click_icon() { xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1; }
double_click_brings_forward "a double-click on the icon" double_click_icon
kill "$COVER_PID" 2>/dev/null || true
sleep 0.5

note "a right-click on the icon opens the clock's menu"
# The panel's menu is a window of its own on the root, unnamed and unmanaged.
popups() {
  xwininfo -root -children | grep -o '^ *0x[0-9a-f]*' | while read -r w; do
    xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && echo "$w"
  done | sort
}
before=$(popups)
xdotool mousemove "$ix" "$iy" click 3
opened() { [ -n "$(comm -13 <(echo "$before") <(popups))" ]; }
waitfor "no menu on a right-click on the icon" opened
shot panel-menu
# The last entry of the clock's menu is Quit.
xdotool key Up
sleep 0.3
xdotool key Return
wait_gone "$CLOCK_PID" || fail "the menu opened on the icon is not the clock's: Quit did not end it"
note "the panel opens the clock's own menu"

note "bottom mode: a double-click on the icon activates the clock, which stays below"
dir=$(make_portable bottom)
write_ini "$dir/velmora.ini" "[MainForm]" "Left=300" "Top=300" \
  "[Appearance]" "FontName=DejaVu Sans" "FontSize=16" "FormOnTopmost=0"
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window in bottom mode"
waitfor "the clock's icon is not registered again" registered
sleep 1
double_click_brings_forward "in bottom mode, a double-click on the icon" double_click_icon
sleep 0.5
order=$(stacking)
a=$(grep -n "^$win\$" <<<"$order" | cut -d: -f1)
b=$(grep -n "^$COVER\$" <<<"$order" | cut -d: -f1)
[ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ] || fail "the bottom clock rose above the cover"
kill "$COVER_PID" 2>/dev/null || true
stop_clock
note "the bottom clock was activated and stayed below"
