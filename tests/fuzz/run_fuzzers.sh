#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one over a copy of its seed corpus for a
# fixed number of inputs from a fixed seed, so that a run is repeatable, with a time cap.
# Fails when a target finds a crash, a leak or undefined behaviour.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: run_fuzzers.sh BUILD_DIR [RUNS]}
runs=${2:-10000}

CC=clang CXX=clang++ cmake -S "$repo/tests/fuzz/clang" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "$repo/tests/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  echo "== $name ($runs inputs)"
  if ! (cd "$work" && "$target" -seed=1 -runs="$runs" -max_total_time=120 -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$work" > "$work.log" 2>&1); then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$work.log" || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
