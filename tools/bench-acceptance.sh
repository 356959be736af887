#!/usr/bin/env bash
# The whole program under Xvfb (640x480x24), measured from outside: how long from
# launch to the first frame on the screen, then the process's share of one core
# and its peak resident memory over 20 seconds of play at 75 frames a second.
# Done twice: with SDL's defaults, and with SDL's software renderer and no
# framebuffer acceleration. A figure that misses its target is marked OVER; the
# figures of a shared, noisy machine are for reading, so only a run that could not
# be measured exits non-zero.
#
#   tools/bench-acceptance.sh [BUILD]      (default: build)
set -uo pipefail

build=${1:-build}
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh" "$build/heliomants" "$build/tests/e2e/xprobe"
set +e

readonly PLAY_SECONDS=20
readonly TARGET_STARTUP_MS=300
readonly TARGET_RSS_KB=$((60 * 1024))

# Utime plus stime of the game, all its threads, in clock ticks.
cpu_ticks() {
  local stat fields
  stat=$(cat "/proc/$E2E_PID/stat")
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}

# Plays: a game started with Return, then turns, thrust and fire in turn; Return
# again whenever a game has ended.
play_for() {
  local until=$((SECONDS + $1))
  xdotool keydown space
  while [ "$SECONDS" -lt "$until" ]; do
    e2e_key Return 0.1
    e2e_key Right 0.4
    e2e_key Up 0.2
    e2e_key Left 0.3
  done
  xdotool keyup space
}

# Prints WHAT: SHOWN and whether FIGURE is within TARGET.
judge() {
  local what=$1 figure=$2 target=$3 shown=$4 target_shown=$5
  if [ "$figure" -le "$target" ]; then
    echo "  $what: $shown (target: $target_shown)"
  else
    echo "  $what: $shown, OVER the target of $target_shown"
  fi
}

# Tenths as a decimal: 73 -> 7.3
tenths() { echo "$(($1 / 10)).$(($1 % 10))"; }

# One run with NAME=VALUE pairs added to the game's environment; CPU_TARGET is
# the most it may use, in tenths of a percent of one core.
measure() {
  local title=$1 cpu_target=$2
  shift 2
  echo "== acceptance: $title"
  e2e_xserver 640x480x24
  # The first frame shows the score's first digit, whose top-left dot is white.
  local since startup_ms ticks_before ticks_after hz rss_kb permille
  since=$(date +%s%N)
  "$E2E_XPROBE" first-white 102 6 "$since" 10000 >"$E2E_TMP/startup" &
  local probe=$!
  e2e_launch "$@"
  wait "$probe" || e2e_fail "no first frame within 10 s"
  startup_ms=$(cat "$E2E_TMP/startup")
  e2e_wait_up

  hz=$(getconf CLK_TCK)
  ticks_before=$(cpu_ticks)
  local started=${EPOCHREALTIME/./}
  play_for "$PLAY_SECONDS"
  ticks_after=$(cpu_ticks)
  local elapsed_us=$((${EPOCHREALTIME/./} - started))
  rss_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$E2E_PID/status")
  # CPU time over wall time, in tenths of a percent.
  permille=$(((ticks_after - ticks_before) * 1000000000 / hz / elapsed_us))

  e2e_key Escape
  e2e_wait_exit 5
  kill -TERM "$E2E_XPID" 2>/dev/null
  wait "$E2E_XPID" 2>/dev/null
  E2E_XPID=

  judge "start-up to the first frame" "$startup_ms" "$TARGET_STARTUP_MS" \
    "$startup_ms ms" "under $TARGET_STARTUP_MS ms"
  judge "CPU over $PLAY_SECONDS s of play" "$permille" "$cpu_target" \
    "$(tenths "$permille") % of one core" "$(tenths "$cpu_target") %"
  judge "peak resident memory" "$rss_kb" "$TARGET_RSS_KB" \
    "$((rss_kb / 1024)) MiB" "under $((TARGET_RSS_KB / 1024)) MiB"
}

measure "SDL's defaults" 320
measure "software renderer, no framebuffer acceleration" 100 \
  SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
exit 0
