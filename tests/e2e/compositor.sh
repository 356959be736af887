# shellcheck shell=bash
# A Wayland desktop for the end-to-end tests, sourced after lib.sh: sway on its
# headless backend with its software renderer, with XWayland beside it when
# asked, a keyboard on its seat, and grim for screenshots. wlroots refuses to
# run as root, so when the tests run as root sway runs as an unprivileged user,
# with a runtime folder of that user's own, and so does the game, as on a
# desktop. The rest of lib.sh works as under Xvfb:
#
#   source compositor.sh WLKEYS
#   e2e_compositor xwayland     # or native: WAYLAND_DISPLAY, and DISPLAY for XWayland
#   e2e_launch; e2e_wait_up; e2e_key Return; e2e_expect_text ...
#
# The compositor's pid stands in E2E_XPID, so that lib.sh stops it on exit.

E2E_WLKEYS=$(realpath "$1")
E2E_USER=nobody # when run as root
E2E_KEYS=()     # wlkeys' output and input, a coprocess
E2E_SWAY_SOCKET=

# The game's folder is the user's; files a test wrote there before become theirs.
e2e_hand_over() {
  [ "$(id -u)" -ne 0 ] || chown -R "$E2E_USER:" "$E2E_WORK"
}

# Starts sway with a 1920x1080 screen, XWayland when MODE is xwayland, and the
# keyboard; exports WAYLAND_DISPLAY and XDG_RUNTIME_DIR, and DISPLAY for XWayland.
e2e_compositor() {
  local mode=$1 run=$E2E_TMP/run as=()
  local command
  for command in sway grim swaymsg; do
    command -v "$command" >/dev/null || e2e_fail "$command is missing: tools/install-deps.sh installs it"
  done
  mkdir -m 700 "$run"
  if [ "$(id -u)" -eq 0 ]; then
    id "$E2E_USER" >/dev/null 2>&1 || e2e_fail "no user $E2E_USER to run the compositor as"
    as=(setpriv --reuid="$E2E_USER" --regid="$(id -g "$E2E_USER")" --clear-groups)
    chmod 711 "$E2E_TMP"
    chown "$E2E_USER:" "$run"
    E2E_RUN_AS=("${as[@]}")
  fi
  e2e_screen_size 1920x1080
  local xwayland=disable
  [ "$mode" = xwayland ] && xwayland=force
  # Lines as sway reads them; $WAYLAND_DISPLAY and $DISPLAY are sway's to expand.
  # shellcheck disable=SC2016
  printf '%s\n' "output HEADLESS-1 mode 1920x1080" "default_border none" "xwayland $xwayland" \
    "exec echo \"\$WAYLAND_DISPLAY \$DISPLAY\" >$run/displays" >"$E2E_TMP/sway.conf"
  chmod 644 "$E2E_TMP/sway.conf"
  "${as[@]}" env -i PATH=/usr/bin:/bin HOME="$run" XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$E2E_TMP/sway.conf" \
    >"$E2E_TMP/sway.log" 2>&1 &
  E2E_XPID=$!
  e2e_wait 15 test -s "$run/displays" ||
    e2e_fail "sway did not start: $(grep -v DEBUG "$E2E_TMP/sway.log" | tail -n 5)"
  local displays
  read -r -a displays <"$run/displays"
  export XDG_RUNTIME_DIR=$run WAYLAND_DISPLAY=${displays[0]}
  if [ "$mode" = xwayland ]; then
    [ -n "${displays[1]:-}" ] || e2e_fail "sway started no XWayland: $(tail -n 5 "$E2E_TMP/sway.log")"
    export DISPLAY=${displays[1]}
  fi
  E2E_SWAY_SOCKET=$(echo "$run"/sway-ipc.*.sock)
  coproc E2E_KEYS { exec "$E2E_WLKEYS" 2>"$E2E_TMP/wlkeys.log"; }
  local ready=
  read -r -t 10 -u "${E2E_KEYS[0]}" ready || true
  [ "$ready" = ready ] || e2e_fail "no keyboard on the seat: $(cat "$E2E_TMP/wlkeys.log")"
}

# As lib.sh's, but on the seat's keyboard: holds KEY for HOLD seconds.
e2e_key() {
  local reply=
  echo "${2:-0.1} $1" >&"${E2E_KEYS[1]}"
  read -r -t 10 -u "${E2E_KEYS[0]}" reply || true
  [ "$reply" = ok ] || e2e_fail "key $1: ${reply:-$(cat "$E2E_TMP/wlkeys.log")}"
}

# As lib.sh's, but read off the compositor's screen.
e2e_shot() {
  grim -t ppm - | "$E2E_XPROBE" shot-ppm "$E2E_VIEW" >"$E2E_TMP/$1.hex" || e2e_fail "screenshot $1"
}

# The game's window, full screen on the compositor's output.
e2e_full_screen() {
  swaymsg -s "$E2E_SWAY_SOCKET" -t get_tree | python3 -c '
import json, sys
def nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from nodes(child)
sys.exit(not any(n.get("pid") == int(sys.argv[1]) and n.get("fullscreen_mode") == 1
                 for n in nodes(json.load(sys.stdin))))' "$E2E_PID"
}

# As lib.sh's: sway makes the window full screen, then the game draws. Natively
# the game loads Mesa's llvmpipe before its window shows, which takes seconds on
# a busy machine.
e2e_wait_up() {
  e2e_poll 30 "the game's window is full screen" e2e_full_screen
  e2e_poll 10 "the game draws a frame" e2e_shows_something
}

# The compositor goes away, as at the end of a desktop session.
e2e_kill_compositor() {
  kill -KILL "$E2E_XPID"
  wait "$E2E_XPID" 2>/dev/null || true
  E2E_XPID=
}

# Ends the keyboard and the compositor, so that another can start.
e2e_compositor_stop() {
  eval "exec ${E2E_KEYS[1]}>&-" # wlkeys ends with its input
  wait "$E2E_KEYS_PID" 2>/dev/null || true
  kill -TERM "$E2E_XPID" 2>/dev/null || true
  wait "$E2E_XPID" 2>/dev/null || true
  E2E_XPID=
  rm -rf "$E2E_TMP/run"
}
