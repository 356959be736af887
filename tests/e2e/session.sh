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

# The ship at rest at the centre, nose up: its four white corner dots.
readonly SHIP_AT_REST="320 233
326 246
320 243
314 246"

# Screenshot NAME and say whether it shows TEXT at (X, Y), SPACING apart.
shows() {
  e2e_shot "$1"
  e2e_shows_text "$@"
}

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

# How many of the dots listed in DOTS are white in screenshot NAME.
white_count() {
  e2e_colours "$1" <<<"$2" | grep -c ' f.f.f.$' || true
}

# The spare-ship icons shown in screenshot NAME: the nose of each drawn icon.
spare_ships() {
  printf '20 3\n40 3\n' | e2e_colours "$1" | grep -c -v ' 000000$' || true
}

# The heading of the nose among a ship's DOTS around (X, Y), in degrees
# clockwise from up: the nose is 7 pixels out, the tail corners 8.5 and the
# notch 3, each rounded to a whole pixel.
nose_heading() {
  awk -v cx="$2" -v cy="$3" '{ dx = $1 - cx; dy = $2 - cy; d = dx * dx + dy * dy }
    d >= 40 && d <= 59 { printf "%d\n", (atan2(dx, -dy) * 180 / 3.14159265 + 360) % 360; exit }' <<<"$1"
}

# After a lost ship: the next one appears at the centre, with one spare ship less.
next_ship() {
  e2e_poll 8 "the next ship at the centre" eval '[ "$(ship_dots 320 240 | wc -l)" -ge 3 ]'
  spares=$(spare_ships dots2)
}

# Runs STEP (a function that prints "ok", "lost" or a failure) until it does not
# report a lost ship, at most three times. A ship is lost when fewer spare ships
# show than $spares.
with_ship() {
  local result
  for _ in 1 2 3; do
    result=$("$@")
    [ "$result" = lost ] || break
    echo "note: a rock took the ship during \"$1\"; trying again with the next one"
    next_ship
  done
  [ "$result" = ok ] || e2e_fail "$1: $result"
}

e2e_xserver "$3"
e2e_launch
e2e_wait_up

# The high-score screen comes first, with the defaults of a first run.
e2e_shot scores
e2e_expect_text scores 490 5 15 "001860"
e2e_expect_text scores 250 180 15 "1ST 001860"
e2e_save_shot scores high-scores
e2e_pass "high-score screen"

# Return starts a game: the get-ready screen, with the ship at rest at the centre.
e2e_key Return 0.15
e2e_poll 3 "\"PLAYER 1\" is shown" shows ready 240 200 20 "PLAYER 1"
[ "$(white_count ready "$SHIP_AT_REST")" = 4 ] || e2e_fail "no ship at rest at the centre"
spares=$(spare_ships ready)
[ "$spares" = 2 ] || e2e_fail "$spares spare ships shown at the start of a game, not 2"
e2e_expect_text ready 100 5 15 "000000"
e2e_pass "new game"

# Right turns clockwise: a fifth of a second turns the nose by less than a
# half turn.
turn() {
  local before after from to
  before=$(ship_dots 320 240)
  from=$(nose_heading "$before" 320 240)
  [ -n "$from" ] || { echo lost; return; }
  e2e_key Right 0.2
  after=$(ship_dots 320 240)
  to=$(nose_heading "$after" 320 240)
  if [ "$(spare_ships dots2)" -lt "$spares" ] || [ -z "$to" ]; then
    echo lost
  elif [ $(((to - from + 360) % 360)) -gt 0 ] && [ $(((to - from + 360) % 360)) -lt 180 ]; then
    echo ok
  else
    echo "the nose went from $from to $to degrees, not clockwise; dots $(tr '\n' ' ' <<<"$after")"
  fi
}
with_ship turn
e2e_pass "turning"

# Play begins when the get-ready text goes, about two seconds after Return.
e2e_poll 5 "the get-ready screen ends" eval '! shows play 240 200 20 "PLAYER 1"'

# Up moves the ship off its place; its dots there go dark.
thrust() {
  local before
  before=$(ship_dots 320 240)
  [ "$(wc -l <<<"$before")" -ge 3 ] || { echo lost; return; }
  e2e_key Up 0.25
  sleep 0.25
  e2e_shot thrust
  if [ "$(spare_ships thrust)" -lt "$spares" ]; then
    echo lost
  elif [ "$(white_count thrust "$before")" -le 1 ]; then
    echo ok
  else
    echo "the ship did not move: dots $(tr '\n' ' ' <<<"$before")still white"
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
fire() {
  e2e_key space 0.1
  sleep 0.15
  e2e_shot fired
  if shot_in fired || ! e2e_shows_text fired 100 5 15 "000000"; then
    echo ok
  elif [ "$(spare_ships fired)" -lt "$spares" ]; then
    echo lost
  else
    echo "no shot on the screen and no points"
  fi
}
with_ship fire
e2e_save_shot fired play
e2e_pass "firing"

# P pauses: the picture stands still, Escape goes unseen, until P is pressed again.
# Polled rather than slept, so a machine busy with other tests cannot fool it.
holds_still() { e2e_shot "$1" && sleep 0.3 && e2e_shot "$2" && e2e_same_shots "$1" "$2"; }
moved_since() { sleep 0.1 && e2e_shot "$2" && ! e2e_same_shots "$1" "$2"; }
e2e_key p
e2e_poll 5 "the picture stands still after P" holds_still paused1 paused2
sleep 0.5
e2e_shot paused2
e2e_same_shots paused1 paused2 || e2e_fail "the picture changed during the pause"
e2e_key Escape
sleep 0.3
e2e_shot paused3
e2e_same_shots paused1 paused3 || e2e_fail "the picture changed on Escape during the pause"
e2e_key p
e2e_poll 5 "the game resumes after the second P" moved_since paused3 resumed
e2e_running || e2e_fail "the game ended on an Escape given during the pause"
e2e_pass "pause"

e2e_key Escape
e2e_wait_exit 5
e2e_expect_status 0
e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'
e2e_pass "quit and saved"
