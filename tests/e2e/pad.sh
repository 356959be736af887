# shellcheck shell=bash source-path=SCRIPTDIR
# A game played with a gamepad alone, plugged in once the game is up: A starts
# it, B thrusts, Start pauses it and goes on, Back quits, after which the settings
# file holds the defaults. The pad is a virtual one that the shim given as the
# third argument attaches inside the game; this script works it through a FIFO.
source "$(dirname "$0")/lib.sh"

PAD=$E2E_TMP/pad
PAD_DONE=$E2E_TMP/pad-done
mkfifo "$PAD"
: >"$PAD_DONE"

# Sends one command to the pad, and waits until the shim has carried it out; the
# shim reads them from the game's start on.
pad() {
  local carried
  carried=$(wc -l <"$PAD_DONE")
  # shellcheck disable=SC2016 # the inner shell expands them
  timeout 5 bash -c 'echo "$1" >"$2"' _ "$*" "$PAD" || e2e_fail "the pad takes no commands"
  e2e_poll 5 "the pad carries out \"$*\"" carried_more_than "$carried"
}
carried_more_than() { [ "$(wc -l <"$PAD_DONE")" -gt "$1" ]; }

# Holds BUTTON down for HOLD seconds, long enough for a frame to see it.
pad_button() {
  pad button "$1" 1
  sleep "${2:-0.15}"
  pad button "$1" 0
}

# Presses BUTTON once, held until the game has read its input twelve times, as
# e2e_press: one press the game surely sees, however busy the machine; the only
# way to press Start, whose second press would undo the first.
pad_press() {
  pad button "$1" 1
  e2e_passes 12 || e2e_fail "the game did not read its input while button $1 was held"
  pad button "$1" 0
}

# Presses BUTTON for HOLD seconds, again every 2 s, until COMMAND... succeeds:
# for e2e_poll, as e2e_key_until, and never for Start.
pad_until() {
  pad_button "$1" "$2" && e2e_wait 2 "${@:3}"
}

ship_at_rest_shown() { e2e_shot play && [ "$(e2e_white_count play "$E2E_SHIP_AT_REST")" = 4 ]; }
ship_gone() { e2e_shot thrust && [ "$(e2e_white_count thrust "$E2E_SHIP_AT_REST")" -le 1 ]; }

e2e_xserver 640x480x16
e2e_launch LD_PRELOAD="$(realpath "$3")" HELIOMANTS_E2E_PAD="$PAD" HELIOMANTS_E2E_PAD_DONE="$PAD_DONE"
e2e_wait_up

# Plugged in on the high-score screen, with A held from then on until the game
# has read its input a dozen times: it has found the pad by the time A goes up.
pad attach
pad_press 0
e2e_poll 5 "\"PLAYER 1\" is shown after A" e2e_shot_shows_text ready 240 200 20 "PLAYER 1"
e2e_pass "a pad plugged in during play is found within a second, and A starts a game"

# Play begins when the get-ready text goes; the ship then leaves the centre
# only under thrust.
e2e_poll 5 "the get-ready screen ends" eval '! e2e_shot_shows_text play 240 200 20 "PLAYER 1"'
e2e_poll 5 "the ship at rest at the centre" ship_at_rest_shown
e2e_poll 10 "the ship leaves the centre under B" pad_until 1 0.3 ship_gone
e2e_pass "B thrusts"

# Start pauses: the picture stands still while the game reads its input, and
# Back goes unseen until Start again; had the pause taken Back, the game would
# end on the first frame after it.
pad_press 7
e2e_poll 10 "the game pauses after Start" e2e_paused paused1 paused2
pad_press 6
pad_press 7
e2e_poll 10 "the game goes on after Start again" e2e_draws_on
e2e_running || e2e_fail "the game ended on a Back given during the pause"
e2e_pass "Start pauses and goes on"

e2e_poll 10 "the game ends on Back" pad_until 6 0.15 eval '! e2e_running'
e2e_wait_exit 1
e2e_expect_status 0
e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'
e2e_pass "Back quits and the settings are saved"
