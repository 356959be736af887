# shellcheck shell=bash
# The game's own figures, read from /proc while it runs; sourced after lib.sh.

# Processor time of the game so far, all its threads, in clock ticks.
e2e_cpu_ticks() {
  local stat fields
  stat=$(cat "/proc/$E2E_PID/stat")
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}

# Runs COMMAND... and prints the game's share of one core meanwhile, in tenths
# of a percent.
e2e_cpu_permille() {
  local hz before started
  hz=$(getconf CLK_TCK)
  before=$(e2e_cpu_ticks)
  started=${EPOCHREALTIME/./}
  "$@" >/dev/null
  echo $((($(e2e_cpu_ticks) - before) * 1000000000 / hz / (${EPOCHREALTIME/./} - started)))
}

# Peak resident memory of the game so far, in KiB.
e2e_peak_rss_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$E2E_PID/status"; }

# Tenths as a decimal: 73 -> 7.3
e2e_tenths() { echo "$(($1 / 10)).$(($1 % 10))"; }

# Plays for SECONDS, the game's work that figures are read over: a game started
# with Return, then turns and thrust in turn, firing all along; Return again
# whenever a game has ended.
# shellcheck disable=SC2317 # run by e2e_cpu_permille
e2e_play_for() {
  local until=$((SECONDS + $1))
  while [ "$SECONDS" -lt "$until" ]; do
    e2e_key Return+space 0.1
    e2e_key Right+space 0.4
    e2e_key Up+space 0.2
    e2e_key Left+space 0.3
  done
}
