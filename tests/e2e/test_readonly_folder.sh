# A folder the user cannot write: the clock runs; at the end the error is shown
# in a message box, the program then closes, and nothing is written.
command -v setpriv >/dev/null || fail "setpriv missing"
dir=$(make_portable readonly)
chmod -R a+rX "$dir"
chmod 755 "$dir"
# Run as an ordinary user (root may write anywhere); the folder belongs to root.
user=nobody
uid=$(id -u $user)
gid=$(id -g $user)
rundir=$E2E_WORK/run-$user
mkdir -m 700 "$rundir"
chown "$uid:$gid" "$rundir"
setpriv --reuid="$uid" --regid="$gid" --clear-groups \
  env HOME="$rundir" XDG_RUNTIME_DIR="$rundir" DISPLAY="$DISPLAY" "$dir/velmora" \
  >"$E2E_WORK/readonly.log" 2>&1 &
pid=$!
# No language folder can be made: one message, then the built-in texts.
box=$(wait_window "$pid" '^Velmora \[Information\]$') || fail "no message about the language folder"
shot readonly-lang-folder
answer_box "$box"
win=$(wait_window "$pid" '^MainForm$') || fail "no clock window in a read-only folder"
xdotool search --all --pid "$pid" --onlyvisible --name '^Velmora \[' >/dev/null 2>&1 &&
  fail "more than one message at start"
sleep 1.5
kill -0 "$pid" || fail "the clock stopped"
kill -TERM "$pid"
box=$(wait_window "$pid" '^Velmora \[') || fail "no error message"
shot readonly-error
kill -0 "$pid" || fail "ended before the message was read"
answer_box "$box"
wait_gone "$pid" || fail "did not close after the message"
[ ! -e "$dir/velmora.ini" ] || fail "a settings file appeared"
ls "$dir" | grep -v -e '^velmora$' -e '^Lang$' -e '^Help$' -e '^Sync$' -e '^VelmoSound$' && fail "stray files"
note "read-only folder reported"
