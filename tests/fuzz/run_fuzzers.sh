#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time over a copy of
# its seed corpus. Fails when a target finds a crash, a leak or undefined behaviour.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: run_fuzzers.sh BUILD_DIR [SECONDS]}
seconds=${2:-15}

CC=clang CXX=clang++ cmake -S "$repo/tests/fuzz/clang" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "$repo/tests/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  echo "== $name (${seconds}s)"
  if ! (cd "$work" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$work" > "$work.log" 2>&1); then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$work.log" || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
