# shellcheck shell=bash
# What the checks of the install tree and the package share: a check goes on
# after a failure, to tell every fault in one run, and ends with its verdict.
set -euo pipefail

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# A scratch folder in $tmp, removed on exit.
scratch() {
  tmp=$(mktemp -d "${TMPDIR:-/tmp}/heliomants-$1.XXXXXX")
  trap 'rm -rf "$tmp"' EXIT
}

# PASS: MESSAGE where nothing failed; the status either way.
verdict() {
  [ "$failed" = 0 ] && echo "PASS: $*"
  exit "$failed"
}
