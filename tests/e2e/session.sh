# shellcheck shell=bash source-path=SCRIPTDIR
# A first session as a player has it, on a screen of the size given as the
# third argument: the high-score screen, Return, the get-ready screen with the
# ship, turning, thrust, a shot, a pause and its end, and Escape, after which
# the settings file holds the defaults, byte for byte.
#
# Rocks drift over everything, so only points that must show are checked, and
# the ship's own dots are told from a rock's by staying put between two
# screenshots. A rock may take the ship; the flight checks then wait for the
# next ship and try again.
source "$(dirname "$0")/lib.sh"

# White pixels of the game within 9 pixels of (X, Y) in both screenshots A and B.
still_whites_near() {
  comm -12 <(e2e_whites "$1" | sort) <(e2e_whites "$2" | sort) |
    awk -v cx="$3" -v cy="$4" '($1 - cx) ^ 2 + ($2 - cy) ^ 2 <= 81'
}

# The ship's dots wherever it rests: what stays white near (X, Y) over 0.2 s.
ship_dots() {
  e2e_shot dots1
  sleep 0.2
  e2e_shot dots2
  still_whites_near dots1 dots2 "$1" "$2"
}

# The heading of the nose among a ship's DOTS around (X, Y), in degrees
# clockwise from up: the nose is 7 pixels out, the tail corners 8.5 and the
# notch 3, each rounded to a whole pixel.
nose_heading() {
  awk -v cx="$2" -v cy="$3" '{ dx = $1 - cx; dy = $2 - cy; d = dx * dx + dy * dy }
    d >= 40 && d <= 59 { printf "%d\n", (atan2(dx, -dy) * 180 / 3.14159265 + 360) % 360; exit }' <<<"$1"
}

# A ship was lost since the game began with $spares spare ships: one icon less
# in the last screenshot NAME.
ship_lost() { [ "$(e2e_spare_ships "$1")" -lt "$spares" ]; }

# After a lost ship: the next one appears at the centre, with one spare ship less
# (it waits for the rocks to clear the centre). After the last, the high-score
# screen comes back, whose own dots may lie near the centre; a new game begins.
next_ship() {
  e2e_poll 15 "the next ship at the centre, or the high-score screen" ship_back_or_game_over
  if game_over_shown dots2; then
    echo "note: the rocks took every ship; starting a new game"
    e2e_poll 10 "the get-ready screen of a new game" e2e_key_until Return 0.1 get_ready_shown
    e2e_poll 5 "the get-ready screen ends" eval '! e2e_shot_shows_text play 240 200 20 "PLAYER 1"'
  else
    spares=$(e2e_spare_ships dots2)
  fi
}
game_over_shown() { e2e_shows_text "$1" 250 180 15 "1ST"; }
ship_back_or_game_over() { [ "$(ship_dots 320 240 | wc -l)" -ge 3 ] || game_over_shown dots2; }

# Runs STEP (a function that sets STEP_RESULT to "ok", "lost" or a failure) until
# it does not report a lost ship, at most three times.
with_ship() {
  for _ in 1 2 3; do
    STEP_RESULT=
    "$@"
    [ "$STEP_RESULT" = lost ] || break
    echo "note: a rock took the ship during \"$1\"; trying again with the next one"
    next_ship
  done
  [ "$STEP_RESULT" = ok ] || e2e_fail "$1: $STEP_RESULT"
}

e2e_xserver "$3"
e2e_launch
e2e_wait_up

# The high-score screen comes first, with the defaults of a first run.
e2e_expect_text scores 490 5 15 "001860"
e2e_expect_text scores 250 180 15 "1ST 001860"
e2e_save_shot scores high-scores
e2e_pass "high-score screen"

