#!/usr/bin/env bash
# Time and input of the desktop under a virtual X server, through a probe on the platform layer (the tick
# counter, sleeps, busy waits, drags, keys, focus, clicks, F12), its headless replay, and signals ending the loop.
set -euo pipefail
probe="$1"
game="$2"
source "$(dirname "$0")/xvfb.sh"

fail() { echo "$1"; echo "--- probe log"; cat "$work/log.txt"; echo "--- recording"; cat "$work/rec.txt"; exit 1; }
# The first number of the log line that starts with $1.
figure() { sed -n "s/^$1 \([0-9]*\).*/\1/p" "$work/log.txt" | head -1; }

uptime_ms() { awk '{printf "%d\n", $1 * 1000}' /proc/uptime; }
booted=$(uptime_ms)
# Libraries below SDL may talk on stderr; the logs compared are stdout alone.
"$probe" --mute --scale 2 --record "$work/rec.txt" >"$work/log.txt" 2>"$work/err.txt" &
game_pid=$!
window=$(find_window $game_pid) || fail "no window appeared"
shown=$(uptime_ms)
xdotool mousemove --window "$window" 320 240
sleep 0.2

# The arrow let go while Alt is down (the panel's up, 0x26, is the player's right).
xdotool keydown Right; sleep 0.1; xdotool keydown alt; sleep 0.1; xdotool keyup Right; sleep 0.1; xdotool keyup alt
# Arrow and stylus held while another window takes the keyboard.
xdotool keydown Left; xdotool mousedown 1; sleep 0.2
xdotool windowfocus "$(xdotool search --maxdepth 0 --name '' | head -1)"
sleep 0.3
xdotool keyup Left; xdotool mouseup 1
xdotool mousemove --window "$window" 320 240; xdotool windowfocus "$window"; sleep 0.2
# Button 1 sleeps 1.5 s: a click 0.3 s into it waits.
xdotool key 1; sleep 0.3; xdotool click 1; sleep 1.8
# Button 2 busy-waits 150 ms on the tick counter.
xdotool key 2; sleep 0.4
# 3000 moves in one go while the stylus is down.
xdotool mousemove --window "$window" 100 100 mousedown 1
moves=""
for i in $(seq 3000); do moves="$moves mousemove $((100 + i % 400)) $((100 + i % 200))"; done
# shellcheck disable=SC2086
xdotool $moves
sleep 0.2
xdotool mouseup 1
sleep 0.3
# 40 letters typed faster than the probe handles them (60 ms each): they wait in
# the queue, and game time runs on meanwhile.
# shellcheck disable=SC2046
xdotool key --delay 0 $(printf 'a %.0s' $(seq 40)) Escape
sleep 2.5
xdotool key F12
sleep 0.3
xdotool key ctrl+q
wait_end $game_pid || fail "the probe failed"
grep -q '^ended$' "$work/log.txt" || fail "the message loop did not end"
# The clicks at window (320, 240) land on view (160, 120), the panel's (120, 159).
grep -q ' message 0x201 0x0 0x9F0078$' "$work/log.txt" || fail "a click did not land on the view's middle"
shot=$(sed -n 's/^reedshot: screenshot saved to //p' "$work/log.txt")
[ -f "$shot" ] || fail "F12 saved no screenshot"
# The tick counter starts at the system's uptime, so seeds taken from it differ per start.
start=$(sed -n 's/^start \([0-9]*\)$/\1/p' "$work/rec.txt")
[ "${start:-0}" -ge $((booted - 20)) ] && [ "$start" -le "$shown" ] || fail "the tick started at ${start:-?}, not at the uptime"

# (Before the next key goes down: the focus loss after it would release it anyway.)
awk '/ message 0x100 0x28 / {exit} / message 0x101 0x26 / {up = 1} END {exit !up}' "$work/log.txt" \
  || fail "the key let go under Alt stayed held"
