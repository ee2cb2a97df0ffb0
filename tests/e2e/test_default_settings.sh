# First start in an empty folder: the clock shows with its defaults, and SIGTERM
# saves a settings file that holds every key with its default, byte for byte.
dir=$(make_portable)
ini=$dir/velmora.ini
start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1.5 # the first tick

props=$(xprop -id "$win")
grep -q 'WM_CLASS(STRING) = "velmora", "TMainForm"' <<<"$props" || fail "window class: $props"
grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" || fail "taskbar entry: $props"
grep -q '_NET_WM_STATE_SKIP_PAGER' <<<"$props" || fail "pager entry: $props"
grep -q '_NET_WM_STATE_ABOVE' <<<"$props" || fail "not topmost: $props"
read -r x y w h <<<"$(geometry "$win")"
[ "$x $y" = "324 522" ] || fail "placed at $x $y"
[ "$w" -gt 60 ] && [ "$h" -gt 8 ] || fail "size $w x $h"
shot default
[ "$(pixel "$x" "$y")" = "008000" ] || fail "border pixel $(pixel "$x" "$y")"
[ "$(pixel $((x + w - 1)) $((y + h - 1)))" = "008000" ] || fail "border corner"
[ "$(pixel $((x + 1)) $((y + 1)))" = "c0dcc0" ] || fail "background $(pixel $((x + 1)) $((y + 1)))"
colours=$(import -window root -crop "$((w - 2))x$((h - 2))+$((x + 1))+$((y + 1))" -format %k info:)
[ "$colours" -gt 2 ] || fail "no text drawn ($colours colours)"
[ ! -e "$ini" ] || fail "settings written before quitting"
stop_clock

[ "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "no byte order mark"
[ "$(tail -c 4 "$ini" | od -An -tx1 | tr -d ' ')" = "0d000a00" ] || fail "last line end"
lf=$(tail -c +3 "$ini" | iconv -f UTF-16LE -t UTF-8 | grep -c $'\r$' || true)
all=$(tail -c +3 "$ini" | iconv -f UTF-16LE -t UTF-8 | wc -l)
[ "$lf" = "$all" ] || fail "$((all - lf)) lines without CR LF"

# Machine-dependent values aside (paths, the menu font, the window size).
ini_text "$ini" | sed -E 's/^(LangFileName|FontName|FontSize|Width|Height|FileName)=.*/\1=*/' \
  >"$E2E_ARTIFACTS/written.txt"
cat >"$E2E_ARTIFACTS/expected.txt" <<'END'
[Language]
LangFileName=*

[MainForm]
Left=324
Top=522
Width=*
Height=*

[ClockStr]
ShowDate=1
ShowDayOfTheWeek=1
ShowSecond=1

[Appearance]
FontName=*
FontSize=*
FontStyle=0
FontColorMode=1
FontGradientDirection=0
NormalFontColor=$00008000
NormalFontStartColor=$00008000
NormalFontEndColor=$000080FF
BackgroundColorMode=1
BackgroundGradientDirection=1
NormalBackgroundColor=$00C0DCC0
NormalBackgroundStartColor=$00C0DCC0
NormalBackgroundEndColor=$00F0FBFF
ShowBorder=1
NormalBorderColor=$00008000
ScalingRateX=1
ScalingRateY=1
AlphaBlend=0
AlphaBlendValue=255
FormOnTopmost=1
LargeNotificationIcon=0
HideOnFullScreen=0

[Alarm]
IsAlarmSet=0
AlarmStartTime=12:00:00
UseAlarmBlink=0
UseAlarmColor=0
AlarmFontColor=$00800080
AlarmFontStartColor=$00800080
AlarmFontEndColor=$000000FF
AlarmBackgroundColor=$00F0CAA6
AlarmBackgroundStartColor=$00F0CAA6
AlarmBackgroundEndColor=$00F0FBFF
AlarmBorderColor=$000000FF
UseAlarmBalloon=0
AlarmHint=アラームのメッセージ
UseAlarmSound=0
AlarmSoundFileName=

[CommandList]
Count=1

[Command0]
Title=とけー あわせ
FileName=*
OptionStr=pool.ntp.org
AsAdmin=0
HideWindow=0
AtStartup=0
AtResume=0
AtSpTime=0
SpTime=00:00:00

END
diff -u "$E2E_ARTIFACTS/expected.txt" "$E2E_ARTIFACTS/written.txt" || fail "settings file differs"
# The folder's own files are named relative to it, so that the folder can move.
[ "$(ini_value "$ini" Language LangFileName)" = "Lang/Vlm日本語_かな.lang" ] ||
  fail "language file path $(ini_value "$ini" Language LangFileName)"
[ "$(ini_value "$ini" MainForm Width)" = "$w" ] || fail "saved width"
[ "$(ini_value "$ini" Command0 FileName)" = "Sync/VelmoSync" ] || fail "sync tool path"

# A second run over the file it wrote changes nothing, byte for byte.
cp "$ini" "$E2E_WORK/first.ini"
start_clock "$dir"
wait_window "$CLOCK_PID" '^MainForm$' >/dev/null || fail "no clock window on the second run"
stop_clock
cmp "$ini" "$E2E_WORK/first.ini" || fail "the settings file changed on a second run"
note "default settings written and kept"
