# shellcheck shell=bash source-path=SCRIPTDIR
# The game on a Wayland desktop, one case per run, named by the fourth argument:
# through XWayland with no settings, as a player starts it, and natively with
# the player's SDL_VIDEODRIVER=wayland. Each is played from its start to Escape,
# or until the compositor is killed under it, which is a lost display: the game
# says so, saves the scores and ends with status 1.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/compositor.sh" "$3"

# Only the cases choose the video driver and path
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION LIBGL_ALWAYS_SOFTWARE
readonly NATIVE=SDL_VIDEODRIVER=wayland

# A hand-written table that a run must keep, written back as the game writes it.
readonly TABLE_BEFORE='[Game Data]\nhiscore = 4000\nSecond = 3000\nThird = 2000\nFullScreen = 0\nUseAudio = 0\n'
readonly TABLE_AFTER='[Game Data]\r\nHiScore = 4000\r\nSecond = 3000\r\nThird = 2000\r\nFullScreen = 1\r\n'

# Mesa's drivers and llvmpipe's LLVM, as the game has them mapped
gl_mapped() {
  { grep -E -o '[^/ ]*(libEGL_mesa|libGLX_mesa|_dri|libLLVM)[^/ ]*$' "/proc/$E2E_PID/maps" || true; } |
    sort -u | paste -s -d ' '
}

# A game under way from the table, on the desktop of MODE, with NAME=VALUE pairs
# added to the game's environment: the table's best score, then Return.
play_from_table() {
  local mode=$1
  shift
  # shellcheck disable=SC2059
  printf "$TABLE_BEFORE" >"$E2E_WORK/Krellostra.dat"
  e2e_compositor "$mode"
  e2e_hand_over
  e2e_launch "$@"
  e2e_wait_up
  e2e_expect_text scores 490 5 15 "004000"
  e2e_poll 10 "a new game" e2e_key_until Return 0.1 e2e_shot_shows_text ready 240 200 20 "PLAYER 1"
}

# Play goes on: the ship turns and fires, and the picture keeps changing.
fly() {
  e2e_key Right+space 0.5
  e2e_poll 5 "the game draws on in play" e2e_draws_on
}

# Started, played and quit with Escape: status 0 and the table saved. With no
# settings SDL runs on X through XWayland, where the compositor draws in
# software, so the game takes SDL's software path: no Mesa mapped.
session() {
  play_from_table "$@"
  if [ "$1" = xwayland ]; then
    local gl
    gl=$(gl_mapped)
    [ -z "$gl" ] || e2e_fail "Mesa mapped through XWayland with no settings: $gl"
  fi
  fly
  e2e_quit
  e2e_expect_status 0
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

# The compositor killed in play: the message for the display of KIND, the
# table saved and status 1, within a few seconds.
compositor_lost() {
  local kind=$1
  shift
  play_from_table "$@"
  fly
  e2e_kill_compositor
  e2e_wait_exit 10
  e2e_expect_status 1
  e2e_expect_stderr "lost the connection to the $kind display"
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

case_xwayland_session() { session xwayland; }
case_xwayland_compositor_lost() { compositor_lost X xwayland; }
case_native_session() { session native "$NATIVE"; }
case_native_compositor_lost() { compositor_lost Wayland native "$NATIVE"; }

# The compositor's close request reaches the game as the same quit event as a
# lost connection; with the connection whole, the game plays on.
case_native_close_request() {
  play_from_table native "$NATIVE"
  swaymsg -s "$E2E_SWAY_SOCKET" "[pid=$E2E_PID] kill" >/dev/null ||
    e2e_fail "sway did not pass on the close request"
  e2e_poll 5 "the game draws on after the close request" e2e_draws_on
  e2e_running || e2e_fail "the game ended on the close request"
  e2e_quit
  e2e_expect_status 0
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

"case_$4"
e2e_pass "$4"
