#!/usr/bin/env bash
# Key-to-screen latency of the whole program under Xvfb (640x480x24): Return is
# pressed through XTest on the high-score screen at a random moment within a
# frame, and timed until the top of the "P" of "PLAYER 1" is on the screen; each
# press on a freshly started game. Done with SDL's OpenGL path (SDL's defaults,
# which the game no longer keeps under Xvfb by itself) and with the software
# framebuffer, both forced, for this build and for the frame pacing before frames
# were shown at once (commit c5791cb, built once under BUILD/latency-baseline),
# and for this build with no settings too; each build beside the frame loop's
# figures from bench_frame. A figure of this build that misses
# its target is marked OVER; only a run that could not be measured exits non-zero.
#
#   tools/bench-latency.sh [BUILD]      (default: build)
set -uo pipefail

build=$(realpath "${1:-build}")
root=$(realpath "$(dirname "$0")/..")
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh" "$build/heliomants" "$build/tests/e2e/xprobe"
set +e
# Each row sets its own path
unset SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE

readonly BASELINE=c5791cb
readonly BASELINE_DIR=$build/latency-baseline
readonly PRESSES=40
readonly FRAME_US=13333 # one frame at 75 a second
# Targets for this build, in microseconds
readonly TARGET_SOFTWARE_MEDIAN=9000 TARGET_SOFTWARE_P95=15000 TARGET_OPENGL_MEDIAN=11000
readonly OPENGL=(SDL_RENDER_DRIVER=opengl SDL_FRAMEBUFFER_ACCELERATION=1)
readonly SOFTWARE=(SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0)

# Builds the game and bench_frame of the baseline commit, unless that is done.
build_baseline() {
  local commit
  commit=$(git -C "$root" rev-parse --verify -q "$BASELINE^{commit}") || {
    echo "bench-latency: commit $BASELINE (the frame pacing before frames were shown at once)" \
      "is not in this clone; measuring this build only" >&2
    return 1
  }
  [ "$(cat "$BASELINE_DIR/commit" 2>/dev/null)" = "$commit" ] && return 0
  echo "bench-latency: building $BASELINE once, under $BASELINE_DIR"
  rm -rf "$BASELINE_DIR"
  mkdir -p "$BASELINE_DIR/src"
  if git -C "$root" archive "$commit" | tar -x -C "$BASELINE_DIR/src" &&
    cmake -S "$BASELINE_DIR/src" -B "$BASELINE_DIR/build" >"$BASELINE_DIR/build.log" 2>&1 &&
    cmake --build "$BASELINE_DIR/build" -j "$(nproc)" --target heliomants bench_frame \
      >>"$BASELINE_DIR/build.log" 2>&1; then
    echo "$commit" >"$BASELINE_DIR/commit"
  else
    echo "bench-latency: cannot build $BASELINE (see $BASELINE_DIR/build.log); measuring this build only" >&2
    return 1
  fi
}

# One press on a freshly started game, with NAME=VALUE pairs added to its
# environment; prints the latency in microseconds.
press_once() {
  e2e_launch "$@"
  # The first frame shows the score's first digit, whose top-left dot is white.
  "$E2E_XPROBE" first-white 102 6 "$(date +%s%N)" 10000 >/dev/null &&
    "$E2E_XPROBE" key-latency Return 242 201 252
  local status=$?
  kill -TERM "$E2E_PID" 2>/dev/null
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=
  return "$status"
}

# Microseconds as milliseconds with one decimal: 6666 -> 6.7
ms() {
  local tenths=$((($1 + 50) / 100))
  printf '%d.%d' $((tenths / 10)) $((tenths % 10))
}

# Prints "WHAT: FIGURE ms" and, with a TARGET, whether it is met.
figure() {
  local what=$1 us=$2 target=${3:-}
  if [ -z "$target" ]; then
    printf '%s: %s ms' "$what" "$(ms "$us")"
  elif [ "$us" -le "$target" ]; then
    printf '%s: %s ms (target: at most %s)' "$what" "$(ms "$us")" "$(ms "$target")"
  else
    printf '%s: %s ms, OVER the target of %s' "$what" "$(ms "$us")" "$(ms "$target")"
  fi
}

# PRESSES presses of the game GAME under TITLE, with NAME=VALUE pairs added to
# its environment; prints the median, the 95th percentile and the maximum,
# judged against MEDIAN_TARGET and P95_TARGET where those are not empty.
measure() {
  local title=$1 game=$2 median_target=$3 p95_target=$4
  shift 4
  local samples=$E2E_TMP/samples failures=$E2E_TMP/failures k n
  : >"$samples"
  : >"$failures"
  # shellcheck disable=SC2034 # e2e_launch runs it
  E2E_GAME=$game
  for ((k = 0; k < PRESSES; k++)); do
    press_once "$@" >>"$samples" 2>>"$failures"
  done
  n=$(wc -l <"$samples")
  echo "  $title, $n of $PRESSES presses measured:"
  # The same failure on every press is told once, with its count.
  sort "$failures" | uniq -c | sed 's/^ */    failed /'
  [ "$n" -gt 0 ] || return 1
  local median p95 max
  read -r median p95 max < <(sort -n "$samples" | awk '{ v[NR] = $1 }
    function rank(p) { r = int(p * NR); if (r < p * NR) r++; return v[r] }
    END { print rank(0.5), rank(0.95), v[NR] }')
  echo "    $(figure median "$median" "$median_target")"
  echo "    $(figure p95 "$p95" "$p95_target")"
  echo "    $(figure max "$max")"
}

# The paths and the frame loop of the build in FOLDER; with "judged" (this build)
# the latency targets apply, and the path chosen with no settings is measured too.
measure_build() {
  local folder=$1 judged=${2:-} status=0
  local opengl_median=${judged:+$TARGET_OPENGL_MEDIAN}
  local software_median=${judged:+$TARGET_SOFTWARE_MEDIAN} software_p95=${judged:+$TARGET_SOFTWARE_P95}
  if [ -n "$judged" ]; then
    measure "no settings: the path the game chooses" "$folder/heliomants" "$opengl_median" "" || status=1
  fi
  measure "SDL's OpenGL path (SDL's defaults), forced" "$folder/heliomants" "$opengl_median" "" \
    "${OPENGL[@]}" || status=1
  measure "software framebuffer, forced" "$folder/heliomants" "$software_median" "$software_p95" \
    "${SOFTWARE[@]}" || status=1
  echo "  frame loop (bench_frame):"
  "$folder/bench/frame/bench_frame" | sed 's/^/    /' || status=1
  return "$status"
}

for program in "$E2E_GAME" "$E2E_XPROBE"; do
  [ -x "$program" ] || { echo "bench-latency: $program is not built" >&2; exit 1; }
done
status=0
build_baseline
baseline=$?

echo "== latency: key to screen, Return on the high-score screen answered by \"PLAYER 1\""
echo "  presses at random phases of the frame; sampling limit: half a frame, $(ms $((FRAME_US / 2))) ms"
echo "  load average: $(cut -d ' ' -f 1-3 /proc/loadavg)"
e2e_xserver 640x480x24
if [ "$baseline" -eq 0 ]; then
  echo "-- before: $BASELINE, which waits for the frame's deadline before the flip"
  measure_build "$BASELINE_DIR/build" || status=1
fi
echo "-- after: this build, which flips at once and waits afterwards"
measure_build "$build" judged || status=1
exit "$status"
