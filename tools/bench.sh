#!/usr/bin/env bash
# Runs every benchmark of a build in turn (build/bench/*/bench_*), each under its
# own heading. Another build folder can be named as the first argument.
set -euo pipefail

build=${1:-build}
status=0
found=0
for bench in "$build"/bench/*/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  found=1
  echo "== $(basename "$bench")"
  "$bench" || { status=$?; echo "bench: $(basename "$bench") failed with status $status" >&2; }
  echo
done
if [ "$found" -eq 0 ]; then
  echo "bench: no benchmark built under $build/bench" >&2
  exit 1
fi
"$(dirname "$0")/bench-acceptance.sh" "$build" || status=$?
"$(dirname "$0")/bench-latency.sh" "$build" || status=$?
"$(dirname "$0")/bench-wayland.sh" "$build" || status=$?
exit "$status"
