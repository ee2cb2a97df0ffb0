# The installed time-sync tool against a loopback NTP server, measuring only
# (VELMORA_SYNC_DRY_RUN=1: the machine's clock is never set here): the printed
# offset matches the server's shift, a silent port fails with 4, no argument
# gives 0, and a listening clock receives the result line with the tool's hash.
# The server is the build's NtpServer (VELMORA_NTP_SERVER names another one).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tool=$VELMORA_DIST/Sync/VelmoSync
[ -x "$tool" ] || fail "no installed sync tool at $tool"
server=${VELMORA_NTP_SERVER:-}
if [ -z "$server" ]; then
  for candidate in "$here"/../../build*/tests/NtpServer; do
    [ -x "$candidate" ] && { server=$candidate; break; }
  done
fi
[ -n "$server" ] && [ -x "$server" ] || fail "no NtpServer built (set VELMORA_NTP_SERVER)"
note "server: $server"

started=()
cleanup() { for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

server_log=$E2E_WORK/ntpserver.log
"$server" 0 1500 >"$server_log" 2>&1 &
started+=($!)
waitfor "the NTP server did not start" grep -q '^ready [0-9]' "$server_log"
port=$(awk '/^ready/{print $2; exit}' "$server_log")
note "NtpServer on 127.0.0.1:$port, 1500 ms ahead"

run_tool() { # run_tool <env...> -- <args...>; sets TOOL_RC and TOOL_OUT
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  set +e
  TOOL_OUT=$(env "${envs[@]}" VELMORA_SYNC_DRY_RUN=1 VELMORA_SYNC_SPACING_MS=200 timeout 30 \
    "$tool" "$@" 2>"$E2E_WORK/tool.err")
  TOOL_RC=$?
  set -e
  cat "$E2E_WORK/tool.err" >&2
}

note "measuring against the shifted server"
run_tool -- "127.0.0.1:$port"
[ "$TOOL_RC" = 3 ] || fail "a good measurement gave exit code $TOOL_RC (output: $TOOL_OUT)"
awk -v v="$TOOL_OUT" 'BEGIN { d = v - 1500; if (d < 0) d = -d; exit !(v != "" && d <= 5) }' ||
  fail "measured offset '$TOOL_OUT' ms is not within 5 ms of 1500"
note "offset $TOOL_OUT ms"

note "the same server as an IPv4 address in brackets is refused"
run_tool -- "[127.0.0.1]:$port"
[ "$TOOL_RC" = 4 ] || fail "a bracketed IPv4 address gave $TOOL_RC"

note "a silent port"
dead=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
run_tool -- "127.0.0.1:$dead"
[ "$TOOL_RC" = 4 ] || fail "a dead port gave exit code $TOOL_RC"
[ -z "$TOOL_OUT" ] || fail "a failed run printed an offset: $TOOL_OUT"

note "argument errors"
run_tool --
[ "$TOOL_RC" = 0 ] || fail "no argument gave $TOOL_RC"
run_tool -- a b
[ "$TOOL_RC" = 1 ] || fail "two arguments gave $TOOL_RC"
run_tool -- "  "
[ "$TOOL_RC" = 2 ] || fail "a blank name gave $TOOL_RC"

note "a listening clock receives the result with the tool's hash"
sock=$XDG_RUNTIME_DIR/VelmoLimitMultiInstance.sock
report_log=$E2E_WORK/report.log
python3 - "$sock" >"$report_log" 2>&1 <<'PY' &
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.bind(sys.argv[1]); s.listen(1); s.settimeout(60)
c, _ = s.accept(); data = b""
while not data.endswith(b"\n"):
    chunk = c.recv(256)
    if not chunk: break
    data += chunk
print(data.decode().strip(), flush=True)
PY
listener=$!
started+=($listener)
waitfor "the listener did not start" test -S "$sock"
run_tool -- "127.0.0.1:$port"
[ "$TOOL_RC" = 3 ] || fail "the reported run gave $TOOL_RC"
waitfor "no result line reached the socket" grep -q '^SYNCRESULT' "$report_log"
path=$(readlink -f "$tool")
expected=$(python3 -c '
import sys
h = 0
b = sys.argv[1].encode("utf-16-le")
for i in range(0, len(b), 2):
    h = ((h << 4) + (b[i] | b[i + 1] << 8)) & 0xFFFFFFFF
    g = h & 0xF0000000
    if g: h ^= g >> 24
    h &= ~g & 0xFFFFFFFF
print(h)' "$path")
line=$(head -1 "$report_log")
[ "$line" = "SYNCRESULT $expected 3" ] || fail "result line '$line', expected 'SYNCRESULT $expected 3'"
note "reported: $line"

note "a name server that never answers: the tool still ends within its budget"
# In namespaces of its own: only loopback, and a resolv.conf naming a server on it
# that reads every query and answers none (the resolver would wait for minutes).
printf 'nameserver 127.0.0.1\noptions timeout:30 attempts:5\n' >"$E2E_WORK/resolv.conf"
cat >"$E2E_WORK/silent-dns.sh" <<SH
ip link set lo up
python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 53))
t = socket.socket(socket.AF_INET, socket.SOCK_STREAM); t.bind(("127.0.0.1", 53)); t.listen(8)
print("listening", flush=True)
while True: s.recv(512)' >"$E2E_WORK/silent-dns.log" 2>&1 &
for _ in \$(seq 50); do grep -q listening "$E2E_WORK/silent-dns.log" && break; sleep 0.1; done
mount --bind "$E2E_WORK/resolv.conf" /etc/resolv.conf
VELMORA_SYNC_DRY_RUN=1 timeout 40 "$tool" time.velmora.test
echo "rc=\$?"
SH
result=$(unshare -m -n bash "$E2E_WORK/silent-dns.sh" 2>"$E2E_WORK/silent-dns.err" | tail -1)
cat "$E2E_WORK/silent-dns.err" >&2
[ "$result" = "rc=4" ] || fail "with a silent name server the tool gave '$result' (124: it hung)"
grep -q "could not be resolved" "$E2E_WORK/silent-dns.err" || fail "no reason given on stderr"
