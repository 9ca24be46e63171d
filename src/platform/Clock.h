#pragma once

#include <functional>

namespace Vexa {

/// The game's one clock: seconds since start. Every "now" of the game reads it,
/// so a test that installs its own source controls every timer at once.
class Clock {
 public:
  using Source = std::function<double()>;

  static double now();

  /// Replaces the clock source; an empty source restores the window library's clock.
  static void use(Source source);
};

}  // namespace Vexa
