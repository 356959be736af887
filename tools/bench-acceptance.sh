#!/usr/bin/env bash
# The whole program under Xvfb, which has no 3D acceleration, measured from
# outside: how long from launch to the first frame on the screen, then the
# process's share of one core and its peak resident memory over 20 seconds of
# play at 75 frames a second.
#
# Each path three ways: with no settings, the path the game chooses by itself;
# SDL's OpenGL path forced; SDL's software renderer forced. First on a 640x480
# screen, the window at its own size; then on a 1920x1080 screen with the window
# covering it, the picture scaled (no start-up figure there: the window is only
# made to cover the screen once it is up). A figure that misses its target is
# marked OVER; the figures of a shared, noisy machine are for reading, so only a
# run that could not be measured exits non-zero.
#
#   tools/bench-acceptance.sh [BUILD]      (default: build)
set -uo pipefail

build=${1:-build}
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh" "$build/heliomants" "$build/tests/e2e/xprobe"
# shellcheck source=../tests/e2e/figures.sh
source "$(dirname "$0")/../tests/e2e/figures.sh"
set +e
# Each row sets its own path
unset SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE

readonly PLAY_SECONDS=20
readonly TARGET_STARTUP_MS=300
readonly MIB=1024 # KiB
readonly OPENGL=(SDL_RENDER_DRIVER=opengl SDL_FRAMEBUFFER_ACCELERATION=1)
readonly SOFTWARE=(SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0)

# Prints WHAT: SHOWN and whether FIGURE is within TARGET; no TARGET, no judgement.
judge() {
  local what=$1 figure=$2 target=$3 shown=$4 target_shown=$5
  if [ -z "$target" ]; then
    echo "  $what: $shown"
  elif [ "$figure" -le "$target" ]; then
    echo "  $what: $shown (target: $target_shown)"
  else
    echo "  $what: $shown, OVER the target of $target_shown"
  fi
}

# One run on a screen of SIZE, with NAME=VALUE pairs added to the game's
# environment. CPU_TARGET is the most it may use, in tenths of a percent of one
# core, and RSS_TARGET its most memory in KiB; empty for none.
measure() {
  local size=$1 title=$2 cpu_target=$3 rss_target=$4
  shift 4
  echo "== acceptance: $title, $size"
  e2e_xserver "$size"x24
  local startup_ms='' permille rss_kb
  if ! e2e_scaled; then
    # The first frame shows the score's first digit, whose top-left dot is white.
    local since probe
    since=$(date +%s%N)
    "$E2E_XPROBE" first-white 102 6 "$since" 10000 >"$E2E_TMP/startup" &
    probe=$!
    e2e_launch "$@"
    wait "$probe" || e2e_fail "no first frame within 10 s"
    startup_ms=$(cat "$E2E_TMP/startup")
  else
    e2e_launch "$@"
  fi
  e2e_wait_up

  permille=$(e2e_cpu_permille e2e_play_for "$PLAY_SECONDS")
  rss_kb=$(e2e_peak_rss_kb)

  e2e_quit
  kill -TERM "$E2E_XPID" 2>/dev/null
  wait "$E2E_XPID" 2>/dev/null
  E2E_XPID=

  [ -z "$startup_ms" ] || judge "start-up to the first frame" "$startup_ms" "$TARGET_STARTUP_MS" \
    "$startup_ms ms" "under $TARGET_STARTUP_MS ms"
  judge "CPU over $PLAY_SECONDS s of play" "$permille" "$cpu_target" \
    "$(e2e_tenths "$permille") % of one core" "$(e2e_tenths "${cpu_target:-0}") %"
  judge "peak resident memory" "$rss_kb" "$rss_target" \
    "$((rss_kb / MIB)) MiB" "under $((${rss_target:-0} / MIB)) MiB"
}

measure 640x480 "no settings" 100 $((40 * MIB))
measure 640x480 "SDL's OpenGL path forced" 320 $((60 * MIB)) "${OPENGL[@]}"
measure 640x480 "SDL's software renderer forced" 100 $((60 * MIB)) "${SOFTWARE[@]}"
measure 1920x1080 "no settings, scaled" 350 ""
measure 1920x1080 "SDL's OpenGL path forced, scaled" "" "" "${OPENGL[@]}"
measure 1920x1080 "SDL's software renderer forced, scaled" "" "" "${SOFTWARE[@]}"
exit 0
