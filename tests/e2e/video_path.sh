# shellcheck shell=bash source-path=SCRIPTDIR
# The way SDL draws, seen from outside the game. Xvfb has no 3D acceleration, so
# with no settings the game takes SDL's software renderer and maps no OpenGL
# driver; a player's SDL_RENDER_DRIVER=opengl keeps OpenGL, run by Mesa on the
# processor. The peak memory of the two runs tells them apart too; their share
# of a core is shown beside it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/figures.sh"

readonly PLAY_SECONDS=3
# Only the cases below choose the path
unset SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE

# Mesa's GLX and DRI drivers and llvmpipe's LLVM, as the game has them mapped
gl_mapped() {
  { grep -E -o '[^/ ]*(libGLX_mesa|_dri|libLLVM)[^/ ]*$' "/proc/$E2E_PID/maps" || true; } |
    sort -u | paste -s -d ' '
}

# A game started, turning and firing all along.
play() {
  e2e_key Return 0.15
  xdotool keydown space keydown Right sleep "$PLAY_SECONDS" keyup Right keyup space
}

# Runs the game with NAME=VALUE pairs added and plays; sets cpu, rss and gl.
run() {
  e2e_launch "$@"
  e2e_wait_up
  cpu=$(e2e_cpu_permille play)
  rss=$(e2e_peak_rss_kb)
  gl=$(gl_mapped)
  e2e_quit
  e2e_expect_status 0
}

e2e_xserver 640x480x24

run
[ -z "$gl" ] || e2e_fail "OpenGL mapped with no settings: $gl"
software_rss=$rss
e2e_pass "no settings: software path, peak $((rss / 1024)) MiB, $(e2e_tenths "$cpu") % of a core"

run SDL_RENDER_DRIVER=opengl
[ -n "$gl" ] || e2e_fail "no OpenGL mapped with the player's SDL_RENDER_DRIVER=opengl"
e2e_pass "SDL_RENDER_DRIVER=opengl: $gl, peak $((rss / 1024)) MiB, $(e2e_tenths "$cpu") % of a core"

# llvmpipe's LLVM alone is larger than the whole game on the software path
[ $((software_rss * 2)) -lt "$rss" ] ||
  e2e_fail "peak memory: $software_rss KiB with no settings, not under half of OpenGL's $rss KiB"
e2e_pass "peak memory with no settings under half of OpenGL's"
