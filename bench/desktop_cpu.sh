#!/usr/bin/env bash
# Not a test: the desktop program's CPU during a hunt in a window on a
# virtual X server, as a share of one core over 30 s (after 3 s to settle).
#   bash bench/desktop_cpu.sh build/release/app/reedshot [seconds]
set -euo pipefail
game="$1"
seconds="${2:-30}"
source "$(dirname "$0")/../tests/desktop/xvfb.sh"

"$game" --hunt --mute --scale 3 >"$work/out.txt" 2>&1 &
game_pid=$!
find_window $game_pid >/dev/null || { echo "no window appeared"; cat "$work/out.txt"; exit 1; }
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
game_before=$(ticks $game_pid)
x_before=$(ticks $xvfb_pid)
sleep "$seconds"
game_after=$(ticks $game_pid)
x_after=$(ticks $xvfb_pid)
awk -v g=$((game_after - game_before)) -v x=$((x_after - x_before)) -v s="$seconds" -v hz="$hz" 'BEGIN {
  printf "desktop during a hunt: %.1f %% of a core for the program (%.1f %% more for the X server), %d s\n",
    100 * g / hz / s, 100 * x / hz / s, s }'
kill $game_pid
