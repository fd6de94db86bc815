# Shell tests wait on a condition, never for a time: `within SECONDS COMMAND...`
# runs the command until it succeeds, for at most that long (a bound that only
# ends a hung run).
within() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}
