# The shell tests' one assertion, sourced by each: `check NAME EXPECTED ACTUAL`
# counts a pass or prints the difference; `checks_done` reports and gives the status.
passed=0
failed=0

check() {
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
