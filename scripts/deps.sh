#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those
# that are missing; says what it installs.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libfuzzer-14-dev libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev libssl-dev pkg-config
  g++-mingw-w64-x86-64-posix
  wine64 wine libgnutls30 fonts-wine
  xvfb xauth xdotool imagemagick fonts-wqy-microhei locales
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The program is tested in a Simplified Chinese locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "deps: compiling the zh_CN.UTF-8 locale"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO=sudo
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
