# Sourced by the desktop tests: a private virtual X server, a scratch folder $work gone at exit,
# find_window PID and wait_end PID [TENTHS].
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "needs Xvfb and xdotool"; exit 77; }

work=$(mktemp -d)
xvfb_pid=0
game_pid=0
trap 'kill $game_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")" REEDSHOT_DATA_DIR="$work/data" HOME="$work"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb on $DISPLAY does not answer"; exit 1; }
# The X and D-Bus client libraries keep memory until exit; that is theirs, not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Prints the visible window titled Reedshot of process $1, once it shows.
find_window() {
  local window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --pid "$1" --name '^Reedshot$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$window" ] || return 1
  sleep 0.5  # let the window map before input goes to it
  echo "$window"
}

# Waits up to TENTHS tenths of a second (default 100) for process PID to end and gives its exit status.
wait_end() {
  for _ in $(seq "${2:-100}"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && { kill -9 "$1"; echo "still running"; return 1; }
  wait "$1"
}
