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
