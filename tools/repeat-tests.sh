#!/usr/bin/env bash
# Runs the chosen tests of a build N times in a row and tells how many runs
# failed, and which tests failed in them: a check that the tests pass every
# time, not only once.
#
#   tools/repeat-tests.sh N [LABEL-OR-REGEX]    (default: every test)
#
# The second argument is taken as a CTest label when a test carries it (e2e),
# otherwise as a regular expression of test names. BUILD=dir picks another build
# folder (default: build); JOBS=n runs n tests at once (default: the number of
# processors). Failed runs keep their CTest output in $TMPDIR.
set -uo pipefail

runs=${1:?usage: tools/repeat-tests.sh N [LABEL-OR-REGEX]}
choice=${2:-}
build=${BUILD:-build}
jobs=${JOBS:-$(nproc)}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "repeat-tests: N must be a whole number above 0, not '$runs'" >&2; exit 2; }
[ -f "$build/CTestTestfile.cmake" ] || { echo "repeat-tests: no tests in '$build'; build it first (make build)" >&2; exit 2; }

select=()
if [ -n "$choice" ]; then
  if (cd "$build" && ctest --print-labels) | grep -qx "  $choice"; then
    select=(-L "$choice")
  else
    select=(-R "$choice")
  fi
fi
count=$(cd "$build" && ctest -N "${select[@]}" | awk '/^Total Tests:/ { print $3 }')
[ "${count:-0}" -gt 0 ] || { echo "repeat-tests: no test matches '$choice'" >&2; exit 2; }

failed_runs=0
declare -A failures=()
for ((run = 1; run <= runs; run++)); do
  log=$(mktemp "${TMPDIR:-/tmp}/repeat-tests.XXXXXX")
  if (cd "$build" && ctest "${select[@]}" -j "$jobs" --output-on-failure) >"$log" 2>&1; then
    echo "run $run of $runs: passed ($count tests)"
    rm "$log"
  else
    failed_runs=$((failed_runs + 1))
    names=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' "$log" | tr '\n' ' ')
    echo "run $run of $runs: FAILED: ${names:-see the log} (log: $log)"
    for name in $names; do failures[$name]=$((${failures[$name]:-0} + 1)); done
  fi
done

echo "$failed_runs of $runs runs failed"
for name in "${!failures[@]}"; do
  echo "  $name: failed in ${failures[$name]} of $runs runs"
done | sort
[ "$failed_runs" -eq 0 ]
