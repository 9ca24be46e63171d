#!/usr/bin/env bash
# Starts the real game on the test display, lets it play level 1 for a few
# seconds, taps Escape once and expects a clean exit: status 0, the level-1 line
# on the console and no GL error report.
#
# Usage: game_starts_and_quits.sh GAME (run from the folder with Shader/ and Resources/)
#
# Keys are pressed through XTEST, which the window library takes as real input
# (it ignores events sent to a window directly). Without a window manager the
# keyboard focus is given to the game's window explicitly, so the key reaches it
# wherever the pointer is and whatever other windows the test display shows.
# The tap is a press and a release with no pause between them, shorter than any
# frame of the game under a software renderer: the game reads the keys once a
# frame and must still see a press that was released before the frame began.
set -uo pipefail

game=$1
play_seconds=3
deadline_seconds=40

fail() {
  echo "FAIL: $*" >&2
  [ -n "${log:-}" ] && { echo "--- console ---" >&2; cat "$log" >&2; }
  exit 1
}

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY to open the game's window on"
command -v xdotool >/dev/null || fail "xdotool is missing (scripts/install-deps.sh installs it)"

log=$(mktemp)
"$game" >"$log" 2>&1 </dev/null &
pid=$!
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -f "$log"
}
trap cleanup EXIT

# Polls "$@" every 0.2 s until it succeeds; fails when the game ends or time runs out.
wait_for() {
  local what=$1
  shift
  until "$@"; do
    kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for $what"
    [ "$SECONDS" -lt "$deadline_seconds" ] || fail "no $what within $deadline_seconds s"
    sleep 0.2
  done
}

game_window() {
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1)
  [ -n "$window" ]
}
# The caption reads "Loading..." while a level is built and changes after the first frame.
level_playing() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" != "Loading..." ]; }
game_ended() { ! kill -0 "$pid" 2>/dev/null; }

wait_for "window" game_window
wait_for "first frame" level_playing
# Without the focus the game waits; with it, level 1 plays. Windows that other
# tests open on the same display take the focus as they appear, so it is given
# back right before the tap.
focus() {
  xdotool windowfocus --sync "$window" || fail "could not give the game's window the keyboard focus"
}
focus
sleep "$play_seconds"
game_ended && fail "the game ended before Escape"

focus
xdotool key --delay 0 Escape
wait_for "exit after Escape" game_ended
wait "$pid"
status=$?
pid=""

[ "$status" -eq 0 ] || fail "exit status $status"
grep -q "^Switching to Level 1$" "$log" || fail "level 1 was not entered"
! grep -q "GL ERROR DETECTED" "$log" || fail "the game reported GL errors"
echo "level 1 played and a tap of Escape ended the game with status 0"
