#!/usr/bin/env bash
# Prints the game's benchmark table: the floor of a frame's fixed work, the frame
# of each level split by phase against that floor, start-up and the level
# switches, peak resident memory, and the simulation with 6 to 1,000 enemies.
# Usage: tools/benchmark/benchmark.sh [BUILD_DIR] (default build), with a display
# or under xvfb-run -a.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cd "$build/bin"
costs=$("$build/tests/vexa_frame_cost_benchmark")
echo "$costs"
floor=$(echo "$costs" | awk '/^floor/ { print $(NF - 1) }')
./vexa_benchmark --floor "$floor" | grep -v '^Switching to Level'
"$build/tests/vexa_enemy_crowd_benchmark"
