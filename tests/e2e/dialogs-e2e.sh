#!/usr/bin/env bash
# End-to-end tests of the Options and About dialogs of the real tuvo.exe under Wine: run
# inside the environment of scripts/wine-env.sh (DISPLAY, WINEPREFIX set).
# Usage: dialogs-e2e.sh WINDOWS_BUILD ART_DIR
# The dialogs are opened from the pet's context menu with xdotool; every wait is for a
# condition, with a bound.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
e2e_begin "$1" "$2" e2e-dialogs
cp "$build/app/tuvo.exe" "$work/"
pet_pid=
[ -f "$art/logo.bmp" ] || { echo "FAIL no artwork in $art"; exit 1; }

count() { dp list | grep -c "^$1 "; }
ini() { tr -d '\r' <"$work/tuvo.ini"; }

# The pet under a Chinese locale by default, or the one given.
start_pet() {
  local locale=${1:-zh_CN.UTF-8}
  (cd "$work" && LANG=$locale LC_ALL=$locale exec wine tuvo.exe) >/dev/null 2>&1 &
  pet_pid=$!
  wine_env_wait "wine \"$probe_exe\" window | grep -q 'visible 1'" 300
}

stop_pet() {
  [ -n "$pet_pid" ] || return 0
  kill "$pet_pid" 2>/dev/null
  wait "$pet_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  pet_pid=
}



# Bounding box of what differs between two pictures ("0x0+0+0" when nothing does).
# An empty box may come with any offset: it is always reported as 0x0+0+0.
changed_box() {
  convert "$1" "$2" -compose difference -composite -threshold 0 -format '%@' info: 2>/dev/null |
    sed 's/^0x0+.*/0x0+0+0/; s/^0x[0-9]*+.*/0x0+0+0/; s/^[0-9]*x0+.*/0x0+0+0/'
}

shot_of() {  # file left top right bottom
  import -window root -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$1" 2>/dev/null
}

cyan_pixels() {
  convert "$1" -fill black +opaque 'rgb(0,255,255)' -fill white -opaque 'rgb(0,255,255)' \
    -format '%[fx:round(mean*w*h)]' info:
}

# The pet is kept in the top-left corner of the screen, clear of the dialogs once they
# are moved aside, so that only the dialogs change in the pictures.
printf '[Setup]\r\nMode=0\r\nRight Margin=900\r\nBottom Margin=650\r\n' >"$work/tuvo.ini"

echo "== end-to-end: the Options dialog"
if ! start_pet; then fail "pet window appears"; stop_pet; exit 1; fi
read -r -a at <<<"$(pet_rect)"
if choose o && wine_env_wait "[ \"\$(count options)\" = 1 ]" 50; then
  # Its client area starts at the pet's corner as it was when chosen: somewhere on the
  # pet's way from before the choice to after the dialog came (give or take its steps).
  read -r -a c <<<"$(dp rect options 0)"
  read -r -a after <<<"$(pet_rect)"
  near_way() {  # value before after
    local low=$(($2 < $3 ? $2 : $3)) high=$(($2 > $3 ? $2 : $3))
    [ "$1" -ge $((low - 30)) ] && [ "$1" -le $((high + 30)) ]
  }
  near_way "${c[0]}" "${at[0]}" "${after[0]:-${at[0]}}" && near_way "${c[1]}" "${at[1]}" "${after[1]:-${at[1]}}" &&
    pass "Options opens at the pet's top-left corner" ||
    fail "Options client at ${c[0]},${c[1]}, pet was at ${at[0]},${at[1]}, then at ${after[0]:-?},${after[1]:-?}"
  line=$(dp list | grep '^options ')
  [ "${line#* * * * * 1 }" = "Tuvo - 选项" ] && pass "Options opens visible, titled \"Tuvo - 选项\"" ||
    fail "Options title: $line"
  [ "$(dp get options 1007)" = 150 ] && [ "$(dp get options 1003)" = 0 ] && [ "$(dp get options 1005)" = 900 ] &&
    [ "$(dp get options 1004)" = 650 ] && [ "$(dp checked options 1006)" = 1 ] &&
    [ "$(dp checked options 1000)" = 0 ] && pass "fields and mode show the saved settings" ||
    fail "fields: speed $(dp get options 1007), right $(dp get options 1005), mode 0 button $(dp checked options 1006)"
  [ "$(dp get options 1006)" = "标准，需要较少的资源。" ] && pass "Chinese control texts come through" ||
    fail "radio text: $(dp get options 1006)"
  dp move options 420 260
  choose o
  [ "$(count options)" = 1 ] && pass "a second Options choice opens nothing" || fail "second Options: $(count options) dialogs"
  read -r -a f <<<"$(dp rect options 1007)"
  xdotool mousemove $(((f[0] + f[2]) / 2)) $(((f[1] + f[3]) / 2)) click 1
  xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  xdotool type 300
  wine_env_wait "[ \"\$(dp get options 1007)\" = 300 ]" 30
  read -r -a d <<<"$(dp list | awk '$1 == "options" { print $2, $3, $4, $5 }')"
  shot_of "$work/options.png" "${d[@]}"
  xdotool key Return
  if wine_env_wait "[ \"\$(count options)\" = 0 ]" 50; then
    pass "typed speed and Enter close the dialog"
  else fail "Options still open after Enter"; dp press options 2; fi
  saved=$(ini)
  keys=0
  for key in "Mode=0" "Top Margin=0" "Bottom Margin=650" "Left Margin=0" "Right Margin=900" "Timer=300"; do
    grep -qx "$key" <<<"$saved" && keys=$((keys + 1))
  done
  [ "$keys" = 6 ] && pass "the file holds all six keys with Timer=300" || fail "file after OK: $(tr '\n' ' ' <<<"$saved")"
  if choose o && wine_env_wait "[ \"\$(count options)\" = 1 ]" 50; then
    [ "$(dp get options 1007)" = 300 ] && pass "reopened Options shows the saved speed" || fail "reopened speed $(dp get options 1007)"
    dp set options 1007 500
    dp set options 1002 7
    dp move options 420 260
    read -r -a f <<<"$(dp rect options 1)"
    xdotool mousemove $(((f[0] + f[2]) / 2)) $(((f[1] + f[3]) / 2 + 80)) click 1  # on the dialog, off the controls
    xdotool key Escape
    wine_env_wait "[ \"\$(count options)\" = 0 ]" 50 && [ "$(ini)" = "$saved" ] &&
      pass "Escape closes Options and saves nothing" || { fail "Escape: $(count options) open, file $(ini | tr '\n' ' ')"; dp press options 2; }
  else fail "Options opens a second time"; fi
