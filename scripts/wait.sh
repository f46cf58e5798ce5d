# Sourced by the scripts that wait for a condition: never a fixed sleep, always a bound.
# Waits up to $2 tenths of a second for the command in $1 to succeed.
wait_for() {
  local tries=$2
  while [ "$tries" -gt 0 ]; do
    eval "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}
