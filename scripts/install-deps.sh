#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the game and its tests need, if any are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config python3
  libglfw3-dev libglew-dev libgl-dev libassimp-dev libdevil-dev libbullet-dev libglm-dev
  libopenal-dev libsndfile1-dev libasound2-dev
  libgtest-dev nlohmann-json3-dev
  xvfb xauth libgl1-mesa-dri
  assimp-testmodels alsa-utils xdotool
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
