# shellcheck shell=bash source-path=SCRIPTDIR
# The game as installed, started through its command in the install tree with a
# scratch home: where it keeps the high scores, whatever folder it is started
# from. One case per run, named by the third argument.
source "$(dirname "$0")/../e2e/lib.sh"

HOME=$E2E_TMP/home
DATA=$HOME/.local/share/heliomants
PROGRAM=${E2E_GAME%/games/heliomants}/lib/games/heliomants/heliomants
mkdir "$HOME"
export HOME
unset XDG_DATA_HOME

# The high-score table with the best score BEST, as the game writes it.
table() { printf '[Game Data]\r\nHiScore = %s\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n' "$1"; }

expect_table() {
  [ -f "$1" ] || e2e_fail "no table at $1"
  table "$2" | cmp -s - "$1" || e2e_fail "$1 is not the table with $2: $(od -c "$1" | head -n 4)"
}

# Starts the command from the folder FOLDER, with the changes to its
# environment that follow (NAME=VALUE, -u NAME).
start_in() {
  E2E_WORK=$1
  shift
  mkdir -p "$E2E_WORK"
  e2e_launch "$@"
}

# The command without a display, from FOLDER, with the changes to its
# environment that follow: the game ends at once, and only what the command did
# before it remains.
start_without_display() {
  local folder=$1
  shift
  mkdir -p "$folder"
  (cd "$folder" && exec env -u DISPLAY "$@" "$E2E_GAME") >/dev/null 2>&1 &&
    e2e_fail "the game started without a display"
  return 0
}

# The game, up, runs in FOLDER.
expect_running_in() {
  local cwd
  cwd=$(readlink "/proc/$E2E_PID/cwd") || e2e_fail "the game is not running"
  [ "$cwd" = "$(realpath "$1")" ] || e2e_fail "the game runs in $cwd, not in $1"
}

# Up, on the high-score screen with FIRST as its first entry, and quit.
play_and_quit() {
  e2e_expect_text scores 250 180 15 "1ST $1"
  e2e_quit
  e2e_expect_status 0
}

expect_empty() {
  local folder left
  for folder; do
    left=$(find "$folder" -mindepth 1)
    [ -z "$left" ] || e2e_fail "written in $folder:"$'\n'"$left"
  done
}

expect_private() {
  local mode
  mode=$(stat -c %a "$1")
  [ "$mode" = 700 ] || e2e_fail "$1 has the mode $mode, not 700"
}

# Started from two folders, the second time through a link to the command: one
# table, in the player's data folder, and nothing in either folder.
case_two_folders() {
  e2e_xserver 640x480x24
  start_in "$E2E_TMP/first"
  e2e_wait_up
  expect_running_in "$DATA"
  play_and_quit 001860
  expect_table "$DATA/Krellostra.dat" 1860
  expect_private "$DATA"

  # A table a game of the player's left, read from the other folder
  table 4210 >"$DATA/Krellostra.dat"
  mkdir "$E2E_TMP/bin" "$E2E_TMP/second"
  ln -s "$E2E_GAME" "$E2E_TMP/bin/heliomants"
  (cd "$E2E_TMP/second" && exec "$E2E_TMP/bin/heliomants" --one "two words") \
    >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  E2E_PID=$!
  e2e_wait_up
  expect_running_in "$DATA"
  local program arguments
  program=$(readlink "/proc/$E2E_PID/exe")
  [ "$program" = "$(realpath "$PROGRAM")" ] || e2e_fail "the command started $program, not $PROGRAM"
  arguments=$(tail -z -n +2 "/proc/$E2E_PID/cmdline" | tr '\0' '|')
  [ "$arguments" = "--one|two words|" ] || e2e_fail "the game was given the arguments $arguments"
  play_and_quit 004210
  expect_table "$DATA/Krellostra.dat" 4210

  local files
  files=$(cd "$HOME" && find . -type f)
  [ "$files" = ./.local/share/heliomants/Krellostra.dat ] || e2e_fail "the files in the home folder: $files"
  expect_empty "$E2E_TMP/first" "$E2E_TMP/second"
  [ -z "$(cat "$E2E_TMP/stderr")" ] || e2e_fail "the command said: $(cat "$E2E_TMP/stderr")"
}

# XDG_DATA_HOME moves the data folder; a relative one counts as unset, or there
# would be a table in each folder the game is started from.
case_xdg_data_home() {
  e2e_xserver 640x480x24
  start_in "$E2E_TMP/work" XDG_DATA_HOME="$E2E_TMP/data"
  e2e_wait_up
  expect_running_in "$E2E_TMP/data/heliomants"
  play_and_quit 001860
  expect_table "$E2E_TMP/data/heliomants/Krellostra.dat" 1860
  expect_private "$E2E_TMP/data/heliomants"
  expect_empty "$HOME" "$E2E_TMP/work"

  start_without_display "$E2E_TMP/work" XDG_DATA_HOME=data
  [ -d "$DATA" ] || e2e_fail "with a relative XDG_DATA_HOME, $DATA was not made"
  expect_empty "$E2E_TMP/work"
}

# The table version 1.0.0 left in the home folder is copied in once and left
# where it is.
case_from_1_0_0() {
  table 3160 >"$HOME/Krellostra.dat"
  e2e_xserver 640x480x24
  start_in "$E2E_TMP/work"
  e2e_wait_up
  expect_running_in "$DATA"
  play_and_quit 003160
  expect_table "$DATA/Krellostra.dat" 3160
  expect_table "$HOME/Krellostra.dat" 3160
  expect_empty "$E2E_TMP/work"

  table 9990 >"$HOME/Krellostra.dat"
  start_without_display "$E2E_TMP/work"
  expect_table "$DATA/Krellostra.dat" 3160
}

# Where the data folder cannot be made, the game runs in the folder it is
# started from, and the command says why.
expect_current_folder() {
  e2e_wait_up
  expect_running_in "$E2E_WORK"
  e2e_expect_stderr "^heliomants: $1; the high scores are kept in the current folder, $E2E_WORK\$"
  play_and_quit 001860
  expect_table "$E2E_WORK/Krellostra.dat" 1860
}

case_read_only_home() {
  e2e_xserver 640x480x24
  # A read-only file system, which also holds for root.
  # shellcheck disable=SC2016 # the inner shell expands them
  (exec unshare -rm sh -c 'mount -t tmpfs -o ro none "$HOME" && cd "$1" && exec "$2"' \
    sh "$E2E_WORK" "$E2E_GAME") >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
  E2E_PID=$!
  expect_current_folder "cannot make $DATA: Read-only file system"
}

case_no_home() {
  e2e_xserver 640x480x24
  start_in "$E2E_TMP/work" -u HOME
  expect_current_folder "HOME is not set"
}

"case_$3"
e2e_pass "$3"
