#!/usr/bin/env bash
# Counted checks for the shell tests; the closing line reads "N passed, N failed".
failures=0 passes=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAIL: $1: expected '$2', got '$3'"
    return 1
  fi
}
yes_if() { "$@" && echo yes || echo no; }
# Runs a command every tenth of a second until it succeeds, at most N times; fails when it never
# did. (Polled, since a program under test may lag by design.)
poll() {
  for _ in $(seq "$1"); do "${@:2}" && return; sleep 0.1; done
  return 1
}
finish() {
  echo "$passes passed, $failures failed"
  ((failures == 0))
}
