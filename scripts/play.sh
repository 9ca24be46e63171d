#!/usr/bin/env bash
# Builds the game if needed (only the game: no tools, no tests) and starts it
# from its run-time folder.
# Pass "fullscreen" to play at the desktop's resolution.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh game
program=vexa_game
[ "${1:-}" = "fullscreen" ] && program=vexa_game_fullscreen
cd build/bin
exec "./$program"
