#!/usr/bin/env bash
# Random input for HOURS simulated hours, every frame checked against a full redraw; then every screen visited,
# a clean quit, a valid store, and no allocation once started.  usage: soak.sh REEDSHOT STORE_CHECK SEED HOURS
set -euo pipefail
game=$1 check=$2 seed=$3 hours=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

start=$(date +%s)
REEDSHOT_DATA_DIR=$work/data "$game" --headless --monkey "$seed" --hours "$hours" --check-frames \
  --trace "$work/trace.jsonl" --record "$work/input.txt" >"$work/out.txt" || {
  cat "$work/out.txt"
  cp "$work/input.txt" "${TMPDIR:-/tmp}/reedshot-soak-$seed.txt" 2>/dev/null &&
    echo "the input is kept as a script in ${TMPDIR:-/tmp}/reedshot-soak-$seed.txt"
  fail "the run ended with a fault"
}
cat "$work/out.txt"
echo "soak: seed $seed, $(($(date +%s) - start)) s wall"

# Menu, hunt, help, name entry, pause, scores, about, options, credits, introduction, title.
for view in 0 1 3 4 5 7 8 10 11 12 14; do
  grep -q "\"event\":\"view\",\"from\":[0-9]*,\"to\":$view," "$work/trace.jsonl" || fail "never reached view $view"
done
grep -q '"event":"hunt_end"' "$work/trace.jsonl" || fail "no hunt came to its end"
[ "$(tail -n 1 "$work/trace.jsonl" | grep -c '"event":"exit"')" = 1 ] || fail "the trace does not end with the exit"
REEDSHOT_DATA_DIR=$work/data "$check"

# The same input replayed with the allocation count on.
REEDSHOT_DATA_DIR=$work/replay "$game" --headless --script "$work/input.txt" --timedemo >"$work/timedemo.txt"
grep -q "after start-up (0 in 0 events" "$work/timedemo.txt" || { cat "$work/timedemo.txt"; fail "events allocated"; }
