# shellcheck shell=bash source-path=SCRIPTDIR
# The game's window carries the game's icon for a task bar or dock: the rock of
# packaging/heliomants.svg at 64 pixels square, clear in the rounded corners.
source "$(dirname "$0")/lib.sh"

# The window's _NET_WM_ICON, one number a line: width, height, then the pixels
# row by row as 0xAARRGGBB.
icon_of_window() {
  xprop -id "$(e2e_window)" -f _NET_WM_ICON 32x _NET_WM_ICON 2>/dev/null |
    sed -n 's/^_NET_WM_ICON(CARDINAL) = //p' | sed 's/, /\n/g' >"$E2E_TMP/icon"
  [ -s "$E2E_TMP/icon" ]
}

e2e_xserver 640x480x24
e2e_launch
e2e_wait_up
e2e_poll 5 "the window has an icon" icon_of_window
size=$(head -n 2 "$E2E_TMP/icon" | tr '\n' ' ')
[ "$size" = "0x40 0x40 " ] || e2e_fail "icon size: expected 0x40 0x40, got $size"
while read -r x y expected what; do
  got=$(sed -n "$((3 + y * 64 + x))p" "$E2E_TMP/icon")
  [ "$got" = "$expected" ] || e2e_fail "icon pixel ($x, $y), $what: expected $expected, got $got"
done <<'PIXELS'
0 0 0x0 corner
63 63 0x0 corner
6 20 0xffffffff vertex dot
26 12 0xff969696 outline
32 32 0xff000000 inside
PIXELS
e2e_pass "window icon"
e2e_quit
e2e_expect_status 0
