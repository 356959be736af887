# shellcheck shell=bash
# Harness for the end-to-end tests, sourced by each test script with the game's
# binary and the xprobe helper as its two arguments:
#
#   source lib.sh GAME XPROBE
#   e2e_xserver 640x480x16      # a private Xvfb; sets DISPLAY
#   e2e_launch                  # the game in a fresh working folder
#   e2e_wait_up
#   e2e_press p                 # held until a frame has surely seen it
#   e2e_expect_text scores 490 5 15 "001860"      # waits for the picture
#   e2e_quit; e2e_expect_status 0
#
# A check never reads one screenshot taken right after a key, a resize or a
# launch: the game answers on a frame of its own, later on a busy machine. Every
# check of the picture polls for it until a deadline (e2e_poll, e2e_wait).
#
# Everything the test makes lives under one temporary folder, removed on exit
# together with the game and the X server.

set -euo pipefail

E2E_GAME=$(realpath "$1")
# shellcheck disable=SC2034 # used by the tests
E2E_XPROBE=$(realpath "$2")
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/heliomants-e2e.XXXXXX")
E2E_WORK=$E2E_TMP/work # the game's working folder
E2E_XPID=
E2E_PID=
E2E_STATUS=
E2E_WIDTH=
E2E_HEIGHT=
E2E_VIEW=640x480+0+0 # where the game's picture lies on the screen, as WxH+X+Y
E2E_WHY= # what the last failed try of a polled check saw
mkdir "$E2E_WORK"
export SDL_AUDIODRIVER=dummy
unset DISPLAY

e2e_cleanup() {
  local status=$?
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
    kill -KILL "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
  fi
  if [ -n "$E2E_XPID" ]; then
    kill -TERM "$E2E_XPID" 2>/dev/null || true
    wait "$E2E_XPID" 2>/dev/null || true
  fi
  chmod -R u+w "$E2E_TMP" 2>/dev/null || true
  rm -rf "$E2E_TMP"
  exit "$status"
}
trap e2e_cleanup EXIT
# CTest's and timeout's TERM still clean up.
trap 'echo "FAIL: stopped by a signal" >&2; exit 143' TERM INT

# With E2E_KEEP set to a folder, a failing test leaves its screenshots and
# logs there.
e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -n "${E2E_KEEP:-}" ]; then
    mkdir -p "$E2E_KEEP" && cp -r "$E2E_TMP"/. "$E2E_KEEP"/ && echo "kept in $E2E_KEEP" >&2
  fi
  if [ -s "$E2E_TMP/stderr" ]; then
    echo "--- the game's stderr:" >&2
    cat "$E2E_TMP/stderr" >&2
  fi
  exit 1
}

E2E_START=${EPOCHREALTIME/./}
e2e_pass() {
  local tenths=$(((${EPOCHREALTIME/./} - E2E_START) / 100000))
  echo "PASS: $* (at $((tenths / 10)).$((tenths % 10)) s)"
}

