#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing: those a player needs to
# build and play the game, and with --tests also those only the test suite needs.
# Without root and without sudo it prints the apt-get line to run as root instead.
#
# Usage: install-deps.sh [--tests]
set -euo pipefail

player_packages=(
  build-essential cmake pkg-config python3
  libglfw3-dev libglew-dev libgl-dev libassimp-dev libdevil-dev libbullet-dev libglm-dev
  libopenal-dev libsndfile1-dev libasound2-dev nlohmann-json3-dev
  libgl1-mesa-dri
)
# dpkg-dev brings dpkg-shlibdeps, which finds the Debian package's library dependencies.
test_packages=(
  libgtest-dev zlib1g-dev
  xvfb xauth assimp-testmodels alsa-utils xdotool imagemagick
  desktop-file-utils appstream dpkg-dev
)

packages=("${player_packages[@]}")
case "${1:-}" in
  --tests) packages+=("${test_packages[@]}") ;;
  "") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Not root and no sudo: run this as root, then start again:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
