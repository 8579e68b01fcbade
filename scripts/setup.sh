#!/usr/bin/env bash
# Installs the Debian packages Oboro needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libdeflate-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdal-dev libgeographiclib-dev
  fonts-ipafont-gothic
)
if [ "${OBORO_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
