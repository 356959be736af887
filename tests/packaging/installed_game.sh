# shellcheck shell=bash source-path=SCRIPTDIR
# The game as installed, started from the install tree: it shows the high-score
# screen and quits on Escape with status 0.
source "$(dirname "$0")/../e2e/lib.sh"

e2e_xserver 640x480x24
e2e_launch
e2e_wait_up
e2e_expect_text scores 250 180 15 "1ST 001860"
e2e_quit
e2e_expect_status 0
e2e_pass "the installed game starts and quits"
