#!/usr/bin/env bash
# Configures build/ and builds into build/bin.
#
# Usage: build.sh [game]
# Without an argument everything is built: the game, the tools and the test suite.
# With "game" only the two game programs and their data are; a build folder made
# this way leaves the test suite out until build.sh runs without an argument.
set -euo pipefail
cd "$(dirname "$0")/.."

options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
targets=()
case "${1:-}" in
  game)
    targets=(--target vexa_game vexa_game_fullscreen)
    [ -f build/CMakeCache.txt ] || options+=(-DBUILD_TESTING=OFF)
    ;;
  "") options+=(-DBUILD_TESTING=ON) ;;
  *) echo "usage: $0 [game]" >&2; exit 2 ;;
esac
cmake -S . -B build "${options[@]}" >/dev/null
cmake --build build -j2 "${targets[@]}"
