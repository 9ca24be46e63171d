#!/usr/bin/env bash
# Builds everything and runs the whole test suite. Tests use a real OpenGL
# context: without a display, a private Xvfb server (Mesa) stands in.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh

if [ -z "${DISPLAY:-}" ]; then
  display=":$((90 + RANDOM % 400))"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY="$display"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
fi

cd build
ctest --output-on-failure -j2 "$@"
