#!/usr/bin/env bash
# Desktop comforts under a virtual X server: a virtual pad plugged in during a hunt (replayed headless to the
# same doings), scale and fullscreen kept across starts, Ctrl+M, and --replay in the window.
set -euo pipefail
driver="$1"
game="$2"
source "$(dirname "$0")/xvfb.sh"

fail() { echo "$1"; for f in "$work"/*.txt; do echo "--- $f"; tail -20 "$f"; done; exit 1; }
# The trace without what only a window run has: the sound card's buffers and the window's own preferences.
game_trace() { grep -v '"event":"audio_\|"kind":"host"' "$1"; }
# What the game did, in order. A live window that falls behind the wall clock skips heartbeats, which the
# headless replay does not, so the frames and the ticks of timed doings may differ under load.
game_doings() { grep -E '"event":"(view|sound|pointer|hunt_end|message_box)"' "$1" | sed 's/"tick":[0-9]*,//'; }
geometry() { xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}'; }
setting() { sqlite3 "$REEDSHOT_DATA_DIR/store.sqlite" "$1"; }
# Keys through XTEST to the focused window, as a player types them.
press() { xdotool windowfocus "$window"; sleep 0.1; xdotool key "$1"; sleep 0.5; }

# 1. The pad, as the driver works it (its steps are in pad_driver.cpp).
"$driver" --hunt --mute --scale 2 --record "$work/pad.txt" --trace "$work/pad-trace.txt" >"$work/driver.txt" 2>&1 &
game_pid=$!
wait_end $game_pid 300 || fail "the pad run failed"
grep -q '^pad: done$' "$work/driver.txt" || fail "the driver did not finish"
grep -q '^pad: cannot' "$work/driver.txt" && fail "no virtual pad"
# The stick moved the pointer right from the view's middle (160, 120) before the tap.
read -r _ _ x y < <(grep -E '^[0-9]+ down ' "$work/pad.txt" | head -1)
[ "${x:-160}" -gt 200 ] && [ "$y" -eq 120 ] || fail "the first tap was at ($x, $y), not right of the middle"
grep -Eq "^[0-9]+ up $x $y$" "$work/pad.txt" || fail "the tap did not let go where it went down"
[ "$(grep -c 'hotkey 0xC3' "$work/pad.txt")" -eq 2 ] || fail "west and east did not reload once each"
for key in 0x26 0x28; do
  grep -q "keydown $key" "$work/pad.txt" && grep -q "keyup $key" "$work/pad.txt" || fail "no scroll with $key"
done
# The d-pad's nudge moved the pointer up one pixel; the drag went down from there.
grep -Eq "^[0-9]+ down $x $((y - 1))$" "$work/pad.txt" || fail "the nudge did not move the pointer one pixel"
[ "$(grep -c ' move ' "$work/pad.txt")" -ge 5 ] || fail "the drag made too few moves"
grep -q '"event":"sound","id":550' "$work/pad-trace.txt" || fail "the tap fired no shot"
grep -q '"event":"view","from":1,"to":5' "$work/pad-trace.txt" || fail "Start did not pause the hunt"
grep -q '"event":"view","from":5,"to":1' "$work/pad-trace.txt" || fail "Back did not resume the hunt"
REEDSHOT_DATA_DIR="$work/replay-data" "$game" --headless --script "$work/pad.txt" --trace "$work/headless-trace.txt" \
  >/dev/null 2>&1 || fail "the headless replay failed"
diff <(game_doings "$work/pad-trace.txt") <(game_doings "$work/headless-trace.txt") >"$work/diff.txt" \
  || fail "the headless replay's trace differs from the pad session's"

# 2. Scale and fullscreen across two starts. Without a window manager fullscreen keeps the window's size, so
# the state shows in what is stored: the second start came back fullscreen when its F11 turns it off.
# Starts the game with "$@", finds its window at scale 1, toggles fullscreen and quits.
toggle_at_scale_1() {
  "$game" --mute "$@" >"$work/out.txt" 2>&1 &
  game_pid=$!
  window=$(find_window $game_pid) || fail "no window (${*:-no options})"
  [ "$(geometry "$window")" = "320x240" ] || fail "the window (${*:-no options}) is $(geometry "$window"), not scale 1"
  press F11
  press ctrl+q
  wait_end $game_pid || fail "the start (${*:-no options}) did not end"
}
toggle_at_scale_1 --scale 1
[ "$(setting "select number from host_prefs where name = 'WindowFullscreen'")" = 1 ] || fail "fullscreen not kept"
toggle_at_scale_1
[ "$(setting "select number from host_prefs where name = 'WindowFullscreen'")" = 0 ] \
  || fail "the second start did not come back fullscreen"

# 3. Ctrl+M on SDL's disk audio driver, which writes what the device plays (8-bit, silence 0x80).
setting "update reg_values set number = 40 where name = 'SoundVol'; update reg_values set number = 50 where name = 'MusicVol'"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
"$game" --hunt --scale 2 >"$work/out.txt" 2>&1 &
game_pid=$!
window=$(find_window $game_pid) || fail "no window with sound"
# Whether the device played anything but silence from byte $1 on.
heard() { tail -c +"$1" "$work/audio.raw" | od -An -v -tx1 | awk '{for (i = 1; i <= NF; i++) if ($i != "80") n++} END {exit !n}'; }
sleep 1
heard 1 || fail "the hunt's music did not reach the device"
press ctrl+m  # and what was queued before plays out
muted=$(stat -c %s "$work/audio.raw")
sleep 1
heard $((muted + 1)) && fail "Ctrl+M did not silence the device"
press ctrl+m
unmuted=$(stat -c %s "$work/audio.raw")
sleep 1
heard $((unmuted + 1)) || fail "the second Ctrl+M did not bring the sound back"
press ctrl+q
wait_end $game_pid || fail "the run with sound did not end"
unset SDL_AUDIODRIVER SDL_DISKAUDIOFILE
[ "$(setting "select count(*) from reg_values where (name, number) in (values ('SoundVol', 40), ('MusicVol', 50))")" = 2 ] \
  || fail "the stored volumes changed"

# 4. The pad session watched in the window: it ends by itself, as the headless runner replayed it, and the
# player's store stays byte for byte.
before=$(sha256sum "$REEDSHOT_DATA_DIR/store.sqlite")
# The headless replay to compare with, on a copy of the same store.
cp -r "$REEDSHOT_DATA_DIR" "$work/copy"
REEDSHOT_DATA_DIR="$work/copy" "$game" --headless --script "$work/pad.txt" --trace "$work/headless-trace.txt" \
  >/dev/null 2>&1 || fail "the headless replay on the player's store failed"
ls "$REEDSHOT_DATA_DIR" >"$work/files-before.txt"
"$game" --replay "$work/pad.txt" --mute --trace "$work/replay-trace.txt" >"$work/out.txt" 2>&1 &
game_pid=$!
wait_end $game_pid 300 || fail "the replay did not end by itself"
diff <(game_trace "$work/headless-trace.txt") <(game_trace "$work/replay-trace.txt") >"$work/diff.txt" \
  || fail "the window's replay differs from the headless one"
[ "$(sha256sum "$REEDSHOT_DATA_DIR/store.sqlite")" = "$before" ] || fail "the replay changed the player's store"
ls "$REEDSHOT_DATA_DIR" | diff "$work/files-before.txt" - || fail "the replay left files beside the store"
echo "pad: tap at ($x, $y), reloads, scrolls, drag, pause and resume, replayed to the same trace;" \
  "scale 1 and fullscreen kept; Ctrl+M silent and back, volumes kept; --replay exact, store untouched"
