# The first start speaks the desktop's language: with LANG=en_US.UTF-8 the clock
# picks the shipped English file, saves it as its language and shows English
# captions in its menu and options dialog, and the Language menu still offers the
# Japanese default; Japanese, C and POSIX keep the Japanese default, a locale no
# shipped file serves gets English; a second start under another locale
# keeps the saved choice. Leaves screenshots of the menu and the options dialog
# in English and in Chinese.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
default_lang="Vlm日本語_かな.lang"
english=VlmEnglish.lang
chinese="Vlm简体中文.lang"
for f in "$english" "$chinese" VlmDeutsch.lang; do
  [ -f "$VELMORA_DIST/Lang/$f" ] || fail "the install shipped no Lang/$f"
done

# A fresh portable folder with the language files the install ships.
shipped_clock() {
  local dir
  dir=$(make_portable "$1")
  mkdir -p "$dir/Lang"
  find "$VELMORA_DIST/Lang" -maxdepth 1 -name 'Vlm*.lang' ! -name VlmDay.lang \
    ! -name "$default_lang" -exec cp {} "$dir/Lang/" \;
  echo "$dir"
}
# A value of a UTF-16 file by section and key. Unlike ini_value it reads to the
# end, so that no step of the pipe is cut off early (pipefail would end the test).
lang_text() {
  [ -f "$1" ] || return 0
  ini_text "$1" | awk -F= -v s="[$2]" -v k="$3" '
    tolower($0)==tolower(s){on=1;next} /^\[/{on=0}
    on&&!done&&tolower($1)==tolower(k){sub(/^[^=]*=/,"");print;done=1}'
}
# The folder's own files are saved relative to it; named here by their full path.
saved_lang() {
  local v
  v=$(lang_text "$1/velmora.ini" Language LangFileName)
  case $v in /*|'') echo "$v" ;; *) echo "$1/$v" ;; esac
}
# Starts the clock of <folder> under the locale variables given (LC_ALL and
# LC_MESSAGES empty unless given: the test desktop sets LC_ALL for everything).
# The machine may lack the named locales; LC_CTYPE keeps the character set UTF-8
# as on a desktop that has them, so that window titles reach the window system
# intact. It takes no part in the choice of language.
start_in_locale() {
  local dir=$1; shift
  start_clock "$dir" LC_ALL= LC_MESSAGES= LC_CTYPE=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window ($*)"
}
# Opens the popup menu with a right-click on the clock; MENU_WIN is its window.
open_menu() {
  local before
  before=$(menu_windows)
  read -r x y w h <<<"$(geometry "$win")"
  xdotool mousemove $((x + 3)) $((y + 3)) click 3
  for _ in $(seq 30); do
    MENU_WIN=$(comm -13 <(echo "$before") <(menu_windows) | sed -n 1p)
    [ -n "$MENU_WIN" ] && break
    sleep 0.1
  done
  [ -n "$MENU_WIN" ] || fail "no popup menu on a right-click"
  sleep 0.5
}
# The accelerator letter of a menu caption of <file>, lower case.
accelerator() {
  lang_text "$1" MainForm "$2.Caption" | sed -n 's/.*&\([^&]\).*/\1/p' | tr 'A-Z' 'a-z'
}
# Waits for a shown window of the clock titled exactly <title>; prints its id.
# Compared as text rather than as a pattern of xdotool's: where the named locale
# is not installed, the legacy window name is not UTF-8, the modern one is.
wait_titled() {
  local title=$1 id
  for _ in $(seq 300); do
    for id in $(xdotool search --all --pid "$CLOCK_PID" --name '' 2>/dev/null || true); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null || true)" = "$title" ] &&
        xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
# In the open menu, picks <key>'s entry by the accelerator <file> gives it; the
# window titled with <file>'s <title key> of <section> opens; DIALOG is its id.
pick_dialog() {
  local file=$1 key=$2 section=$3 title_key=$4 letter title
  letter=$(accelerator "$file" "$key")
  [ -n "$letter" ] || fail "the caption $key of $file has no accelerator"
  xdotool key "$letter"
  title=$(lang_text "$file" "$section" "$title_key")
  [ -n "$title" ] || fail "no $title_key in $file"
  DIALOG=$(wait_titled "$title") ||
    fail "no window titled \"$title\" after &$letter"
  sleep 0.7
}
close_dialog() {
  xdotool windowactivate --sync "$DIALOG" key Escape 2>/dev/null || true
  sleep 0.5
  wmctrl -i -c "$DIALOG" 2>/dev/null || true
  sleep 0.3
}
# The menu speaks <file>'s language: its about entry, picked by that file's
# accelerator, opens the about dialog with that file's title, and a screen reader
# reads that file's texts in it.
check_about() {
  local file=$1 texts key
  open_menu
  pick_dialog "$file" ActPopShowAbout AboutForm AboutForm.Caption
  texts=$(/usr/bin/python3 "$here/tools/a11y_texts.py" "$(lang_text "$file" AboutForm AboutForm.Caption)" \
    2>"$E2E_WORK/a11y.log") || fail "the about dialog is not on the accessibility bus: $(cat "$E2E_WORK/a11y.log")"
  for key in TitleLabel.Caption AuthorLabel.Caption; do
    echo "$texts" | grep -qxF "$(lang_text "$file" AboutForm "$key")" || fail "the about dialog lacks $key of $file: $texts"
  done
  echo "$texts" | grep -qxF "$(lang_text "$file" "Lang: Button" ButtonCaptionOK)" || fail "no OK button of $file: $texts"
  close_dialog
}
# The options entry, picked by <file>'s accelerator, opens the options dialog
# titled in that language, and a screen reader reads that file's texts in it;
# leaves a screenshot <shot>.
check_options() {
  local file=$1 texts key
  # The clock stays above other windows: out of the dialog's way for the picture.
  xdotool windowmove "$win" 4 720
  sleep 0.7
  open_menu
  pick_dialog "$file" ActPopShowOption OptionForm OptionForm.Caption
  window_shot "$DIALOG" "$2" >/dev/null
  texts=$(/usr/bin/python3 "$here/tools/a11y_texts.py" "$(lang_text "$file" OptionForm OptionForm.Caption)" \
    2>"$E2E_WORK/a11y.log") || fail "the options dialog is not on the accessibility bus: $(cat "$E2E_WORK/a11y.log")"
  for key in SaveSettingsButton.Caption Label101.Caption Button101.Caption; do
    echo "$texts" | grep -qxF "$(lang_text "$file" OptionForm "$key" | tr -d '&')" ||
      fail "the options dialog lacks $key of $file: $texts"
  done
  close_dialog
}
# The popup menu's entries, as a screen reader reads them once the first takes
# the focus, are <file>'s captions; leaves a screenshot <shot>.
check_menu() {
  local file=$1 log=$E2E_WORK/menu.txt listener key caption
  /usr/bin/python3 "$here/tools/a11y_menu.py" 10 >"$log" 2>"$E2E_WORK/a11y-menu.log" &
  listener=$!
  waitfor "the menu reader did not start" grep -q '^listening$' "$log"
  open_menu
  window_shot "$MENU_WIN" "$2" >/dev/null
  xdotool key Down
  wait "$listener" || fail "no menu entry took the focus: $(cat "$E2E_WORK/a11y-menu.log")"
  xdotool key Escape
  sleep 0.3
  for key in ActPopAdjustTime ActPopShowOption Language1 ActPopShowAbout ActPopQuit; do
    caption=$(lang_text "$file" MainForm "$key.Caption" | tr -d '&')
    [ -n "$caption" ] || fail "no $key.Caption in $file"
    sed 1d "$log" | grep -qxF "$caption" || fail "the menu lacks \"$caption\" of $file: $(sed 1d "$log")"
  done
}

# The Language submenu's entries, as a screen reader reads them once the focus
# moves in it, are every language file of the folder, the Japanese default too.
check_language_menu() {
  local log=$E2E_WORK/language-menu.txt listener name
  open_language_submenu "$win"
  /usr/bin/python3 "$here/tools/a11y_menu.py" 10 >"$log" 2>"$E2E_WORK/a11y-menu.log" &
  listener=$!
  waitfor "the menu reader did not start" grep -q '^listening$' "$log"
  xdotool key Down
  wait "$listener" || fail "no language entry took the focus: $(cat "$E2E_WORK/a11y-menu.log")"
  xdotool key Escape Escape
  sleep 0.3
  for name in "${default_lang%.lang}" "${english%.lang}" "${chinese%.lang}" VlmDeutsch; do
    sed 1d "$log" | grep -qxF "$name" || fail "the Language menu lacks $name: $(sed 1d "$log" | paste -sd '|')"
  done
}

# first_start <name> <LANG> <file>: the first start of a fresh shipped clock under
# LANG saves Lang/<file> as its language at once, not only at the end, and its
# menu, About box and options dialog speak it (shots end in -<name>). The clock
# in $dir keeps running.
saved_lang_is() { [ "$(saved_lang "$1")" = "$2" ]; }
first_start() {
  local file
  dir=$(shipped_clock "$1")
  file=$dir/Lang/$3
  start_in_locale "$dir" LANG="$2"
  waitfor "$3 was not saved as the language: $(saved_lang "$dir")" saved_lang_is "$dir" "$file"
  check_menu "$file" "menu-$1"
  check_about "$file"
  check_options "$file" "options-$1"
}

# The accessibility bus runs before the clocks start, so that they join it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || fail "no accessibility bus"
/usr/bin/python3 "$here/tools/a11y_texts.py" '(none)' 2>/dev/null || true

note "first start with LANG=en_US.UTF-8"
first_start en en_US.UTF-8 "$english"
# The Japanese default file is written all the same, and the Language menu offers it.
[ "$(head -c 2 "$dir/Lang/$default_lang" | od -An -tx1 | tr -d ' ')" = fffe ] ||
  fail "the first start under English wrote no default file"
check_language_menu
stop_clock
[ "$(saved_lang "$dir")" = "$dir/Lang/$english" ] || fail "the choice did not last: $(saved_lang "$dir")"

note "a second start under another locale keeps the saved choice"
start_in_locale "$dir" LANG=de_DE.UTF-8
check_about "$dir/Lang/$english"
stop_clock
[ "$(saved_lang "$dir")" = "$dir/Lang/$english" ] || fail "German replaced the saved English: $(saved_lang "$dir")"

note "Japanese, C and POSIX keep the Japanese default"
for locale in ja_JP.UTF-8 C POSIX; do
  dir=$(shipped_clock "keep-$locale")
  start_in_locale "$dir" LANG="$locale"
  sleep 1.5
  [ "$locale" = ja_JP.UTF-8 ] && check_about "$dir/Lang/$default_lang"
  stop_clock
  [ "$(saved_lang "$dir")" = "$dir/Lang/$default_lang" ] ||
    fail "LANG=$locale: language $(saved_lang "$dir"), not the default"
  [ "$(head -c 2 "$dir/Lang/$default_lang" | od -An -tx1 | tr -d ' ')" = fffe ] ||
    fail "LANG=$locale: no default file written"
done

note "a locale no shipped file serves gets English"
for locale in zh_TW.UTF-8 ko_KR.UTF-8; do
  dir=$(shipped_clock "english-$locale")
  start_in_locale "$dir" LANG="$locale"
  sleep 1.5
  stop_clock
  [ "$(saved_lang "$dir")" = "$dir/Lang/$english" ] ||
    fail "LANG=$locale: language $(saved_lang "$dir"), not English"
done

note "LC_ALL beats LANG"
dir=$(shipped_clock lc-all)
start_clock "$dir" LC_ALL=de_DE.UTF-8 LC_MESSAGES= LC_CTYPE=C.UTF-8 LANG=en_US.UTF-8
win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window (LC_ALL)"
sleep 1.5
stop_clock
[ "$(saved_lang "$dir")" = "$dir/Lang/VlmDeutsch.lang" ] || fail "LC_ALL=de_DE: $(saved_lang "$dir")"

note "first start with LANG=zh_CN.UTF-8"
first_start zh zh_CN.UTF-8 "$chinese"
stop_clock
note "the first start chose English, Chinese and German, English where no file served, and kept Japanese for ja, C and POSIX"
