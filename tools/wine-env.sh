#!/usr/bin/env bash
# The Wine environment for tests and screenshots: a private prefix inside the build folder, its
# own Xvfb display, a persistent wineserver, the zh_CN.UTF-8 locale (ANSI code page 936) and a
# virtual desktop, so that activation and focus behave the same on every machine.
#
#   tools/wine-env.sh up          start Xvfb and wineserver, create the prefix when missing
#   tools/wine-env.sh down        stop them
#   tools/wine-env.sh run CMD...  run CMD inside the environment
# Sourced, it defines wine_env_up, wine_env_down and wine_env_prefix (the prefix alone, for the
# display the caller already has). QUORVANE_WINE_DIR picks another folder for all of it, and
# QUORVANE_VIRTUAL_DESKTOP=0 makes a prefix whose windows are the display's own.

quorvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_dir=${QUORVANE_WINE_DIR:-$quorvane_root/build/wine}
desktop_size=${QUORVANE_DESKTOP_SIZE:-1024x768}
virtual_desktop=${QUORVANE_VIRTUAL_DESKTOP:-1}

export WINEPREFIX=$wine_dir/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

xvfb_alive() {
  [[ -f $wine_dir/display ]] && xdpyinfo -display "$(cat "$wine_dir/display")" >/dev/null 2>&1
}

start_xvfb() {
  # Xvfb picks a free display itself and writes its number once it accepts connections.
  local number=$wine_dir/display-number
  rm -f "$number"
  setsid Xvfb -displayfd 3 -screen 0 "${desktop_size}x24" -nolisten tcp \
    </dev/null >/dev/null 2>&1 3>"$number" &
  echo $! >"$wine_dir/xvfb.pid"
  for _ in $(seq 200); do
    if [[ -s $number ]] && xdpyinfo -display ":$(cat "$number")" >/dev/null 2>&1; then
      echo ":$(cat "$number")" >"$wine_dir/display"
      return 0
    fi
    sleep 0.05
  done
  echo "wine-env: Xvfb did not start" >&2
  return 1
}

create_prefix() {
  echo "wine-env: creating the Wine prefix (once)" >&2
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  local reg=$wine_dir/setup.reg
  # Wine's dialog and caption faces have no Chinese glyphs; a CJK face stands in for them. The
  # virtual desktop keeps activation and focus inside one Wine-managed window.
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif" "Microsoft Sans Serif" \
      "SimSun" "NSimSun" "Arial" "Segoe UI"; do
      echo "\"$face\"=\"WenQuanYi Micro Hei\""
    done
    if [[ $virtual_desktop == 1 ]]; then
      echo
      echo '[HKEY_CURRENT_USER\Software\Wine\Explorer]'
      echo '"Desktop"="Default"'
      echo
      echo '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]'
      echo "\"Default\"=\"$desktop_size\""
    fi
  } >"$reg"
  wine regedit /S "$reg" </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quorvane-ready"
}

wine_env_up() {
  mkdir -p "$wine_dir"
  exec 9>"$wine_dir/lock"
  flock 9
  xvfb_alive || start_xvfb
  DISPLAY=$(cat "$wine_dir/display")
  export DISPLAY
  [[ -f $WINEPREFIX/.quorvane-ready ]] || create_prefix
  # A persistent wineserver keeps each test's start short. Wine's own service processes start
  # with the first program and outlive it: started here, they do not hold a caller's output pipe
  # open (which would keep CTest waiting after the test has ended).
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot </dev/null >/dev/null 2>&1 || true
  flock -u 9
  exec 9>&-
}

wine_env_prefix() {
  mkdir -p "$wine_dir"
  exec 9>"$wine_dir/lock"
  flock 9
  [[ -f $WINEPREFIX/.quorvane-ready ]] || create_prefix
  flock -u 9
  exec 9>&-
}

wine_env_down() {
  [[ -d $WINEPREFIX ]] && wineserver -k >/dev/null 2>&1 || true
  if [[ -f $wine_dir/xvfb.pid ]]; then
    kill "$(cat "$wine_dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$wine_dir/xvfb.pid" "$wine_dir/display"
  fi
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  case ${1:-} in
    up) wine_env_up ;;
    down) wine_env_down ;;
    run) shift; wine_env_up; exec "$@" ;;
    *) echo "usage: $0 up|down|run CMD..." >&2; exit 2 ;;
  esac
fi
