# shellcheck shell=bash source-path=SCRIPTDIR
# The game on a real sound server, as on a desktop: a PulseAudio of the test's own
# with a null sink, whose monitor is recorded with parec to hear what the game
# plays. SDL picks the server by itself: no SDL_AUDIODRIVER is set for the game.
# One case per run, named by the third argument.
#
# The server, its clients and the game share a runtime folder and a home under
# the test's temporary folder, so no other test or session is in the way. Run as
# root, as CI does, PulseAudio only warns: it runs in the foreground with no
# system-wide part, and neither it nor the clients would start a server by
# themselves.
source "$(dirname "$0")/lib.sh"

unset SDL_AUDIODRIVER
export XDG_RUNTIME_DIR=$E2E_TMP/runtime HOME=$E2E_TMP/home
export PULSE_CLIENTCONFIG=$E2E_TMP/client.conf
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"

readonly SINK=heliomants
readonly RATE=44100
readonly WINDOW_BYTES=$((RATE * 4 * 3 / 10)) # the last 0.3 s of a recording
readonly HEARD=1000 # the RMS level, of 32767, above which a sound is heard
SERVER_PID=
RECORDER_PID=

for tool in pulseaudio parec pactl; do
  command -v $tool >/dev/null || e2e_fail "no $tool: the packages pulseaudio and pulseaudio-utils are missing"
done

# e2e_cleanup takes the test's status from $?, which stop_sound keeps.
stop_sound() {
  local status=$?
  stop_recorder
  stop_server
  return "$status"
}
trap 'stop_sound && e2e_cleanup || e2e_cleanup' EXIT

server_up() { pactl info >/dev/null 2>&1; }

start_server() {
  pulseaudio --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disable-shm=yes \
    --high-priority=no --realtime=no --log-target=stderr -n \
    -L "module-native-protocol-unix auth-anonymous=1" \
    -L "module-null-sink sink_name=$SINK rate=$RATE" >>"$E2E_TMP/pulseaudio.log" 2>&1 &
  SERVER_PID=$!
  e2e_wait 10 server_up || e2e_fail "the sound server did not start: $(tail -n 5 "$E2E_TMP/pulseaudio.log")"
}

# As a crash would end it, or a restart that does not wait for its clients.
stop_server() {
  [ -n "$SERVER_PID" ] || return 0
  kill -KILL "$SERVER_PID" 2>/dev/null || true
  wait "$SERVER_PID" 2>/dev/null || true
  SERVER_PID=
}

# Records the sink's monitor, from now on, into NAME.raw.
start_recorder() {
  stop_recorder
  parec -d "$SINK.monitor" --raw --format=s16le --rate=$RATE --channels=2 --latency-msec=20 \
    >"$E2E_TMP/$1.raw" 2>>"$E2E_TMP/parec.log" &
  RECORDER_PID=$!
}

stop_recorder() {
  [ -n "$RECORDER_PID" ] || return 0
  kill "$RECORDER_PID" 2>/dev/null || true
  wait "$RECORDER_PID" 2>/dev/null || true
  RECORDER_PID=
}

# The RMS level of the last 0.3 s of recording NAME, of 32767; nothing while
# the recording is shorter.
level() {
  tail -c $WINDOW_BYTES "$E2E_TMP/$1.raw" | perl -e '
    local $/; my @s = unpack "s<*", <STDIN>;
    exit if @s < '$((WINDOW_BYTES / 2))';
    my $sum = 0; $sum += $_ * $_ for @s;
    printf "%d\n", sqrt($sum / @s);'
}

# Recording NAME holds 0.3 s of sound above, or of silence below, the level
# heard: "heard NAME", "silent NAME".
heard() {
  local now
  now=$(level "$1")
  E2E_WHY="level ${now:-not yet measured}"
  [ -n "$now" ] && [ "$now" -gt $HEARD ]
}
silent() {
  local now
  now=$(level "$1")
  E2E_WHY="level ${now:-not yet measured}"
  [ "$now" = 0 ]
}

# The game's stream plays on the server.
game_stream() {
  pactl list sink-inputs 2>/dev/null | grep -q "application.process.id = \"$E2E_PID\""
}

# A new game from the high-score screen, up to the end of its get-ready pause.
start_playing() {
  e2e_poll 10 "a new game" e2e_key_until Return 0.1 e2e_shot_shows_text ready 240 200 20 "PLAYER 1"
  e2e_poll 5 "the get-ready screen ends" eval '! e2e_shot_shows_text play 240 200 20 "PLAYER 1"'
}

# The high-score screen is silent, and a game's thrust is heard on the sink.
case_reaches_sink() {
  start_server
  e2e_xserver 640x480x16
  e2e_launch
  e2e_wait_up
  e2e_poll 10 "the game's stream on the sound server" game_stream
  start_recorder attract
  e2e_poll 5 "the high-score screen's silence on the sink" silent attract
  e2e_pass "the game plays on the sound server; no sound before a game"

  start_playing
  start_recorder play
  xdotool keydown Up
  e2e_poll 5 "the engine heard on the sink" heard play
  xdotool keyup Up
  e2e_pass "thrust heard on the sink, $E2E_WHY"
  e2e_quit
  e2e_expect_status 0
}

# Up and Left pressed anew and held until the engine is heard in recording NAME:
# after a ship is lost, the next one takes a moment to come, and a key held
# through the loss starts no engine.
thrust_heard() {
  xdotool keyup Up keyup Left keydown Up keydown Left
  e2e_wait 2 heard "$1"
}

# The game's spare ships, as its HUD shows them now.
spares_now() { e2e_shot hud && e2e_spare_ships hud; }

# The server killed with thrust held, and started again: the game draws on
# meanwhile, its stream is back within two seconds of the server, and the engine
# is heard again without the key being pressed anew. Sets RESTART to ok, to lost
# when a rock took the ship (and with it the engine) meanwhile, or to what failed.
restart_in_thrust() {
  local spares up
  start_recorder before
  e2e_poll 10 "the engine heard on the sink" thrust_heard before
  e2e_pass "thrust heard before the restart, $E2E_WHY"
  spares=$(spares_now)

  stop_recorder
  stop_server
  e2e_poll 5 "the game draws on without its sound server" e2e_draws_on
  start_server
  up=${EPOCHREALTIME/./}
  e2e_poll 2 "the game's stream back on the restarted server" game_stream
  e2e_pass "the game's stream back $(((${EPOCHREALTIME/./} - up) / 1000)) ms after the server"
  start_recorder after
  if e2e_wait 5 heard after; then
    RESTART=ok
  elif [ "$(spares_now)" -lt "$spares" ]; then
    RESTART=lost
  else
    RESTART="the engine not heard again: $E2E_WHY"
  fi
}

# Left is held with Up, so the ship circles near the centre; should a rock take it
# all the same, the next ship tries again.
case_server_restart() {
  start_server
  e2e_xserver 640x480x16
  e2e_launch
  e2e_wait_up
  e2e_poll 10 "the game's stream on the sound server" game_stream
  start_playing
  for _ in 1 2 3; do
    restart_in_thrust
    [ "$RESTART" = lost ] || break
    echo "note: a rock took the ship during the restart; trying again with the next one"
  done
  [ "$RESTART" = ok ] || e2e_fail "$RESTART"
  e2e_pass "thrust heard again, $E2E_WHY"
  xdotool keyup Up keyup Left
  e2e_expect_stderr "lost the audio device"
  e2e_quit
  e2e_expect_status 0
}

case_"$3"
