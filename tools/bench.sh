#!/usr/bin/env bash
# `make bench`: every benchmark, each against a baseline measured in the same run. Under Wine:
# start-up and memory against a bare one-window program, a click of 计算 against the platform's
# own EM_SETSEL + EM_REPLACESEL, reading the prices against GetPrivateProfileStringA. Natively:
# reading the prices against reading the file's bytes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
windows=$root/build/windows

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores;" \
  "$(wine --version 2>/dev/null || echo wine), Xvfb virtual desktop"
echo
echo "== natively"
"$root/build/bench/tools/bench/load_prices_bench"
echo
echo "== under Wine"
# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_up
trap wine_env_down EXIT
wine "$windows/tools/bench/startup_bench.exe" "Z:$windows/ui/quorvane.exe" \
  "Z:$windows/tools/bench/bare_window.exe" 21 || true
wine "$windows/tools/bench/click_bench.exe" || true
wine "$windows/tools/bench/load_prices_bench.exe" || true