else fail "Options opens from the context menu"; fi

echo "== end-to-end: the About box"
# Samples the panel's left strip and checks the About tick against the expected one.
about_tick() {  # expected milliseconds
  local out changes interval
  out=$(dp watch-strip 2500)
  read -r _ changes _ interval <<<"$out"
  [ "${changes:-0}" -ge 3 ] && [ "$interval" -ge $(($1 * 8 / 10)) ] && [ "$interval" -le $(($1 * 12 / 10)) ]
}
if choose a && wine_env_wait "[ \"\$(count about)\" = 1 ]" 50; then
  line=$(dp list | grep '^about ')
  [ "${line#* * * * * 1 }" = "关于 Tuvo" ] && pass "About opens visible, titled \"关于 Tuvo\"" || fail "About title: $line"
  dp move about 450 250
  wine_env_wait "dp list | grep -q '^about 450 250 '" 30
  about_tick 225 && pass "About ticks every 225 ms: the 150 ms tick stays in force" || fail "About tick: $(dp watch-strip 2500)"
  read -r -a d <<<"$(dp list | awk '$1 == "about" { print $2, $3, $4, $5 }')"
  read -r -a p <<<"$(dp panel)"
  shot_of "$work/about-1.png" "${d[@]}"
  wine_env_wait "shot_of \"$work/about-2.png\" ${d[*]} && [ \"\$(changed_box \"$work/about-1.png\" \"$work/about-2.png\")\" != 0x0+0+0 ]" 30
  first_change=$(changed_box "$work/about-1.png" "$work/about-2.png")
  shot_of "$work/about-3.png" "${d[@]}"
  # What changed must lie inside the panel: the rest of the box stays still.
  box=$(changed_box "$work/about-1.png" "$work/about-3.png")
  read -r bw bh bx by <<<"$(tr 'x+' '  ' <<<"$box")"
  px=$((p[0] - d[0])); py=$((p[1] - d[1]))
  if [ "$first_change" != 0x0+0+0 ] && [ "$bx" -ge "$px" ] && [ "$by" -ge "$py" ] &&
     [ $((bx + bw)) -le $((px + 76)) ] && [ $((by + bh)) -le $((py + 70)) ]; then
    pass "the panel animates while the rest of the box is still ($box inside the panel at $px,$py)"
  else fail "changes $first_change / $box, panel at $px,$py"; fi
  n=$(cyan_pixels "$work/about-1.png")
  [ "$n" = 0 ] && pass "no key-colour pixel in the About box" || fail "$n key-colour pixels in the About box"
  # The pet lives on beside the box: it moves, or its picture changes.
  read -r -a r <<<"$(pet_rect)"
  shot_of "$work/pet-1.png" "${r[@]}"
  pet_changed() {
    [ "$(pet_rect)" != "${r[*]}" ] && return 0
    shot_of "$work/pet-2.png" "${r[@]}" && [ "$(changed_box "$work/pet-1.png" "$work/pet-2.png")" != 0x0+0+0 ]
  }
  wine_env_wait pet_changed 150 && pass "the pet keeps living while the About box is open" || fail "the pet stood still"
  choose a
  [ "$(count about)" = 1 ] && pass "a second About choice opens nothing" || fail "second About: $(count about) boxes"
  read -r -a f <<<"$(dp rect about 1)"
  xdotool mousemove $(((f[0] + f[2]) / 2)) $((f[1] - 20)) click 1
  xdotool key Escape
  wine_env_wait "[ \"\$(count about)\" = 0 ]" 50 && pass "Escape closes the About box" || { fail "About open after Escape"; dp press about 2; }
