#pragma once

#include <optional>
#include <vector>

#include "Course.h"
#include "Fighter.h"

namespace Vexa::bot {

/// One stretch of a level: a route, then, where enemies stand in the way, a
/// fight until the ground at its end is clear.
struct Leg {
  std::vector<Waypoint> route;
  std::optional<Fighter> clearing;
};

/// A level's way, leg by leg; after a respawn it starts over from the first.
class Journey {
 public:
  explicit Journey(std::vector<Leg> legs);

  bool finished() const { return current >= legs.size(); }
  void restart();
  /// Plays the current leg, moving on once it is done.
  void play(const BotView& view, Pilot& pilot);

 private:
  struct Stretch {
    Course course;
    std::optional<Fighter> clearing;
  };
  std::vector<Stretch> legs;
  std::size_t current = 0;
};

}  // namespace Vexa::bot
