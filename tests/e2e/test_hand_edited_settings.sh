# Hand-edited settings files: comments, odd spacing, unknown keys, lower-case
# keys and bad numbers behave as documented; a UTF-8 file is kept aside.
utf16() { printf '\xff\xfe'; printf '%s' "$1" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; }

dir=$(make_portable)
ini=$dir/velmora.ini
utf16 "; my clock
junk before the first section

[ MainForm ]
   Left   =   100
top=150

[clockstr]
showdate=0
ShowSecond = yes

[Appearance]
NormalBackgroundColor = clRed
NormalBorderColor=\$00FF0000
AlphaBlendValue=300
FontColorMode=7
ScalingRateX=abc
MyOwnKey = keep me
[Extra]
a=b" >"$ini"

start_clock "$dir"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
sleep 1.5
read -r x y w h <<<"$(geometry "$win")"
[ "$x $y" = "100 150" ] || fail "position from spaced and lower-case keys: $x $y"
shot hand-edited
[ "$(pixel $((x + 1)) $((y + 1)))" = "ff0000" ] || fail "background from a colour name: $(pixel $((x + 1)) $((y + 1)))"
[ "$(pixel "$x" "$y")" = "0000ff" ] || fail "border from a number: $(pixel "$x" "$y")"
stop_clock

text=$(ini_text "$ini")
grep -q '^; my clock' <<<"$text" && fail "comment kept"
grep -q 'junk' <<<"$text" && fail "text before the first section kept"
grep -q '^MyOwnKey=keep me$' <<<"$text" || fail "unknown key lost"
grep -q '^\[Extra\]$' <<<"$text" || fail "unknown section lost"
[ "$(ini_value "$ini" ClockStr ShowDate)" = 0 ] || fail "lower-case key"
[ "$(ini_value "$ini" ClockStr ShowSecond)" = 1 ] || fail "bad bool takes its default"
[ "$(ini_value "$ini" Appearance AlphaBlendValue)" = 44 ] || fail "alpha low 8 bits"
[ "$(ini_value "$ini" Appearance NormalBackgroundColor)" = '$000000FF' ] || fail "colour written as number"
[ "$(ini_value "$ini" Appearance ScalingRateX)" = 1 ] || fail "bad float takes its default"
# The sections keep their places; new ones are appended.
order=$(grep '^\[' <<<"$text" | tr '\n' ' ')
[ "$order" = "[MainForm] [clockstr] [Appearance] [Extra] [Language] [Alarm] [CommandList] [Command0] " ] || fail "section order: $order"

note "a UTF-8 file: defaults, a warning, and the original kept"
dir2=$(make_portable utf8)
printf '[ClockStr]\nShowDate=0\n[MainForm]\nLeft=5\n' >"$dir2/velmora.ini"
cp "$dir2/velmora.ini" "$E2E_WORK/original-utf8.ini"
start_clock "$dir2"
box=$(wait_window "$CLOCK_PID" '^Velmora \[') || fail "no warning about the encoding"
shot utf8-warning
answer_box "$box"
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock after the warning"
read -r x y w h <<<"$(geometry "$win")"
[ "$x" = 324 ] || fail "UTF-8 values were used: left $x"
stop_clock
cmp "$dir2/velmora.ini.bak" "$E2E_WORK/original-utf8.ini" || fail "original not kept"
[ "$(ini_value "$dir2/velmora.ini" ClockStr ShowDate)" = 1 ] || fail "new file not written"
note "hand-edited files behave"