# Runs COMMAND... every 50 ms until it succeeds, for at most SECONDS; false if it
# never did. COMMAND may say in E2E_WHY what it saw instead.
e2e_wait() {
  local seconds=$1
  shift
  local deadline=$((${EPOCHREALTIME/./} + seconds * 1000000))
  E2E_WHY=
  until "$@"; do
    [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# As e2e_wait, but the test fails with WHAT when the deadline passes.
e2e_poll() {
  local seconds=$1 what=$2
  shift 2
  e2e_wait "$seconds" "$@" || e2e_fail "$what: not within $seconds s${E2E_WHY:+; last seen: $E2E_WHY}"
}

# The screen is WIDTHxHEIGHT[xDEPTH]: sets E2E_WIDTH, E2E_HEIGHT and E2E_VIEW.
e2e_screen_size() {
  local size=$1
  E2E_WIDTH=${size%%x*}
  E2E_HEIGHT=${size#*x}
  E2E_HEIGHT=${E2E_HEIGHT%%x*}
  # The game's 640x480 fills the screen's height or width, keeping its shape,
  # and is centred; the factor need not be whole (2.25 on 1920x1080).
  E2E_VIEW=$(awk -v w="$E2E_WIDTH" -v h="$E2E_HEIGHT" 'BEGIN {
    if (w * 480 > h * 640) { vw = int(640 * h / 480); vh = h } else { vw = w; vh = int(480 * w / 640) }
    printf "%dx%d+%d+%d\n", vw, vh, (w - vw) / 2, (h - vh) / 2 }')
}

# Starts Xvfb with a screen of WIDTHxHEIGHTxDEPTH on the first free display
# (-displayfd) and black root window, and points DISPLAY at it.
e2e_xserver() {
  local size=$1
  e2e_screen_size "$size"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -br -noreset \
    3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XPID=$!
  e2e_poll 10 "Xvfb reports its display" grep -qs '^[0-9]' "$E2E_TMP/display"
  DISPLAY=:$(head -n 1 "$E2E_TMP/display")
  export DISPLAY
}

# Runs the game in the background in its working folder, with the given
# NAME=VALUE pairs added to its environment; stdout and stderr go to files.
# E2E_RUN_AS, when set, is the command it is started through (another user).
E2E_RUN_AS=()
e2e_launch() {
  (cd "$E2E_WORK" && exec "${E2E_RUN_AS[@]}" env "$@" "$E2E_GAME") >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  E2E_PID=$!
}

# True while the game runs: a process that has ended but is not yet reaped is a zombie.
e2e_running() {
  local stat
  stat=$(cat "/proc/$E2E_PID/stat" 2>/dev/null) || return 1
  [[ ${stat##*) } != Z* ]]
}

# The game's window: the largest visible one of its process, which also owns
# the toolkit's small hidden leader window.
e2e_window() {
  local window best="" area=0 WIDTH=0 HEIGHT=0
  for window in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')" || continue
    if [ $((WIDTH * HEIGHT)) -gt "$area" ]; then
      area=$((WIDTH * HEIGHT))
      best=$window
    fi
  done
  echo "$best"
}
e2e_has_window() { [ -n "$(e2e_window)" ]; }

e2e_shows_something() {
  e2e_running || e2e_fail "the game ended during start-up"
  e2e_shot up
  grep -q -v -m 1 '^000000$' "$E2E_TMP/up.hex"
}

# Waits until the game has a window and the screen is no longer all black. On
# a screen larger than the game's, the window is made to cover the screen, as a
# window manager does with a full-screen window (Xvfb runs none, and SDL then
# draws for the whole screen into a window of the game's size). SDL may make its
# window anew while the screen opens, so the window is covered again until the
# game has drawn.
e2e_wait_up() {
  e2e_poll 10 "the game's window appears" e2e_has_window
  if e2e_scaled; then
    e2e_poll 10 "the game draws a frame in a window covering the screen" e2e_covered_and_drawn
    e2e_poll 10 "the game's window covers the screen" e2e_cover_screen
  else
    e2e_poll 10 "the game draws a frame" e2e_shows_something
  fi
}
e2e_covered_and_drawn() { e2e_cover_screen && e2e_shows_something; }
e2e_scaled() { [ "$E2E_WIDTH $E2E_HEIGHT" != "640 480" ]; }

e2e_cover_screen() {
  local window WIDTH=0 HEIGHT=0 X=-1 Y=-1
  window=$(e2e_window)
  [ -n "$window" ] || return 1
  xdotool windowmove "$window" 0 0 2>/dev/null || return 1
  xdotool windowsize "$window" "$E2E_WIDTH" "$E2E_HEIGHT" 2>/dev/null || return 1
  eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  [ "$X $Y $WIDTH $HEIGHT" = "0 0 $E2E_WIDTH $E2E_HEIGHT" ]
}

# Waits up to SECONDS for the game to end and records its status.
e2e_wait_exit() {
  local seconds=$1 status=0
  e2e_poll "$seconds" "the game exits" eval '! e2e_running'
  wait "$E2E_PID" || status=$?
  E2E_STATUS=$status
  E2E_PID=
}

e2e_expect_status() {
  [ "$E2E_STATUS" = "$1" ] || e2e_fail "exit status: expected $1, got $E2E_STATUS"
}

# Presses KEY (an X keysym name) for HOLD seconds: the game polls the keyboard
# once a frame, and a press and release between two frames is never seen. One
# xdotool times the hold, so a slow start of a second one cannot stretch it.
e2e_key() {
  xdotool keydown "$1" sleep "${2:-0.1}" keyup "$1"
}

# Presses KEY for HOLD seconds, again every 2 s, until COMMAND... succeeds. On a
# busy machine the X server may deliver a press and its release together, which
# the game never sees held. Only for what a second press does no harm to: never
# P, whose second press undoes the pause (e2e_press). For e2e_poll:
#   e2e_poll 10 "a new game" e2e_key_until Return 0.1 get_ready_shown
e2e_key_until() {
  local key=$1 hold=$2
  shift 2
  [[ $key != [pP] ]] || e2e_fail "e2e_key_until presses $key again: use e2e_press"
  e2e_key "$key" "$hold" && e2e_wait 2 "$@"
}

# Presses KEY once, held until the game has read its events twelve times, over
# eleven frames, so that a frame surely sees it held however busy the machine is
# (xprobe press): for a key whose second press would undo the first, as P.
e2e_press() {
  local window
  window=$(e2e_window)
  [ -n "$window" ] || e2e_fail "no window of the game to press $1 in"
  "$E2E_XPROBE" press "$1" "$window" || e2e_fail "the game did not read its events while $1 was held"
}

# The game reads its events COUNT times (xprobe passes); false if it does not
# within 10 s, as a game that has ended or hangs.
e2e_passes() {
  local window
  window=$(e2e_window)
  [ -n "$window" ] && "$E2E_XPROBE" passes "$window" "$1" 2>/dev/null
}

# Escape, until the game ends; then its status, as e2e_wait_exit.
e2e_quit() {
  e2e_poll 10 "the game ends on Escape" e2e_key_until Escape 0.1 eval '! e2e_running'
  e2e_wait_exit 1
}

# Screenshots: NAME.hex under the temporary folder, the game's 640x480 picture
# one pixel a line as rrggbb, row by row, read off the screen by xprobe.
e2e_shot() { "$E2E_XPROBE" shot "$E2E_VIEW" >"$E2E_TMP/$1.hex" || e2e_fail "screenshot $1"; }

# With E2E_SCREENSHOTS set to a folder, keeps the game's picture in screenshot
# SHOT there as NAME.png (make screenshots).
e2e_save_shot() {
  [ -n "${E2E_SCREENSHOTS:-}" ] || return 0
  mkdir -p "$E2E_SCREENSHOTS"
  perl -ne 'print pack "H6", $_' "$E2E_TMP/$1.hex" |
    convert -size 640x480 -depth 8 rgb:- -strip "$E2E_SCREENSHOTS/$2.png"
}

# Reads "X Y ..." lines of the game's coordinates and prints each line with the
# colour of that pixel in screenshot NAME added at its end.
e2e_colours() {
  awk 'NR == FNR { n++; line[n] = $0; at[n] = $2 * 640 + $1 + 1; want[at[n]] = 1; next }
    FNR in want { colour[FNR] = $1 }
    END { for (i = 1; i <= n; i++) print line[i], colour[at[i]] }' - "$E2E_TMP/$1.hex"
}

# How many of the points listed in DOTS, "X Y" a line, are white in screenshot NAME.
e2e_white_count() {
  e2e_colours "$1" <<<"$2" | grep -c ' f.f.f.$' || true
}

# The ship at rest at the centre, nose up: its four white corner dots.
readonly E2E_SHIP_AT_REST="320 233
326 246
320 243
314 246"

# The spare-ship icons shown in screenshot NAME: the nose of each drawn icon.
e2e_spare_ships() {
  printf '20 3\n40 3\n' | e2e_colours "$1" | grep -c -v ' 000000$' || true
}

# The game's white pixels in screenshot NAME, one "X Y" a line.
e2e_whites() {
  awk '/^f.f.f./ { print (NR - 1) % 640, int((NR - 1) / 640) }' "$E2E_TMP/$1.hex"
}

# Screenshots A and B are the same picture.
e2e_same_shots() { cmp -s "$E2E_TMP/$1.hex" "$E2E_TMP/$2.hex"; }

# The game is paused: screenshots A and B are the same picture while the game
# read its events 100 times in between. Running, it reads them once a frame, so
# it would have drawn 99 frames, in which every rock moves 40 pixels or more
# (0.4 a frame at the slowest). A game that merely holds still, starved of the
# processor, reads nothing meanwhile.
e2e_paused() {
  e2e_shot "$1" && e2e_passes 100 && e2e_shot "$2" && e2e_same_shots "$1" "$2"
}

# The game draws new frames: three screenshots in a row, each unlike the one
# before. A game that has ended shows its last picture while it shuts down and
# then none, which is one change at most.
e2e_draws_on() {
  e2e_shot drawn1 && e2e_shot drawn2 && ! e2e_same_shots drawn1 drawn2 &&
    e2e_shot drawn3 && ! e2e_same_shots drawn2 drawn3
}

# The grey 150,150,150 of lines, also as a 16-bit screen shows it, and white.
e2e_is_white() { [[ $1 == f[0-9a-f]f[0-9a-f]f[0-9a-f] ]]; }
e2e_is_grey() { [[ $1 =~ ^(8[89a-f]|9[0-9a-f]|a[0-4]){3}$ ]]; }

# Points every glyph must show when drawn at its top-left corner: W marks a
# white vertex dot, G a point in the middle of a grey stroke.
declare -A E2E_GLYPH=(
  [0]="W2,1 W12,1 W12,14 W2,14 G7,1 G12,7 G7,14 G2,7"
  [1]="W7,1 W7,14 G7,7"
  [2]="W2,1 W12,1 W12,8 W2,8 W2,14 W12,14 G7,1 G12,4 G7,8 G2,11 G7,14"
  [3]="W2,1 W12,1 W12,8 W2,8 W12,14 W2,14 G7,1 G12,4 G7,8 G12,11 G7,14"
  [4]="W2,1 W2,8 W12,8 W12,1 W12,14 G2,4 G7,8 G12,4 G12,11"
  [5]="W12,1 W2,1 W2,8 W12,8 W12,14 W2,14 G7,1 G2,4 G7,8 G12,11 G7,14"
  [6]="W12,1 W2,1 W2,14 W12,14 W12,8 W2,8 G7,1 G2,4 G2,11 G7,14 G12,11 G7,8"
  [7]="W2,1 W12,1 W12,14 G7,1 G12,7"
  [8]="W2,8 W2,1 W12,1 W12,14 W2,14 G7,1 G12,4 G12,11 G7,14 G2,4 G2,11 G7,8"
  [9]="W12,14 W12,1 W2,1 W2,8 W12,8 G12,11 G12,4 G7,1 G2,4 G7,8"
  [A]="W2,14 W2,5 W7,1 W12,5 W12,9 W2,9 W12,14 G2,11 G7,9 G12,7 G12,11"
  [E]="W12,1 W2,1 W2,7 W10,7 W2,14 W12,14 G7,1 G2,4 G2,10 G6,7 G7,14"
  [L]="W2,1 W2,14 W12,14 G2,7 G7,14"
  [P]="W2,14 W2,1 W12,1 W12,8 W2,8 G2,11 G2,4 G12,4 G7,8 G7,1"
  [R]="W2,14 W2,1 W12,1 W12,7 W2,7 W5,7 W12,14 G2,4 G2,10 G7,1 G12,4 G8,7"
  [S]="W12,1 W2,1 W2,8 W12,8 W12,14 W2,14 G2,4 G12,11 G7,8"
  [T]="W7,14 W7,1 W12,1 W2,1 G7,7 G10,1 G4,1"
  [Y]="W2,1 W7,5 W7,14 W12,1 G7,10"
)

# Lists the points of TEXT, drawn at (X, Y) SPACING pixels apart in screenshot
# NAME, that do not show the glyph's colour; nothing when the text is there.
e2e_text_misses() {
  local name=$1 x=$2 y=$3 spacing=$4 text=$5 k point offset char
  for ((k = 0; k < ${#text}; k++)); do
    char=${text:k:1}
    [ "$char" = " " ] && continue
    [ -n "${E2E_GLYPH[$char]:-}" ] || e2e_fail "no check points for the glyph '$char'"
    for point in ${E2E_GLYPH[$char]}; do
      offset=${point:1}
      echo "$((x + k * spacing + ${offset%,*})) $((y + ${offset#*,})) ${point:0:1} $char"
    done
  done | e2e_colours "$name" | while read -r px py kind char colour; do
    case $kind in
    W) e2e_is_white "$colour" || echo "'$char' ($px,$py) $colour not white" ;;
    G) e2e_is_grey "$colour" || echo "'$char' ($px,$py) $colour not grey" ;;
    esac
  done
}

# Screenshot NAME shows TEXT at (X, Y), SPACING apart; E2E_WHY says what it lacks.
e2e_shows_text() {
  E2E_WHY=$(e2e_text_misses "$@")
  [ -z "$E2E_WHY" ]
}

# Waits up to 10 s for screenshots named NAME to show TEXT at (X, Y), SPACING apart.
e2e_expect_text() { e2e_poll 10 "\"$5\" at ($2, $3) in $1" e2e_shot_shows_text "$@"; }
e2e_shot_shows_text() { e2e_shot "$1" && e2e_shows_text "$@"; }

# The file FILE of the working folder holds exactly the bytes of the printf
# format FORMAT.
e2e_expect_file() {
  local file=$E2E_WORK/$1
  [ -f "$file" ] || e2e_fail "$1 was not written"
  # shellcheck disable=SC2059
  printf "$2" | cmp -s - "$file" || e2e_fail "$1 holds $(od -c "$file" | head -n 8)"
}

e2e_expect_stderr() {
  grep -q -- "$1" "$E2E_TMP/stderr" || e2e_fail "stderr lacks \"$1\""
}
