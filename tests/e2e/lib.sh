# Sourced by the end-to-end scripts: their common start (e2e_begin), results, the
# probe's view of the pets, and the pointer's ways of taking hold of a pet and opening
# its menu. The scripts that use the pets' helpers declare the arrays pids, hwnds and
# xids. Needs wine_env_wait from scripts/wine-env.sh, which e2e_begin sources.

lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The common start of a script given WINDOWS_BUILD and ART_DIR: sets build, art, the
# probes (probe_exe, dprobe) and an empty work folder named $3 under the build, and takes
# wine_env_wait from the Wine environment of the build (the caller's DISPLAY and prefix).
e2e_begin() {  # build art work-name
  build=$(cd "$1" && pwd)
  art=$(cd "$2" && pwd)
  work="$build/$3"
  probe_exe="$build/tests/e2e/tuvo_probe.exe"
  dprobe="$build/tests/e2e/tuvo_dialog_probe.exe"
  rm -rf "$work" && mkdir -p "$work"
  source "$lib_dir/../../scripts/wine-env.sh" "$build"
}

failures=0
pass() { printf 'ok   %3ds %s\n' "$SECONDS" "$1"; }
fail() { printf 'FAIL %3ds %s\n' "$SECONDS" "$1"; failures=$((failures + 1)); }
check() {  # description, command...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
dp() { wine "$dprobe" "$@" 2>/dev/null | tr -d '\r'; }
field() { probe window "${hwnds[$1]}" | awk -v k="$2" '$1 == k { $1 = ""; sub(/^ /, ""); print }'; }
visible_pets() { probe windows | awk '$2 == 1 { print $1 }'; }
# The first pet's window for Windows: left top right bottom.
pet_rect() { probe window | awk '$1 == "rect" { print $2, $3, $4, $5 }'; }
menu_open() { probe menu | grep -q '^menu '; }

# A pet lives in a folder of its own under $work with its own settings file.
settings() { mkdir -p "$work/$1"; printf '[Setup]\r\n%b' "$2" >"$work/$1/tuvo.ini"; }

# Ends a pet whatever state it is in.
stop_pet() {
  local pid=${pids[$1]:-}
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pids[$1]=
}

# Takes the newest shown pet window for the named pet. Handles once taken are never
# taken again: a window of an ended pet may linger a moment.
seen_pets=" "
find_new_pet() {
  local h
  for h in $(visible_pets); do
    case "$seen_pets" in *" $h "*) ;; *) hwnds[$1]=$h; seen_pets+="$h "; return 0 ;; esac
  done
  return 1
}

# Where the user sees the pet: left top right bottom of its X window.
rect() {
  xdotool getwindowgeometry --shell "${xids[$1]}" 2>/dev/null | awk -F= '
    $1 == "X" { x = $2 } $1 == "Y" { y = $2 } $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 }
    END { if (x != "") print x, y, x + w, y + h }'
}

# The pet's place once it has stayed the same for 0.3 s (within 3 s).
settled_rect() {
  local last now same=0 tries=30
  last=$(rect "$1")
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    sleep 0.1
    now=$(rect "$1")
    if [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 3 ] && { echo "$now"; return 0; }
    else same=0; last=$now; fi
  done
  return 1
}

# A point of the pet that the pointer can take hold of, as screen x and y: the pixel of
# the window's region nearest its centre whose neighbourhood of 3 sprite pixels each way
# is all inside the region, so that a small step or a change of picture before the press
# still hits it.
grip() {  # pet (its name, or "" for the first pet) [scale]
  # The region and the window's place read in one look, so a pet that steps between
  # two looks is not aimed at where it was.
  local r pet=(); rm -f "$work/grip.txt"
  [ -z "$1" ] || pet=("${hwnds[$1]}")
  read -r -a r <<<"$(probe region-file "$(winepath -w "$work/grip.txt" 2>/dev/null)" "${pet[@]}")"
  [ "${#r[@]}" -eq 5 ] || return 1
  awk -v left="${r[1]}" -v top="${r[2]}" -v reach=$((3 * ${2:-1})) '
    { n = length($0); for (x = 1; x <= n; ++x) cell[NR, x] = substr($0, x, 1) }
    END {
      c = int(n / 2) + 1
      for (y = 1; y <= NR; ++y) for (x = 1; x <= n; ++x) {
        if (cell[y, x] != "1") continue
        d = (x - c) ^ 2 + (y - c) ^ 2
        if (any == "" || d < any) { any = d; ax = x; ay = y }
        solid = 1
        for (j = -reach; j <= reach && solid; ++j) for (i = -reach; i <= reach; ++i)
          if (cell[y + j, x + i] != "1") { solid = 0; break }
        if (solid && (best == "" || d < best)) { best = d; bx = x; by = y }
      }
      if (best == "") { bx = ax; by = ay }
      if (bx == "") { bx = c; by = c }
      print left + bx - 1, top + by - 1
    }' "$work/grip.txt"
}

