#!/usr/bin/env bash
# Starts the game in a window, or explains the headless alternative when there is no display.
set -euo pipefail
exe="$1"; shift
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset), so no window can open." >&2
  echo "Run the game headless from a script instead, for example:" >&2
  echo "  $exe --headless --script docs/examples/tour.txt --shots out/shots --trace out/trace.jsonl" >&2
  echo "See docs/headless.md for the script format." >&2
  exit 1
fi
exec "$exe" "$@"
