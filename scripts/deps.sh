#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need.
# Idempotent: does nothing when every package is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libudev-dev libxkbcommon-dev libxkbcommon-x11-dev libx11-dev xkb-data
  libpugixml-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