# True when the pet's window is within SLACK pixels of LEFT TOP RIGHT BOTTOM on each side.
near() {  # pet left top right bottom slack
  local r i want=("$2" "$3" "$4" "$5"); read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] || return 1
  for i in 0 1 2 3; do
    (( r[i] - want[i] <= $6 && want[i] - r[i] <= $6 )) || return 1
  done
}

# Moves the pointer by DX, DY and waits for the pet to stand at OX, OY from the window
# LEFT TOP RIGHT BOTTOM: exactly at scale 1, give or take the one pixel a scaled
# position may round by.
follows() {  # pet dx dy ox oy scale left top right bottom
  xdotool mousemove_relative -- "$2" "$3"
  wine_env_wait "near $1 $(($7 + $4)) $(($8 + $5)) $(($9 + $4)) $((${10} + $5)) $(( $6 > 1 ? 1 : 0 ))" 50
}

# Takes hold of the pet with the left button and moves the pointer by DX, DY towards the
# middle of the room the pet may walk in (the screen, unless its left, top, right and
# bottom are given), so that a pet at an edge can follow all the way; true once it has
# followed by that much: exactly at scale 1, give or take the one pixel a scaled
# position may round by. The button stays down. A press can miss a pet that stepped or
# changed its picture after the look, so up to five tries.
take_hold() {  # pet dx dy [scale [left top right bottom]]
  local tries=5 g before dx dy
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    read -r -a g <<<"$(grip "$1" "${4:-1}")"
    [ "${#g[@]}" -eq 2 ] || { echo "     no look at the pet's shape"; continue; }
    xdotool mousemove "${g[0]}" "${g[1]}" mousedown 1
    # A held pet stays where it is; one that was missed may walk on.
    read -r -a before <<<"$(settled_rect "$1")"
    if [ "${#before[@]}" -eq 4 ]; then
      dx=$(( before[0] + before[2] < ${5:-0} + ${7:-1024} ? $2 : -$2 ))
      dy=$(( before[1] + before[3] < ${6:-0} + ${8:-768} ? $3 : -$3 ))
      # There, back and there again: a pet that follows all three is held, not one
      # whose drag ended just after the press.
      if follows "$1" "$dx" "$dy" "$dx" "$dy" "${4:-1}" "${before[@]}" &&
        follows "$1" "$((-dx))" "$((-dy))" 0 0 "${4:-1}" "${before[@]}" &&
        follows "$1" "$dx" "$dy" "$dx" "$dy" "${4:-1}" "${before[@]}"; then
        return 0
      fi
    fi
    echo "     missed: pressed at ${g[*]}, pet at ${before[*]:-(moving)}, then at $(rect "$1")"
    xdotool mouseup 1
  done
  return 1
}

# Right-clicks the first pet and chooses the menu item with the given access key.
choose() {
  local try g
  for try in 1 2 3; do
    read -r -a g <<<"$(grip "")"
    [ "${#g[@]}" -eq 2 ] || return 1
    xdotool mousemove "${g[0]}" "${g[1]}" click 3
    if wine_env_wait menu_open 20; then
      xdotool key "$1"
      wine_env_wait '! menu_open' 30
      return 0
    fi
  done
  return 1
}

# The probe's backdrop pattern is on the screen.
backdrop_shown() {
  import -window root -crop 1x1+300+200 txt:- 2>/dev/null | grep -q '(44,200,77)'
}
