#pragma once

#include <cstdint>
#include <vector>

#include "Replay.h"

namespace Vexa::test {

/// What a seeded random player does: spans of held movement keys, jumps and
/// swings, small turns, sudden leaps of the mouse across the screen, and now and
/// then a debug toggle. It never presses Escape, so a run lasts all its frames.
struct RandomPlay {
  std::uint32_t seed = 0;
  int level = 1;
  long frames = 0;
  /// Pressed at random moments.
  std::vector<Key> randomToggles;
  /// Pressed in turn at the start of every `cadence` frames, each long enough to act once.
  std::vector<Key> cadencedToggles;
  long cadence = 0;
};

/// The replay of `play`: the same seed always gives the same replay.
replay::Replay randomReplay(const RandomPlay& play);

}  // namespace Vexa::test
