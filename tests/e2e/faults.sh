# shellcheck shell=bash source-path=SCRIPTDIR
# Faults and bad input, one case per run, named by the third argument: the
# program either goes on and saves a proper settings file, or stops with a
# clear message; it never hangs.
source "$(dirname "$0")/lib.sh"

readonly DEFAULTS='[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'

# Up, on the high-score screen with the given best score and first entry.
expect_scores_screen() {
  e2e_wait_up
  e2e_shot scores
  e2e_expect_text scores 490 5 15 "$1"
  e2e_expect_text scores 250 180 15 "1ST $2"
}

quit() {
  e2e_key Escape
  e2e_wait_exit 5
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
  sleep 0.5
  e2e_running || e2e_fail "the game ended on the close request"
  e2e_shot after1
  sleep 0.3
  e2e_shot after2
  ! e2e_same_shots after1 after2 || e2e_fail "the game stopped drawing after the close request"
  quit
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# TERM, as from kill or a session's end, ends the game.
case_terminate() {
  e2e_xserver 640x480x16
  e2e_launch
  e2e_wait_up
  kill -TERM "$E2E_PID"
  e2e_wait_exit 5
}

"case_$3"
e2e_pass "$3"
