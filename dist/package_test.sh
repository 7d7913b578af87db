#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and runs the game
# installed there headless from a script.
# usage: package_test.sh BUILD_DIR VERSION SCRIPT
set -euo pipefail
build=$1 version=$2 script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/reedshot_*.deb)
fail() { echo "FAIL: $*"; exit 1; }

fields=$(dpkg-deb -f "$deb" Package Version Section Depends)
grep -qx "Package: reedshot" <<<"$fields" || fail "package name: $fields"
grep -qx "Version: $version" <<<"$fields" || fail "version: $fields"
grep -q "^Depends: .*libsdl2" <<<"$fields" || fail "no dependency on SDL: $fields"

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/reedshot usr/share/applications/org.reedshot.Reedshot.desktop \
         usr/share/metainfo/org.reedshot.Reedshot.metainfo.xml usr/share/man/man6/reedshot.6; do
  [ -s "$root/$f" ] || fail "missing $f"
done
# Every icon is a PNG of its folder's size (width and height at bytes 16 to 23).
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/reedshot.png
  [ -s "$icon" ] || fail "missing icon $size"
  dims=$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ')
  want=$(printf ' 0 0 %d %d 0 0 %d %d' $((size / 256)) $((size % 256)) $((size / 256)) $((size % 256)))
  [ "$dims" = "$want" ] || fail "icon $size has header bytes$dims"
done
desktop-file-validate "$root/usr/share/applications/org.reedshot.Reedshot.desktop"

game=$root/usr/bin/reedshot
[ "$("$game" --version)" = "reedshot $version" ] || fail "--version says '$("$game" --version)'"
mkdir "$work/data" "$work/shots"
REEDSHOT_DATA_DIR=$work/data "$game" --headless --script "$script" --shots "$work/shots" \
  --trace "$work/trace.jsonl" || fail "headless run ended with $?"
[ -s "$work/shots/title.png" ] && [ -s "$work/shots/after.png" ] || fail "screenshots missing"
grep -q '"event":"view"' "$work/trace.jsonl" || fail "no view in the trace"
grep -q '"event":"exit"' "$work/trace.jsonl" || fail "the run did not end"
cmp -s "$work/shots/title.png" "$work/shots/after.png" && fail "the screen never changed"
[ -s "$work/data/store.sqlite" ] || fail "no store written"
echo "package $(basename "$deb") installs and runs"
