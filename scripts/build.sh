#!/usr/bin/env bash
# Configures build/ and builds into build/bin.
#
# Usage: build.sh [game]
# Without an argument everything is built: the game, the tools and the test suite.
# With "game" only the two game programs and their data are; a build folder made
# this way leaves the test suite out until build.sh runs without an argument.
# VEXA_WARNINGS_AS_ERRORS=ON in the environment (CI sets it) fails the build on a
# warning. Every configuration writes build/compile_commands.json for editors.
set -euo pipefail
cd "$(dirname "$0")/.."

options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
         -DVEXA_WARNINGS_AS_ERRORS="${VEXA_WARNINGS_AS_ERRORS:-OFF}")
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
