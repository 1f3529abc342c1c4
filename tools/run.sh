#!/usr/bin/env bash
# `make run`: opens Quorvane under Wine in its own folder, build/run/, where "money.ini" stays
# from one run to the next. With a display, the window appears on it. Without one, Quorvane runs
# on a virtual display, and a picture of its first window is saved instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
run_dir=$root/build/run
mkdir -p "$run_dir"
cp "$root/build/windows/ui/quorvane.exe" "$run_dir/"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  export QUORVANE_WINE_DIR=$root/build/wine-run QUORVANE_VIRTUAL_DESKTOP=0
  # shellcheck source=wine-env.sh
  source "$root/tools/wine-env.sh"
  wine_env_prefix
  cd "$run_dir"
  echo "Quorvane is open on $DISPLAY; money.ini lives in build/run/."
  exec wine quorvane.exe
fi

# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_up
trap wine_env_down EXIT
picture=$run_dir/quorvane-window.png
(cd "$run_dir" && wine quorvane.exe </dev/null >/dev/null 2>&1 &)
if wine "$root/build/windows/tools/capture_window.exe" "Z:$picture"; then
  echo "No display here: Quorvane ran on a virtual one. A picture of its window: build/run/quorvane-window.png"
  echo "(Without build/run/money.ini the price settings window opens first, as on a first start.)"
else
  echo "Quorvane's window did not appear." >&2
  exit 1
fi
