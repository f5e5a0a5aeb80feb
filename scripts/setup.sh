#!/usr/bin/env bash
# Installs the Debian packages Kalvora needs, only those that are missing. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config g++ clang lld
  libpango1.0-dev libcairo2-dev libpixman-1-dev libpng-dev zlib1g-dev libfontconfig-dev
  libsdl2-dev libx11-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
