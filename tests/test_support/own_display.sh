# A virtual X display that no other run can take: `on_own_display SCREEN
# COMMAND...` starts Xvfb with SCREEN ("1280x900x24"), lets it pick a free
# display number itself (-displayfd: the server takes the number's lock file
# before it says the number, so two runs started at once never share one), runs
# the command with DISPLAY set, stops the server and gives the command's status.
# `xvfb-run -a` chose a number first and started the server after, so a run
# beside it could take the same number in between.
on_own_display() {
  local screen=$1; shift
  command -v Xvfb >/dev/null || { echo "Xvfb missing"; return 1; }
  local dir
  dir=$(mktemp -d) || return 1
  mkfifo "$dir/number"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/number" 2>"$dir/xvfb.err" &
  local server=$!
  local number=""
  # The read ends when the server says its number, or at once when it ends
  # without one (the fifo closes); the bound only ends a hung start.
  read -r -t 120 number <"$dir/number"
  if [ -z "$number" ]; then
    echo "Xvfb gave no display number:"; cat "$dir/xvfb.err"
    kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"
    return 1
  fi
  local status=0
  DISPLAY=":$number" "$@" || status=$?
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$dir"
  return $status
}
