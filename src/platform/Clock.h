#pragma once

#include <functional>

namespace Vexa {

/// The game's one clock: seconds of play since start. Every "now" of the game
/// reads it, so a test that installs its own source controls every timer at once,
/// and a pause holds them all.
class Clock {
 public:
  using Source = std::function<double()>;

  /// The source's seconds less the time spent paused; while paused, the reading
  /// at the pause.
  static double now();

  /// Replaces the clock source; an empty source restores the window library's
  /// clock. The new source starts unpaused.
  static void use(Source source);

  /// Stops the game's time, and lets it go on from where it stopped: no timer
  /// sees the seconds in between. Pausing a paused clock, or resuming a running
  /// one, changes nothing.
  static void pause();
  static void resume();
  static bool paused();
};

}  // namespace Vexa
