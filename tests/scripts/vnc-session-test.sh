#!/usr/bin/env bash
# Runs scripts/vnc-session on a free display and port and checks who gets in (X clients with and
# without the session's cookie, the VNC security types offered, the listening addresses), the
# modes of its files, that a taken display or port is refused, and that every way of ending the
# session (SIGTERM, Ctrl+C, SIGHUP, the program closing, an error while starting) leaves no
# server, listener, display socket or folder behind.
# Exits 77 (skipped) when the X or VNC tools are missing, except under CI, where that fails.
set -euo pipefail
# Each session in its own process group, as from a terminal: SIGINT reaches it, and a failed
# test can kill all that it started.
set -m
session=$(cd "$(dirname "$0")/../.." && pwd)/scripts/vnc-session

missing=()
for tool in Xvfb x11vnc xauth xdpyinfo ss python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "vnc-session test: ${missing[*]} missing (scripts/bootstrap installs them)" >&2
  case "${CI:-}" in "" | false | 0) exit 77 ;; *) exit 1 ;; esac
fi

work=$(mktemp -d)
pid=""   # the session running
state="" # its folder
failures=0

display_taken() {
  [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] ||
    [[ "$(ss -xlH 2>/dev/null || true)" == *"@/tmp/.X11-unix/X$1 "* ]]
}
# True while the process runs (a zombie has ended).
alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}
listeners() { ss -Hltn "sport = :$1" | awk '{ print $4 }'; }
# The Xvfb and x11vnc processes serving display :N.
servers_of() {
  local p cmd
  for p in /proc/[0-9]*; do
    cmd=$(tr '\0' ' ' 2>/dev/null <"$p/cmdline") || continue
    case "$cmd" in "Xvfb :$1 "* | "x11vnc -display :$1 "*) echo "${p#/proc/} $cmd" ;; esac
  done
}

teardown() {
  if [ -n "$pid" ]; then
    kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  local n
  for n in "${displays[@]}"; do
    servers_of "$n" | while read -r p _; do kill -KILL "$p" 2>/dev/null || true; done
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  done
  [ -z "$state" ] || rm -rf "$state"
  rm -rf "$work"
}
displays=()
trap teardown EXIT

# check WHAT [!] COMMAND...: counts a failure when the command fails (or, after !, succeeds).
check() {
  local what=$1 ok=0
  shift
  if [ "$1" = "!" ]; then
    shift
    "$@" >/dev/null 2>&1 || ok=1
  else
    ! "$@" >/dev/null || ok=1
  fi
  if [ $ok = 1 ]; then echo "ok   $what"; else
    echo "FAIL $what" >&2
    failures=$((failures + 1))
  fi
}
die() {
  echo "FAIL $*" >&2
  [ ! -f "$work/out" ] || sed 's/^/  session: /' "$work/out" >&2
  exit 1
}

pick_display() {
  local n
  for _ in $(seq 100); do
    n=$((RANDOM % 500 + 400))
    display_taken "$n" || { echo "$n"; return; }
  done
  return 1
}
pick_port() {
  local p
  for _ in $(seq 100); do
    p=$((RANDOM % 10000 + 20000))
    [ -n "$(listeners "$p")" ] || { echo "$p"; return; }
  done
  return 1
}

# The program the sessions run: it reports whether it reached the display, then waits for its
# quit file and exits 3.
program=(sh -c 'xdpyinfo >/dev/null 2>&1 && echo program-on-display
  while [ ! -e "$0" ]; do sleep 0.1; done; exit 3' "$work/quit")

# Starts a session on display $n and port $port with the environment given, and waits until it
# has printed its password file.
start() {
  rm -f "$work/quit"
  : >"$work/out" # before the session starts: the output of the last one must not be read
  env "$@" "$session" --display ":$n" --port "$port" -- "${program[@]}" >"$work/out" 2>&1 &
  pid=$!
  local file=""
  for _ in $(seq 200); do
    file=$(sed -n 's/^Password file: //p' "$work/out")
    [ -z "$file" ] || break
    alive "$pid" || die "the session on :$n ended while starting"
    sleep 0.1
  done
  [ -n "$file" ] || die "the session on :$n did not start within 20 s"
  state=$(dirname "$file")
}

# Waits up to 10 s for the session to end and checks its status and that nothing is left.
expect_ended() {
  local want=$1 status=0
  for _ in $(seq 100); do
    alive "$pid" || break
    sleep 0.1
  done
  if alive "$pid"; then
    check "the session ends within 10 s" false
    kill -KILL -- "-$pid" 2>/dev/null || true
  fi
  wait "$pid" || status=$?
  pid=""
  check "  exit status $want (got $status)" [ "$status" = "$want" ]
  check "  nothing listens on port $port" [ -z "$(listeners "$port")" ]
  check "  no Xvfb or x11vnc left on :$n" [ -z "$(servers_of "$n")" ]
  check "  no display socket or lock file for :$n" [ ! -e "/tmp/.X11-unix/X$n" -a ! -e "/tmp/.X$n-lock" ]
  check "  the session's folder is removed" [ ! -e "$state" ]
  rm -rf "$state"
  state=""
}

# The security types the VNC server on port $1 offers, after an RFB 3.8 handshake.
security_types() {
  python3 - "$1" <<'PY'
import socket, sys
def read(s, n):
    data = b""
    while len(data) < n:
        chunk = s.recv(n - len(data))
        if not chunk:
            sys.exit("connection closed")
        data += chunk
    return data
s = socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=5)
if not read(s, 12).startswith(b"RFB 003."):
    sys.exit("not an RFB server")
s.sendall(b"RFB 003.008\n")
count = read(s, 1)[0]
print(" ".join(str(t) for t in read(s, count)) if count else "none")
PY
}

