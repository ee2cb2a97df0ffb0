# A screen reader's user meets an alarm that rings before the options dialog was
# ever opened in this run: the dialog opens on the alarm page, the test button
# reads "Stop the alarm", pressing it through the accessibility bus stops the
# alarm, and the button then reads "Test the alarm"; pressed again it starts a
# test alarm and reads "Stop the alarm" once more.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || fail "no accessibility bus"
/usr/bin/python3 "$here/tools/a11y_texts.py" '(none)' 2>/dev/null || true
start_tray

dir=$(make_portable alarm-a11y)
mkdir -p "$dir/Lang"
cp "$VELMORA_DIST/Lang/VlmEnglish.lang" "$dir/Lang/"
english=$dir/Lang/VlmEnglish.lang
lang() { # section key
  tail -c +3 "$english" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' | awk -F= -v s="[$1]" -v k="$2" '
    $0==s{on=1;next} /^\[/{on=0} on&&$1==k&&!done{sub(/^[^=]*=/,"");print;done=1}'
}
title=$(lang OptionForm OptionForm.Caption)
stop_text=$(lang "Lang: Caption" StopAlarmCaption)
test_text=$(lang OptionForm Button502.Caption)
[ -n "$title" ] && [ -n "$stop_text" ] && [ -n "$test_text" ] || fail "texts missing in $english"

at=$(time_in 4)
write_ini "$dir/velmora.ini" "[Language]" "LangFileName=Lang/VlmEnglish.lang" \
  "[MainForm]" "Left=100" "Top=680" \
  "[Appearance]" "BackgroundColorMode=1" "NormalBackgroundColor=\$00FFFFFF" "ShowBorder=0" \
  "[Alarm]" "IsAlarmSet=1" "AlarmStartTime=$at" "UseAlarmColor=1" \
  "AlarmBackgroundColor=\$00FF0000" \
  "[OptionForm]" "ActivePageIndex=4"
start_clock "$dir" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
WIN=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
read -r X Y W H <<<"$(geometry "$WIN")"
clock_is() { [ "$(pixel $((X + 2)) $((Y + 2)))" = "$1" ]; }
note "the alarm rings at $at (the clock turns blue)"
waitfor "the alarm did not ring" clock_is 0000ff

note "the options dialog opened for the first time while the alarm rings"
xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 3
sleep 0.7
xdotool key o
DLG=$(wait_window "$CLOCK_PID" "$title") || fail "no options dialog"
sleep 1
texts() { /usr/bin/python3 "$here/tools/a11y_texts.py" "$title" 2>"$E2E_WORK/a11y.log"; }
# Read whole before grep looks: an early end of grep must not break the reader's pipe.
reads() { local t; t=$(texts) && grep -qxF "$1" <<<"$t"; }
reads "$stop_text" || fail "the button does not read \"$stop_text\": $(texts | tr "\n" "/" || true)"

note "pressed through the accessibility bus, the button stops the alarm"
/usr/bin/python3 "$here/tools/a11y_press.py" "$title" "$stop_text" || fail "no button \"$stop_text\" to press"
waitfor "the alarm did not stop" clock_is ffffff
waitfor "the button does not read \"$test_text\" after the stop: $(texts)" reads "$test_text"
reads "$stop_text" && fail "the button still reads \"$stop_text\" after the stop"
sleep 1.5
clock_is ffffff || fail "the alarm came back"

note "pressed again, it tests the alarm, as it says"
/usr/bin/python3 "$here/tools/a11y_press.py" "$title" "$test_text" || fail "no button \"$test_text\" to press"
waitfor "no test alarm" clock_is 0000ff
waitfor "the button does not read \"$stop_text\" during the test" reads "$stop_text"
wmctrl -i -c "$DLG"
waitfor "the test alarm did not end with the dialog" clock_is ffffff
stop_clock
note "the test button says what it does"
