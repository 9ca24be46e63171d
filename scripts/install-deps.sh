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
  clang clang-format
)
# The fuzzer's and sanitizers' runtime comes with the distribution's default clang
# only as a recommendation; its package carries clang's major version (Debian 12:
# libclang-rt-14-dev). Where the distribution ships it inside clang itself, there is
# no such package and nothing is added.
clang_runtime() {
  local version
  # Without package lists yet (a fresh machine), Debian 12's name is the guess.
  apt-cache show clang >/dev/null 2>&1 || { echo libclang-rt-14-dev; return 0; }
  version=$(apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n1)
  [ -n "$version" ] || version=14
  apt-cache show "libclang-rt-$version-dev" >/dev/null 2>&1 && echo "libclang-rt-$version-dev"
  return 0
}

packages=("${player_packages[@]}")
case "${1:-}" in
  --tests) packages+=("${test_packages[@]}" $(clang_runtime)) ;;
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
