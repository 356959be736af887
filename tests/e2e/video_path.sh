# shellcheck shell=bash source-path=SCRIPTDIR
# The way SDL draws, seen from outside the game, by the libraries it has mapped.
# Xvfb has no 3D acceleration, so with no settings the game takes SDL's software
# renderer and maps no OpenGL library at all; a player's SDL_RENDER_DRIVER=opengl
# keeps OpenGL, run by Mesa's GLX and a DRI driver on the processor. The peak
# memory and the share of a core of each run are shown beside.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/figures.sh"

readonly PLAY_SECONDS=3
# Only the cases below choose the path
unset SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE

# The OpenGL libraries the game has mapped: the dispatch (libGL, libGLX,
# libOpenGL, libEGL), Mesa's GLX, the DRI drivers and llvmpipe's LLVM
gl_mapped() {
  { grep -E -o '[^/ ]*(libGL|libOpenGL|libEGL|_dri|libgallium|libLLVM)[^/ ]*$' "/proc/$E2E_PID/maps" || true; } |
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
e2e_pass "no settings: software path, no OpenGL mapped, peak $((rss / 1024)) MiB, $(e2e_tenths "$cpu") % of a core"

run SDL_RENDER_DRIVER=opengl
[[ " $gl " == *" libGLX_mesa."* ]] || e2e_fail "no Mesa GLX mapped with the player's SDL_RENDER_DRIVER=opengl: ${gl:-nothing}"
[[ $gl =~ _dri\.so|libgallium ]] || e2e_fail "no DRI driver mapped with the player's SDL_RENDER_DRIVER=opengl: $gl"
e2e_pass "SDL_RENDER_DRIVER=opengl: $gl, peak $((rss / 1024)) MiB, $(e2e_tenths "$cpu") % of a core"
