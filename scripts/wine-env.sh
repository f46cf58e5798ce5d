#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs: starts an Xvfb display of its own
# and prepares a Wine prefix under the given build folder, with the Chinese font
# substitutes that make the menu's text legible.
#   source scripts/wine-env.sh BUILD_DIR      then: wine_env_start; ...; wine_env_stop
# Exports DISPLAY, WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES.

wine_env_build=$(mkdir -p "${1:?build folder}" && cd "$1" && pwd)
export WINEPREFIX="$wine_env_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_env_xvfb_pid=

source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"
source "$(dirname "${BASH_SOURCE[0]}")/x-display.sh"
# Waits up to $2 tenths of a second for the command in $1 to succeed.
wine_env_wait() { wait_for "$@"; }

wine_env_start_display() {
  local n; n=$(free_display_number "${TUVO_DISPLAY_NUMBER:-$((90 + RANDOM % 400))}")
  # TUVO_XVFB_ARGS: further Xvfb options, e.g. -wr for a white desktop.
  # shellcheck disable=SC2086
  Xvfb ":$n" -screen 0 "${TUVO_SCREEN:-1024x768x24}" ${TUVO_XVFB_ARGS:-} -nolisten tcp >/dev/null 2>&1 &
  wine_env_xvfb_pid=$!
  export DISPLAY=":$n"
  wine_env_wait "xdpyinfo -display :$n || xdotool getdisplaygeometry" 100 || {
    echo "wine-env: Xvfb :$n did not start" >&2; return 1; }
}

wine_env_make_prefix() {
  if [ ! -f "$WINEPREFIX/.tuvo-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    local reg="$wine_env_build/fonts.reg" font="WenQuanYi Micro Hei" name
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      for name in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun" "宋体"; do
        printf '"%s"="%s"\r\n' "$name" "$font"
      done
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for name in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun" "宋体"; do
        printf '"%s"="%s"\r\n' "$name" "$font"
      done
      # A crashing test program must fail its test at once, not wait in a crash dialog.
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tuvo-ready"
  fi
}

wine_env_start() {
  wine_env_start_display && wine_env_make_prefix
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
    wine_env_xvfb_pid=
  fi
}
