#!/usr/bin/env bash
# Builds everything and runs the whole test suite. Tests use a real OpenGL
# context: without a display, a private Xvfb server (Mesa) stands in.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh

if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and writes it once it accepts clients.
  # By default it resets whenever its last client leaves, and drops any client
  # that connects during the reset; with tests coming and going in parallel that
  # happens, so it never resets.
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true; rm -f "$ready"' EXIT
  for _ in $(seq 100); do
    [ -s "$ready" ] && break
    sleep 0.1
  done
  [ -s "$ready" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$ready")"
fi

cd build
ctest --output-on-failure -j2 "$@"
