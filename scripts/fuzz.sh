#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs each one over its
# committed corpus for FUZZ_S seconds (default 60), then prints executions and
# coverage per target. New inputs go to build/fuzz/found/TARGET, never into the
# committed corpus; a crash leaves its input in build/fuzz/crashes and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_S:-60}"

# clang and libFuzzer, only when missing.
missing=()
for p in clang-14 libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then missing+=("$p"); fi
done
if [ ${#missing[@]} -ne 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset fuzz "${launcher[@]}" >/dev/null
cmake --build --preset fuzz -j2

bin=build/fuzz/fuzz
crashes=build/fuzz/crashes
mkdir -p "$crashes"
failed=0
printf '%-18s %10s %8s %6s %6s  %s\n' target executions exec/s cov ft result
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  found=build/fuzz/found/$target
  log=build/fuzz/$target.log
  mkdir -p "$found"
  result=ok
  # Every committed input first (a fault found once must stay fixed), then fuzzing.
  if ! "$bin/fuzz_$target" -runs=0 -artifact_prefix="$crashes/$target-" "$corpus" >"$log.replay" 2>&1; then
    result="FAULT replaying the corpus (see $log.replay)"
  elif ! "$bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$crashes/$target-" "$found" "$corpus" >"$log" 2>&1; then
    result="FAULT (see $log and $crashes)"
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" 2>/dev/null | grep -o '[0-9]*$' || true)
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" 2>/dev/null | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" 2>/dev/null | tail -1 | grep -o '[0-9]*' || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" 2>/dev/null | tail -1 | grep -o '[0-9]*' || true)
  printf '%-18s %10s %8s %6s %6s  %s\n' "$target" "${runs:--}" "${speed:--}" "${cov:--}" "${ft:--}" "$result"
  [ "$result" = ok ] || failed=1
done
if [ "$failed" -ne 0 ]; then
  for f in build/fuzz/*.log build/fuzz/*.log.replay; do grep -q -E "ERROR|broken:|deadly signal" "$f" 2>/dev/null && { echo "== $f"; tail -40 "$f"; }; done
fi
exit "$failed"
