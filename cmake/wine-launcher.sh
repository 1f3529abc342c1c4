#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine test environment (private prefix, Xvfb,
# virtual desktop, zh_CN locale); CTest uses it as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../tools/wine-env.sh
source "$here/../tools/wine-env.sh"
wine_env_up
exec wine "$@"
