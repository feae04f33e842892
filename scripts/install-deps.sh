#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the run command need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6network6 libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  clang libclang-rt-14-dev
  fonts-noto-cjk xvfb xauth
  g++-mingw-w64-x86-64-posix wine64 googletest
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