x_client() { env "$@" DISPLAY=":$n" xdpyinfo; }
loopback_only() {
  local a all
  all=$(listeners "$port")
  [ -n "$all" ] || return 1
  for a in $all; do
    case "$a" in "127.0.0.1:$port" | "[::1]:$port") ;; *) return 1 ;; esac
  done
}
mode_is() {
  local mode
  mode=$(stat -c %a "$2") || return 1
  [ "$mode" = "$1" ] || { echo "FAIL $2 is mode $mode" >&2; return 1; }
}

n=$(pick_display) || die "no free display"
port=$(pick_port) || die "no free port"
displays+=("$n")
mkdir -m 700 "$work/runtime"

echo "session on :$n, port $port, under XDG_RUNTIME_DIR; ended by SIGTERM"
start XDG_RUNTIME_DIR="$work/runtime"
xauthority=$state/Xauthority
check "the folder is under XDG_RUNTIME_DIR" [ "$(dirname "$state")" = "$work/runtime" ]
check "the folder is mode 700" mode_is 700 "$state"
check "the Xauthority file is mode 600" mode_is 600 "$xauthority"
check "the password file is mode 600" mode_is 600 "$state/vnc-password"
check "an X client with the session's cookie connects" x_client XAUTHORITY="$xauthority"
check "an X client without it is refused" ! x_client XAUTHORITY=/dev/null
if [ "$(id -u)" = 0 ] && command -v runuser >/dev/null; then
  check "user nobody, pointed at the session's file, is refused" \
    ! runuser -u nobody -- env XAUTHORITY="$xauthority" DISPLAY=":$n" xdpyinfo
  check "user nobody without authorization is refused" \
    ! runuser -u nobody -- env XAUTHORITY=/dev/null DISPLAY=":$n" xdpyinfo
fi
for _ in $(seq 50); do grep -q program-on-display "$work/out" && break; sleep 0.1; done
check "the program reaches the display" grep -q program-on-display "$work/out"
types=$(security_types "$port" || echo error)
offers() { [[ " $types " == *" $1 "* ]]; }
check "VNC offers password authentication (types: $types)" offers 2
check "VNC does not offer no authentication" ! offers 1
check "VNC listens on the loopback address only: $(listeners "$port" | tr '\n' ' ')" loopback_only
check "the password is not in the output of a session without a terminal" \
  ! grep -qF "$(head -1 "$state/vnc-password")" "$work/out"
password1=$(cat "$state/vnc-password") || die "no password file"
cookie1=$(xauth -f "$xauthority" list) || die "no Xauthority file"

status=0
"$session" --display ":$n" --port "$(pick_port)" -- true >"$work/refused" 2>&1 || status=$?
check "a second session on the same display is refused with status 2 ($status)" [ "$status" = 2 ]
status=0
m=$(pick_display) && displays+=("$m")
XDG_RUNTIME_DIR="$work/runtime" "$session" --display ":$m" --port "$port" -- true \
  >"$work/refused" 2>&1 || status=$?
check "a second session on the same port is refused with status 2 ($status)" [ "$status" = 2 ]
check "  and leaves no folder behind" [ "$(ls "$work/runtime" | wc -l)" = 1 ]
check "  and leaves the first session serving" x_client XAUTHORITY="$xauthority"

kill -TERM "$pid"
expect_ended 143

echo "session without XDG_RUNTIME_DIR; ended by its program"
start -u XDG_RUNTIME_DIR
check "the folder is mode 700" mode_is 700 "$state"
password2=$(cat "$state/vnc-password") || die "no password file"
cookie2=$(xauth -f "$state/Xauthority" list) || die "no Xauthority file"
check "a fresh password" [ -n "$password2" -a "$password2" != "$password1" ]
check "a fresh cookie" [ -n "$cookie2" -a "$cookie2" != "$cookie1" ]
touch "$work/quit"
expect_ended 3

echo "session ended by Ctrl+C"
start XDG_RUNTIME_DIR="$work/runtime"
kill -INT -- "-$pid"
expect_ended 130

echo "session ended by SIGHUP"
start XDG_RUNTIME_DIR="$work/runtime"
kill -HUP "$pid"
expect_ended 129

echo "session whose VNC server fails to start"
mkdir "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/x11vnc"
chmod +x "$work/bin/x11vnc"
status=0
XDG_RUNTIME_DIR="$work/runtime" PATH="$work/bin:$PATH" "$session" --display ":$n" \
  --port "$port" -- true >"$work/out" 2>&1 || status=$?
check "the session fails ($status)" [ "$status" != 0 ]
check "  and leaves no Xvfb on :$n" [ -z "$(servers_of "$n")" ]
check "  no display socket or lock file for :$n" [ ! -e "/tmp/.X11-unix/X$n" -a ! -e "/tmp/.X$n-lock" ]
check "  and no folder" [ -z "$(ls "$work/runtime")" ]

[ "$failures" = 0 ] || { echo "$failures checks failed" >&2; exit 1; }
