#!/usr/bin/env bash
# The game on a Wayland desktop without 3D acceleration, measured from outside:
# headless sway at 1920x1080 drawing in software, the picture scaled to fill it.
# The process's share of one core and its peak resident memory over 20 seconds
# of play, and the Mesa libraries it maps:
#
# - with no settings, through XWayland, where the game takes SDL's software path;
# - natively (SDL_VIDEODRIVER=wayland), with no other setting;
# - natively, with SDL's software renderer and framebuffer asked for (both
#   variables), and with the software renderer alone.
#
# The figures of a shared, noisy machine are for reading; only a run that could
# not be measured exits non-zero.
#
#   tools/bench-wayland.sh [BUILD]      (default: build)
set -uo pipefail

build=${1:-build}
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh" "$build/heliomants" "$build/tests/e2e/xprobe"
# shellcheck source=../tests/e2e/compositor.sh
source "$(dirname "$0")/../tests/e2e/compositor.sh" "$build/tests/e2e/wlkeys"
# shellcheck source=../tests/e2e/figures.sh
source "$(dirname "$0")/../tests/e2e/figures.sh"
set +e
# Each row sets its own driver and path
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE

readonly PLAY_SECONDS=20
readonly MIB=1024 # KiB

# Mesa's drivers and llvmpipe's LLVM, as the game has them mapped
mesa_mapped() {
  { grep -E -o '[^/ ]*(libEGL_mesa|libGLX_mesa|_dri|libLLVM)[^/ ]*$' "/proc/$E2E_PID/maps" || true; } |
    sort -u | paste -s -d ' '
}

# One run on a desktop of MODE (xwayland or native), with NAME=VALUE pairs added
# to the game's environment.
measure() {
  local mode=$1 title=$2
  shift 2
  echo "== wayland: $title"
  e2e_compositor "$mode"
  e2e_hand_over
  e2e_launch "$@"
  e2e_wait_up
  local permille rss_kb mesa
  permille=$(e2e_cpu_permille e2e_play_for "$PLAY_SECONDS")
  rss_kb=$(e2e_peak_rss_kb)
  mesa=$(mesa_mapped)
  e2e_quit
  e2e_compositor_stop
  echo "  CPU over $PLAY_SECONDS s of play: $(e2e_tenths "$permille") % of one core"
  echo "  peak resident memory: $((rss_kb / MIB)) MiB"
  echo "  Mesa mapped: ${mesa:-none}"
}

measure xwayland "no settings, through XWayland"
measure native "SDL_VIDEODRIVER=wayland" SDL_VIDEODRIVER=wayland
measure native "SDL_VIDEODRIVER=wayland, SDL's software renderer and framebuffer" \
  SDL_VIDEODRIVER=wayland SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
measure native "SDL_VIDEODRIVER=wayland, SDL's software renderer alone" \
  SDL_VIDEODRIVER=wayland SDL_RENDER_DRIVER=software
exit 0