# Return starts a game: the get-ready screen, with the ship at rest at the
# centre, two spare ships and no score yet.
get_ready_shown() {
  e2e_shot ready
  e2e_shows_text ready 240 200 20 "PLAYER 1" || return 1
  spares=$(e2e_spare_ships ready)
  if [ "$(e2e_white_count ready "$E2E_SHIP_AT_REST")" != 4 ]; then
    E2E_WHY="no ship at rest at the centre"
  elif [ "$spares" != 2 ]; then
    E2E_WHY="$spares spare ships shown, not 2"
  else
    e2e_shows_text ready 100 5 15 "000000"
  fi
}
e2e_poll 10 "the get-ready screen of a new game" e2e_key_until Return 0.1 get_ready_shown
e2e_pass "new game"

# Right turns clockwise: a fifth of a second turns the nose by less than a
# half turn.
turned_clockwise_from() {
  local to
  E2E_WHY=$(ship_dots 320 240)
  to=$(nose_heading "$E2E_WHY" 320 240)
  [ -n "$to" ] && [ $(((to - $1 + 360) % 360)) -gt 0 ] && [ $(((to - $1 + 360) % 360)) -lt 180 ]
}
turn() {
  local from
  from=$(nose_heading "$(ship_dots 320 240)" 320 240)
  [ -n "$from" ] || { STEP_RESULT=lost; return; }
  if e2e_wait 4 e2e_key_until Right 0.2 turned_clockwise_from "$from"; then
    STEP_RESULT=ok
  elif ship_lost dots2; then
    STEP_RESULT=lost
  else
    STEP_RESULT="the nose did not turn clockwise from $from degrees; dots $(tr '\n' ' ' <<<"$E2E_WHY")"
  fi
}
with_ship turn
e2e_pass "turning"

# Play begins when the get-ready text goes, about two seconds after Return.
e2e_poll 5 "the get-ready screen ends" eval '! e2e_shot_shows_text play 240 200 20 "PLAYER 1"'

# Up moves the ship off its place; its dots there go dark.
left_dots() { e2e_shot thrust && [ "$(e2e_white_count thrust "$1")" -le 1 ]; }
thrust() {
  local before
  before=$(ship_dots 320 240)
  [ "$(wc -l <<<"$before")" -ge 3 ] || { STEP_RESULT=lost; return; }
  if e2e_wait 4 e2e_key_until Up 0.25 left_dots "$before" && ! ship_lost thrust; then
    STEP_RESULT=ok
  elif ship_lost thrust; then
    STEP_RESULT=lost
  else
    STEP_RESULT="the ship did not move: dots $(tr '\n' ' ' <<<"$before")still white"
  fi
}
with_ship thrust
e2e_pass "thrust"

# Space fires: a shot is two white pixels side by side, unless it already hit
# a rock, which raises the score.
shot_in() {
  awk '$2 > 24 { seen[$1 " " $2] = 1 } END {
         for (p in seen) { split(p, xy, " "); if (((xy[1] + 1) " " xy[2]) in seen) found = 1 }
         exit !found }' <(e2e_whites "$1")
}
shot_or_points() { e2e_shot fired && { shot_in fired || ! e2e_shows_text fired 100 5 15 "000000"; }; }
fire() {
  if e2e_wait 4 e2e_key_until space 0.1 shot_or_points && ! ship_lost fired; then
    STEP_RESULT=ok
  elif ship_lost fired; then
    STEP_RESULT=lost
  else
    STEP_RESULT="no shot on the screen and no points"
  fi
}
with_ship fire
e2e_save_shot fired play
e2e_pass "firing"

# P pauses: the picture stands still while the game reads its keys, and Escape
# goes unseen until P is pressed again. Had the pause taken Escape, the game
# would end on the first frame after it; instead it goes on drawing, frame after
# frame.
e2e_press p
e2e_poll 10 "the game pauses after P" e2e_paused paused1 paused2
e2e_press Escape
e2e_press p
e2e_poll 10 "the game draws on after the second P" e2e_draws_on
e2e_running || e2e_fail "the game ended on an Escape given during the pause"
e2e_pass "pause"

e2e_quit
e2e_expect_status 0
e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'
e2e_pass "quit and saved"
