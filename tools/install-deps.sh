#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Quorvane need, only those that
# are missing, and generates the zh_CN.UTF-8 locale (Wine takes code page 936 from it).
# Usage: tools/install-deps.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake make g++ ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils
  fonts-wqy-microhei locales
  googletest libgtest-dev
  clang libclang-rt-14-dev
  zlib1g-dev libz-mingw-w64-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-deps: generating the zh_CN.UTF-8 locale"
  as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
