#pragma once

#include <ctime>
#include <functional>

namespace Vexa {

/// Calendar time in whole seconds, the seed of every random choice of the game.
/// Choices reseed the generator right before each draw, so two draws within the
/// same calendar second agree; tests pin the second through `use`.
class Calendar {
 public:
  using Source = std::function<std::time_t()>;

  static std::time_t seconds();

  /// Reseeds the standard generator with the calendar second and draws once.
  static int reseededRand();

  /// Replaces the calendar source; an empty source restores the system calendar.
  static void use(Source source);
};

}  // namespace Vexa
