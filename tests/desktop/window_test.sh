#!/usr/bin/env bash
# The desktop window under a virtual X server: landscape at the chosen scale,
# a click lands on the right panel point, Ctrl+Q ends the program cleanly,
# and the headless runner replays the recording to the same last frame.
set -euo pipefail
game="$1"
source "$(dirname "$0")/xvfb.sh"

"$game" --scale 2 --mute --record "$work/input.txt" >"$work/out.txt" 2>&1 &
game_pid=$!
window=$(find_window $game_pid) || { echo "no window appeared"; kill -0 $game_pid 2>/dev/null || echo "the program ended"; cat "$work/out.txt"; exit 1; }
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
[ "$geometry" = "640x480" ] || { echo "window is $geometry, wanted 640x480"; exit 1; }

# Skip the introduction (its button at view (10, 203), window (21, 407)) and
# tap the title, so that the frame ends on the still main menu.
xdotool mousemove --window "$window" 21 407 click 1
sleep 0.3
xdotool mousemove --window "$window" 320 240 click 1
sleep 1.5
# View pixel (50, 30) at scale 2 is window pixel (101, 61).
xdotool mousemove --window "$window" 101 61 mousedown 1
sleep 0.2
xdotool mouseup 1
sleep 0.2
# A drag, and the player's right arrow held to scroll; then a screenshot.
xdotool mousemove --window "$window" 300 300 mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove --window "$window" $((300 + step * 40)) $((300 - step * 20)); sleep 0.05; done
xdotool mouseup 1
xdotool keydown Right
sleep 0.6
xdotool keyup Right
sleep 0.3
xdotool key F12
sleep 0.3
kill -0 $game_pid 2>/dev/null || { echo "the program ended by itself"; cat "$work/out.txt" "$work/input.txt"; exit 1; }
xdotool key ctrl+q  # through XTEST, to the window under the pointer
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $game_pid 2>/dev/null; then echo "Ctrl+Q did not end the program"; exit 1; fi
wait $game_pid || { echo "the program failed"; cat "$work/out.txt"; exit 1; }

grep -Eq '^[0-9]+ down 50 30$' "$work/input.txt" || { echo "click not at view (50, 30):"; cat "$work/input.txt"; exit 1; }
grep -Eq '^[0-9]+ up 50 30$' "$work/input.txt" || { echo "release not at view (50, 30)"; exit 1; }
tail -1 "$work/input.txt" | grep -Eq '^[0-9]+ quit$' || { echo "recording does not end in quit"; exit 1; }
shot=$(sed -n 's/^reedshot: screenshot saved to //p' "$work/out.txt")
[ -f "$shot" ] || { echo "F12 saved no screenshot:"; cat "$work/out.txt"; exit 1; }

# Replay: the same input at the same virtual times, a screenshot just before the end.
end=$(tail -1 "$work/input.txt" | cut -d' ' -f1)
{ sed '$d' "$work/input.txt"; echo "$end shot replayed"; echo "$end quit"; } >"$work/replay.txt"
REEDSHOT_DATA_DIR="$work/replay-data" "$game" --headless --script "$work/replay.txt" --shots "$work" \
  || { echo "the replay failed"; exit 1; }
cmp -s "$shot" "$work/replayed.png" || { echo "the replay ends on another frame than the desktop"; exit 1; }
echo "window $geometry; click and release at view (50, 30); $(grep -c . "$work/input.txt") recorded lines replay to the same frame"
