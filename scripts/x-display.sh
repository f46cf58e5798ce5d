# Sourced by the scripts that start an X server of their own: takes a display number to
# start from (a random one from 100 when none is given) and returns the first one from
# there that no server holds (no lock file, no socket): high, away from the low numbers
# that compositors give their XWayland and that a server picking its own number takes.
free_display_number() {  # [from]
  local n=${1:-$((100 + RANDOM % 800))}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}
