# shellcheck shell=bash source-path=SCRIPTDIR
# Faults and bad input, one case per run, named by the third argument: the
# program either goes on and saves a proper settings file, or stops with a
# clear message; it never hangs.
source "$(dirname "$0")/lib.sh"

readonly DEFAULTS='[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'

# Up, on the high-score screen with the given best score and first entry.
expect_scores_screen() {
  e2e_wait_up
  e2e_expect_text scores 490 5 15 "$1"
  e2e_expect_text scores 250 180 15 "1ST $2"
}

quit() {
  e2e_quit
  e2e_expect_status 0
}

# Without an X display there is nothing to play on: a message and a failure
# status, at once.
case_no_display() {
  e2e_launch
  e2e_wait_exit 10
  [ "$E2E_STATUS" != 0 ] || e2e_fail "exit status 0 without a display"
  e2e_expect_stderr "Could Not Initialize Video Hardware"
  [ ! -e "$E2E_WORK/Krellostra.dat" ] || e2e_fail "settings written by a run that never started"
}

# A sound system that cannot start: the message box, and then a silent game.
case_no_audio() {
  e2e_xserver 640x480x16
  e2e_launch SDL_AUDIODRIVER=nosuchdriver
  local box=
  e2e_poll 10 "the error box appears" eval 'box=$(xdotool search --onlyvisible --name "^Error$" | head -n 1); [ -n "$box" ]'
  e2e_expect_stderr "Could Not Initialize Audio Hardware"
  "$E2E_XPROBE" close "$box"
  expect_scores_screen 001860 001860
  quit
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# A working folder that cannot be written: the game plays, and says that the
# scores could not be saved.
case_read_only_folder() {
  e2e_xserver 640x480x16
  # A read-only file system, which also holds for root.
  (exec unshare -rm sh -c 'mount -t tmpfs -o ro none "$1" && cd "$1" && exec "$2"' \
    sh "$E2E_WORK" "$E2E_GAME") >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  E2E_PID=$!
  expect_scores_screen 001860 001860
  quit
  e2e_expect_stderr "cannot save the high scores to Krellostra.dat"
}

# The settings file as a folder: the defaults, and no save over it.
case_settings_folder() {
  mkdir "$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch
  expect_scores_screen 001860 001860
  quit
  e2e_expect_stderr "cannot save the high scores to Krellostra.dat"
  [ -d "$E2E_WORK/Krellostra.dat" ] || e2e_fail "the folder Krellostra.dat is gone"
}

# Settings that read as the defaults: an empty file and binary garbage.
case_settings_empty() {
  : >"$E2E_WORK/Krellostra.dat"
  expect_defaults
}
case_settings_garbage() {
  head -c 65536 /dev/urandom >"$E2E_WORK/Krellostra.dat"
  expect_defaults
}
expect_defaults() {
  e2e_xserver 640x480x16
  e2e_launch
  expect_scores_screen 001860 001860
  quit
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# A 10 MB line between two keys: both are read, and the game starts promptly.
case_settings_long_line() {
  {
    printf '[Game Data]\r\nHiScore = 2500'
    head -c 10485760 /dev/zero | tr '\0' x
    printf '\r\nThird = 100\r\n'
  } >"$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch
  expect_scores_screen 002500 002500
  quit
  e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 2500\r\nSecond = 1725\r\nThird = 100\r\nFullScreen = 1\r\n'
}

# Values beyond 32 bits read as the nearest limit. The HUD shows the first six
# digits of the best score and the table the last six of each; the file gets
# back what the table spells, full screen on and no audio line.
case_settings_huge_values() {
  printf '[Game Data]\r\nHiScore = 99999999999\r\nSecond = -99999999999\r\nThird = 4294967296\r\nFullScreen = 0\r\nUseAudio = 0\r\n' \
    >"$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch
  expect_scores_screen 214748 483647
  e2e_expect_text scores 310 210 15 "483648"
  e2e_expect_text scores 310 240 15 "483647"
  quit
  e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 2147483647\r\nSecond = 483648\r\nThird = 483647\r\nFullScreen = 1\r\n'
}

# The window manager's close request is ignored: the game goes on drawing and
# still quits with Escape.
case_close_request() {
  e2e_xserver 640x480x16
  e2e_launch
  e2e_wait_up
  "$E2E_XPROBE" close "$(e2e_window)"
  e2e_poll 5 "the game draws on after the close request" e2e_draws_on
  e2e_running || e2e_fail "the game ended on the close request"
  quit
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# The ends from outside start from a hand-written file whose table the run must
# keep, written back as the game writes it.
readonly TABLE_BEFORE='[Game Data]\nhiscore = 4000\nSecond = 3000\nThird = 2000\nFullScreen = 0\nUseAudio = 0\n'
readonly TABLE_AFTER='[Game Data]\r\nHiScore = 4000\r\nSecond = 3000\r\nThird = 2000\r\nFullScreen = 1\r\n'

# A game under way from that file: Return on its high-score screen.
play_from_table() {
  # shellcheck disable=SC2059
  printf "$TABLE_BEFORE" >"$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch "$@"
  expect_scores_screen 004000 004000
  e2e_poll 10 "a new game" e2e_key_until Return 0.1 e2e_shot_shows_text ready 240 200 20 "PLAYER 1"
}

# The game said nothing of its own on stderr.
expect_silence() {
  ! grep -q '^heliomants:' "$E2E_TMP/stderr" || e2e_fail "the game said: $(cat "$E2E_TMP/stderr")"
}

# A logout (HUP), kill or a session's end (TERM) or Ctrl-C (INT) during play, or
# during a pause: the game ends as after Escape, with the table saved, and exits
# with 0, or 130 for an interrupt.
signal_during_play() {
  local signal=$1 status=$2 paused=${3:-}
  play_from_table
  if [ -n "$paused" ]; then
    e2e_poll 10 "the picture stands still after P" e2e_key_until p 0.1 e2e_holds_still paused1 paused2
  fi
  kill "-$signal" "$E2E_PID"
  e2e_wait_exit 5
  e2e_expect_status "$status"
  expect_silence
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}
case_term_in_play() { signal_during_play TERM 0; }
case_hup_in_play() { signal_during_play HUP 0; }
case_int_in_play() { signal_during_play INT 130; }
case_term_in_pause() { signal_during_play TERM 0 paused; }

kill_xserver() {
  kill -KILL "$E2E_XPID"
  wait "$E2E_XPID" 2>/dev/null || true
  E2E_XPID=
}

# The X server goes away during play, as when a remote session drops: the game
# says so, saves the table, and ends with status 1.
case_display_lost_in_play() {
  play_from_table
  kill_xserver
  e2e_wait_exit 10
  e2e_expect_status 1
  e2e_expect_stderr "lost the connection to the X display"
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

# The table is saved within SECONDS; looked for without a pause between tries, so
# that what comes next comes as soon as it is.
saved_within() {
  local until=$((SECONDS + $1))
  # shellcheck disable=SC2059
  until cmp -s <(printf "$TABLE_AFTER") "$E2E_WORK/Krellostra.dat"; do
    [ "$SECONDS" -lt "$until" ] || return 1
  done
}

# The X server goes away while the game shuts down after Escape, with SDL's
# default drawing path or the given one: no crash. The table is saved before the
# shut-down begins, and the server is killed as soon as it is; the game then ends
# with 1, saying that the display was lost, or, when it was quicker, with 0.
display_lost_in_shutdown() {
  play_from_table "$@"
  for _ in 1 2 3 4 5; do
    e2e_key Escape
    saved_within 2 && break
  done
  kill_xserver
  e2e_wait_exit 10
  case $E2E_STATUS in
  1) e2e_expect_stderr "lost the connection to the X display" ;;
  0) expect_silence && echo "note: the shut-down was over before the server went" ;;
  *) e2e_fail "exit status $E2E_STATUS after the display went during the shut-down" ;;
  esac
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}
case_display_lost_in_shutdown() { display_lost_in_shutdown; }
case_display_lost_in_shutdown_opengl() { display_lost_in_shutdown SDL_RENDER_DRIVER=opengl; }

"case_$3"
e2e_pass "$3"
