# SIGINT and SIGHUP end the clock as the quit action does: the settings are saved.
for sig in INT HUP TERM; do
  dir=$(make_portable "sig-$sig")
  start_clock "$dir"
  win=$(wait_window "$CLOCK_PID" '^MainForm$') || fail "no clock window"
  xdotool windowmove "$win" 200 300
  sleep 0.5
  stop_clock "$CLOCK_PID" "$sig"
  [ "$(ini_value "$dir/velmora.ini" MainForm Left)" = 200 ] || fail "SIG$sig: position not saved"
  [ "$(ini_value "$dir/velmora.ini" MainForm Top)" = 300 ] || fail "SIG$sig: position not saved"
done
note "signals save the settings"
