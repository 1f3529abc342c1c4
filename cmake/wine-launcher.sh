#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine test environment (private prefix, Xvfb,
# virtual desktop, zh_CN locale); CTest uses it as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../tools/wine-env.sh
source "$here/../tools/wine-env.sh"
wine_env_up
# The program's output goes through a file: any process Wine starts on the side inherits that
# file, not CTest's pipe, so CTest sees the end of the output when the program ends.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
wine "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
exit "$status"