# On focus loss: the arrow's release, the pen-up, then the focus message, in that order.
grep -E 'message 0x(101 0x28|202|8) ' "$work/log.txt" | head -3 | cut -d' ' -f3-4 | tr '\n' ' ' |
  grep -q '^0x101 0x28 0x202 0x0 0x8 0x0 $' || fail "focus loss did not release the arrow and the stylus first"

slept=$(figure "wall sleep")
[ "${slept:-0}" -ge 1450 ] || fail "Sleep(1500) lasted ${slept:-?} ms"
awk '/^slept to/ {s = 1} / message 0x201 / && s {ok = 1} END {exit !ok}' "$work/log.txt" \
  || fail "the click during the sleep did not wait for its end"
beats=$(figure "wall heartbeats")
[ "${beats:-9999}" -le 800 ] || fail "ten heartbeats after the sleep took ${beats:-?} ms"
busy=$(figure "wall busy")
[ "${busy:-0}" -ge 140 ] || fail "a 150 ms busy wait passed in ${busy:-?} ms"

delivered=$(sed -n 's/^drag \([0-9]*\) moves.*/\1/p' "$work/log.txt" | tail -1)
[ "${delivered:-3000}" -lt 1500 ] || fail "$delivered of 3000 pen moves reached the game"
read -r wall ticks < <(sed -n 's/^wall drag \([0-9]*\) ticks \([0-9]*\)/\1 \2/p' "$work/log.txt" | tail -1)
[ $((ticks * 10)) -ge $((wall * 8)) ] || fail "game time ran $ticks ms during $wall ms of dragging"
drag="$ticks game ms in $wall ms"

read -r wall ticks < <(sed -n 's/^wall typing \([0-9]*\) ticks \([0-9]*\)/\1 \2/p' "$work/log.txt" | tail -1)
[ "${wall:-0}" -ge 2300 ] || fail "40 letters took ${wall:-?} ms of work, wanted 60 ms each"
[ $((ticks * 10)) -ge $((wall * 8)) ] || fail "game time ran $ticks ms while $wall ms of queued letters were handled"
typing="$ticks game ms in $wall ms"

# The replay: the same input at the same ticks, the same answers.
"$probe" --headless --script "$work/rec.txt" >"$work/replay.txt" 2>"$work/err.txt" || fail "the replay failed"
if ! diff <(grep -v '^wall\|^reedshot:' "$work/log.txt") <(grep -v '^wall' "$work/replay.txt") >"$work/diff.txt"; then
  cat "$work/diff.txt"; fail "the replay differs from the desktop run"
fi

# Signals end the loop like closing the window.
# (A shell starts background commands with SIGINT ignored; the program keeps an ignored signal ignored.)
for signal in HUP TERM INT; do
  env --default-signal=INT "$probe" --mute >"$work/log.txt" 2>&1 &
  game_pid=$!
  find_window $game_pid >/dev/null || fail "no window appeared for SIG$signal"
  kill -s $signal $game_pid
  wait_end $game_pid || fail "SIG$signal did not end the probe normally"
  grep -q '^ended$' "$work/log.txt" || fail "SIG$signal did not end the message loop"
done
# And the game saves its settings on the way out.
"$game" --mute --record "$work/rec.txt" >"$work/log.txt" 2>&1 &
game_pid=$!
find_window $game_pid >/dev/null || fail "no game window appeared"
kill -HUP $game_pid
wait_end $game_pid || fail "SIGHUP did not end the game normally"
tail -1 "$work/rec.txt" | grep -Eq '^[0-9]+ quit$' || fail "SIGHUP: the game did not shut down"
if command -v sqlite3 >/dev/null; then
  saved=$(sqlite3 "$REEDSHOT_DATA_DIR/store.sqlite" 'select count(*) from reg_values')
  [ "$saved" -gt 0 ] || fail "SIGHUP: no settings were saved"
fi
echo "sleep ${slept} ms, heartbeats after it ${beats} ms, busy wait ${busy} ms;" \
  "drag: ${delivered} of 3000 moves, ${drag}; typing: ${typing}; replay identical; signals end the loop"
