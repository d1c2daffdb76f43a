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
finish() {
  echo "$passes passed, $failures failed"
  ((failures == 0))
}
