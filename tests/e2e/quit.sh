# shellcheck shell=bash source-path=SCRIPTDIR
# The program starts on a screen of its own, quits on Escape with status 0 and
# leaves its settings file with the defaults on a first run.
source "$(dirname "$0")/lib.sh"

e2e_xserver 640x480x16
e2e_launch
e2e_wait_up
e2e_quit
e2e_expect_status 0
e2e_expect_file Krellostra.dat '[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n'
e2e_pass "quit with Escape"