else fail "About opens from the context menu"; fi
stop_pet

echo "== end-to-end: the saved speed at the next start"
if start_pet; then
  if choose a && wine_env_wait "[ \"\$(count about)\" = 1 ]" 50; then
    dp move about 450 250
    about_tick 450 && pass "after a restart the 300 ms tick is in force (About every 450 ms)" ||
      fail "About tick after restart: $(dp watch-strip 2500)"
    dp press about 1
    wine_env_wait "[ \"\$(count about)\" = 0 ]" 30 && pass "OK closes the About box" || fail "About open after OK"
  else fail "About opens after the restart"; fi
  # Both open at once: each takes its own keys through the message loop.
  # A dialog opens at the pet's corner and, owned by it, above it: moved aside first.
  if choose o && wine_env_wait "[ \"\$(count options)\" = 1 ]" 50 && dp move options 120 300 &&
     choose a && wine_env_wait "[ \"\$(count about)\" = 1 ]" 50; then
    dp move about 450 250
    read -r -a f <<<"$(dp rect about 1)"
    xdotool mousemove $(((f[0] + f[2]) / 2)) $((f[1] - 20)) click 1
    xdotool key Escape
    wine_env_wait "[ \"\$(count about)\" = 0 ]" 50 && [ "$(count options)" = 1 ] &&
      pass "with both open, Escape closes only the About box" || fail "both open: $(dp list | tr '\n' ' ')"
    read -r -a f <<<"$(dp rect options 1002)"
    xdotool mousemove $(((f[0] + f[2]) / 2)) $(((f[1] + f[3]) / 2)) click 1
    xdotool key Tab Tab Tab Tab
    xdotool type 250  # Tab has reached the speed field, whose text it selected
    wine_env_wait "[ \"\$(dp get options 1007)\" = 250 ]" 30 && pass "Tab walks the edit fields to the speed" ||
      fail "after Tab and typing: speed $(dp get options 1007), bottom $(dp get options 1004)"
    xdotool key Escape
    wine_env_wait "[ \"\$(count options)\" = 0 ]" 50 && grep -qx Timer=300 <<<"$(ini)" &&
      pass "then Escape closes Options and the file keeps Timer=300" || { fail "Options after Escape: $(ini | tr '\n' ' ')"; dp press options 2; }
  else fail "Options and About open together"; fi
  if choose e && wine_env_wait "! kill -0 $pet_pid" 100; then
    wait "$pet_pid"; pet_pid=
    pass "Exit ends the pet"
  else fail "Exit from the context menu"; fi
else fail "pet starts again"; fi
stop_pet

echo "== end-to-end: the dialogs' texts under a Western locale (ANSI code page 1252)"
if start_pet en_US.UTF-8; then
  if choose o && wine_env_wait "[ \"\$(count options)\" = 1 ]" 50; then
    out=$(dp texts options) && pass "Options shows its caption and every template text as written" ||
      fail "Options texts: $(tr '\n' ';' <<<"$out")"
    dp press options 2
    wine_env_wait "[ \"\$(count options)\" = 0 ]" 30
  else fail "Options opens under the Western locale"; fi
  if choose a && wine_env_wait "[ \"\$(count about)\" = 1 ]" 50; then
    out=$(dp texts about) && pass "About shows its caption and every template text as written" ||
      fail "About texts: $(tr '\n' ';' <<<"$out")"
    dp press about 1
  else fail "About opens under the Western locale"; fi
else fail "pet starts under the Western locale"; fi
stop_pet

echo "== end-to-end dialogs: $failures failure(s)"
[ "$failures" -eq 0 ]
