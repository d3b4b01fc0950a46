#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the programs need,
# only when some are missing. Non-interactive; uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  fonts-liberation2 fonts-dejavu-core
  clang-format git
)
# Extra tools for screenshots and PDF checks, asked for with --extras; the Windows cross build,
# its tests under wine and its package, with --windows.
for option in "$@"; do
  case $option in
  --extras) packages+=(xvfb xdotool poppler-utils x11-apps imagemagick) ;;
  --windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis zip zstd qt6-base-dev-tools xvfb xdotool) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
