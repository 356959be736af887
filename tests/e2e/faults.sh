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

# The game shows a message box titled "Error"; its window in BOX.
BOX=
error_box_shown() {
  BOX=$(xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -n 1)
  [ -n "$BOX" ]
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
  e2e_poll 10 "the error box appears" error_box_shown
  e2e_expect_stderr "Could Not Initialize Audio Hardware"
  "$E2E_XPROBE" close "$BOX"
  expect_scores_screen 001860 001860
  quit
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# A logout while that box waits for a click: the box goes, and the game ends at
# once, saving the table as it read it.
case_term_in_box() {
  e2e_xserver 640x480x16
  e2e_launch SDL_AUDIODRIVER=nosuchdriver
  e2e_poll 10 "the error box appears" error_box_shown
  kill -TERM "$E2E_PID"
  e2e_wait_exit 1
  e2e_expect_status 0
  e2e_expect_file Krellostra.dat "$DEFAULTS"
}

# A working folder that cannot be written, on a read-only file system, which
# also holds for root: the game plays, and says on stderr and in a box that the
# scores could not be saved.
launch_read_only() {
  e2e_xserver 640x480x16
  (exec unshare -rm sh -c 'mount -t tmpfs -o ro none "$1" && cd "$1" && exec "$2"' \
    sh "$E2E_WORK" "$E2E_GAME") >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  E2E_PID=$!
  expect_scores_screen 001860 001860
}
case_read_only_folder() {
  launch_read_only
  quit_to_unsaved_box "$E2E_WORK/Krellostra.dat: Read-only file system"
}

# Escape, and the box that tells the player the scores were not saved because of
# WHY (the file and the reason), which ends the game once it is closed.
quit_to_unsaved_box() {
  e2e_poll 10 "the box on the unsaved scores" e2e_key_until Escape 0.1 error_box_shown
  e2e_running || e2e_fail "the game ended without waiting on the box"
  e2e_expect_stderr "heliomants: cannot save the high scores to Krellostra.dat"
  e2e_expect_stderr "Error: The high scores could not be saved to $1"
  e2e_expect_stderr "The scores of this run were not saved."
  "$E2E_XPROBE" close "$BOX"
  e2e_wait_exit 5
  e2e_expect_status 0
}

# Ended from outside, the game shows no box: nobody is there to close it, and a
# logout must not wait on it. The failure is still told on stderr.
case_read_only_folder_term() {
  launch_read_only
  kill -TERM "$E2E_PID"
  e2e_wait_exit 5
  e2e_expect_status 0
  e2e_expect_stderr "cannot save the high scores to Krellostra.dat: Read-only file system"
  ! grep -q '^Error:' "$E2E_TMP/stderr" || e2e_fail "a box on a run ended from outside"
}

# The settings file as a folder: the defaults, and no save over it.
case_settings_folder() {
  mkdir "$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch
  expect_scores_screen 001860 001860
  quit_to_unsaved_box "$E2E_WORK/Krellostra.dat: Is a directory"
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
  e2e_xserver 640x480x16
  play_on_this_server "$@"
}
play_on_this_server() {
  # shellcheck disable=SC2059
  printf "$TABLE_BEFORE" >"$E2E_WORK/Krellostra.dat"
  e2e_launch "$@"
  start_game
}
start_game() {
  expect_scores_screen 004000 004000
  e2e_poll 10 "a new game" e2e_key_until Return 0.1 e2e_shot_shows_text ready 240 200 20 "PLAYER 1"
}

# The game said nothing of its own on stderr.
expect_silence() {
  ! grep -q '^heliomants:' "$E2E_TMP/stderr" || e2e_fail "the game said: $(cat "$E2E_TMP/stderr")"
}

# A logout (HUP), kill or a session's end (TERM) during play, or during a pause:
# the game ends as after Escape, with the table saved, and exits with 0.
signal_during_play() {
  local signal=$1 paused=${2:-}
  play_from_table
  if [ -n "$paused" ]; then
    e2e_press p
    e2e_poll 10 "the game pauses after P" e2e_paused paused1 paused2
  fi
  kill "-$signal" "$E2E_PID"
  e2e_wait_exit 5
  e2e_expect_status 0
  expect_silence
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}
case_term_in_play() { signal_during_play TERM; }
case_hup_in_play() { signal_during_play HUP; }
case_term_in_pause() { signal_during_play TERM paused; }

# A desktop session that ends sends SIGTERM and, right after it, SIGHUP: the
# second signal must not cut the save short. Ten games on one server, each must
# end with 0 and the table.
case_logout_in_play() {
  e2e_xserver 640x480x16
  local run
  for run in 1 2 3 4 5 6 7 8 9 10; do
    play_on_this_server
    kill -TERM "$E2E_PID"
    kill -HUP "$E2E_PID"
    e2e_wait_exit 5
    [ "$E2E_STATUS" = 0 ] || e2e_fail "run $run: exit status $E2E_STATUS after TERM and HUP"
    expect_silence
    e2e_expect_file Krellostra.dat "$TABLE_AFTER"
    rm "$E2E_WORK/Krellostra.dat"
  done
}

# Ctrl-C (INT) during play: the table is saved, and then the game ends by the
# interrupt itself, so that a shell script running it stops too. Only the game's
# parent sees how it ended, which a shell gives as 130 for an exit with 130 too;
# so the game runs under perl, which writes the wait status down.
case_int_in_play() {
  # shellcheck disable=SC2059
  printf "$TABLE_BEFORE" >"$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  (cd "$E2E_WORK" && exec perl -e '
    my ($record, @game) = @ARGV;
    defined(my $pid = fork) or die "fork: $!";
    exec @game or die "exec: $!" unless $pid;
    open my $file, ">", "$record.pid" or die; print $file "$pid\n"; close $file;
    waitpid $pid, 0;
    open $file, ">", "$record.part" or die; print $file "$?\n"; close $file;
    rename "$record.part", $record or die' "$E2E_TMP/wait-status" "$E2E_GAME") \
    >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  local watcher=$!
  e2e_poll 5 "the game is started" test -s "$E2E_TMP/wait-status.pid"
  E2E_PID=$(cat "$E2E_TMP/wait-status.pid")
  start_game
  kill -INT "$E2E_PID"
  e2e_poll 5 "the game ends" test -s "$E2E_TMP/wait-status"
  wait "$watcher" || true
  E2E_PID=
  local status
  status=$(cat "$E2E_TMP/wait-status")
  [ "$status" = 2 ] || e2e_fail "wait status $status, not an end by SIGINT (2)"
  expect_silence
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

kill_xserver() {
  kill -KILL "$E2E_XPID"
  wait "$E2E_XPID" 2>/dev/null || true
  E2E_XPID=
}

# The X server goes away during play, as when a remote session drops: the game
# says so, saves the table, and ends with status 1.
case_display_lost_in_play() {
  play_from_table
  expect_display_lost
}
expect_display_lost() {
  kill_xserver
  e2e_wait_exit 10
  e2e_expect_status 1
  e2e_expect_stderr "lost the connection to the X display"
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}

# The same after a message box, dismissed before play: the toolkit that showed
# it put its own handler of a lost display in place, which ends the process.
case_display_lost_after_box() {
  # shellcheck disable=SC2059
  printf "${TABLE_BEFORE/UseAudio = 0\\n/}" >"$E2E_WORK/Krellostra.dat"
  e2e_xserver 640x480x16
  e2e_launch SDL_AUDIODRIVER=nosuchdriver
  e2e_poll 10 "the error box appears" error_box_shown
  "$E2E_XPROBE" close "$BOX"
  start_game
  expect_display_lost
}

# The table is saved within SECONDS; looked for often, so that what comes next
# comes soon after.
saved_within() {
  local until=$((SECONDS + $1))
  # shellcheck disable=SC2059
  until cmp -s <(printf "$TABLE_AFTER") "$E2E_WORK/Krellostra.dat"; do
    [ "$SECONDS" -lt "$until" ] || return 1
    sleep 0.01
  done
}

# The game is stopped, or has ended.
game_halted() {
  local stat
  stat=$(cat "/proc/$E2E_PID/stat" 2>/dev/null) || return 0
  [[ ${stat##*) } == [TtZ]* ]]
}

# The game holds a connection to the X server: a socket of its own whose other
# end is one of the server's.
holds_x_connection() {
  local ours theirs
  ours=$(find "/proc/$E2E_PID/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n')
  theirs=$(ss -x | awk -v server="/tmp/.X11-unix/X${DISPLAY#:}" '$5 ~ server "$" { print $8 }')
  [ -n "$ours" ] && grep -qxF -f <(echo "$ours") <<<"$theirs"
}

# The X server goes away while the game shuts down after Escape, with SDL's
# default drawing path or the given one. Once the table is saved the game is
# stopped, and the server killed: a game that still held its connection then
# says that the display was lost and ends with 1, one that had closed it ends
# with 0 and says nothing. Either way the table stays saved.
display_lost_in_shutdown() {
  play_from_table "$@"
  for _ in 1 2 3 4 5; do
    e2e_key Escape
    saved_within 2 && break
  done
  kill -STOP "$E2E_PID" 2>/dev/null || true
  e2e_poll 5 "the game stops" game_halted
  local connected=
  holds_x_connection && connected=1
  kill_xserver
  kill -CONT "$E2E_PID" 2>/dev/null || true
  e2e_wait_exit 10
  if [ -n "$connected" ]; then
    e2e_expect_status 1
    e2e_expect_stderr "lost the connection to the X display"
    echo "note: the server went while the game was still connected"
  else
    e2e_expect_status 0
    expect_silence
    echo "note: the game had closed its connection before the server went"
  fi
  e2e_expect_file Krellostra.dat "$TABLE_AFTER"
}
case_display_lost_in_shutdown() { display_lost_in_shutdown; }
case_display_lost_in_shutdown_opengl() { display_lost_in_shutdown SDL_RENDER_DRIVER=opengl; }

"case_$3"
e2e_pass "$3"
