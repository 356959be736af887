#!/usr/bin/env bash
# Runs the preferences reader's fuzzer for SECONDS on a copy of the seed corpus, in a
# temporary folder removed afterwards. Exits non-zero when the fuzzer finds a fault, after
# printing the input that caused it.
# Usage: tools/fuzz.sh SECONDS   (FUZZ_BUILD_DIR picks another build than build-fuzz/)
set -euo pipefail

seconds=${1:?usage: tools/fuzz.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
fuzzer=$(realpath -m "${FUZZ_BUILD_DIR:-$root/build-fuzz}")/tests/fuzz/preferences_fuzzer
[ -x "$fuzzer" ] || { echo "fuzz: $fuzzer is not built (make fuzz-build)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/heliomants-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/findings"
cp "$root"/tests/fuzz/corpus/* "$work/corpus/"

status=0
# The fuzzer's progress lines go to a log, shown only when something went wrong.
(cd "$work" && "$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
  -artifact_prefix="$work/findings/" "$work/corpus" >"$work/log" 2>&1) || status=$?
[ "$status" -eq 0 ] || tail -n 60 "$work/log" >&2

for finding in "$work"/findings/*; do
  [ -e "$finding" ] || continue
  echo "fuzz: finding $(basename "$finding"), its bytes:" >&2
  od -A d -t x1z "$finding" >&2
  [ "$status" -ne 0 ] || status=1
done
[ "$status" -eq 0 ] && echo "fuzz: no finding in $seconds seconds ($(grep -o 'Done [0-9]* runs' "$work/log"))"
exit "$status"
