#pragma once

#include <glm/vec3.hpp>
#include <vector>

#include "BotView.h"
#include "Pilot.h"

namespace Vexa::bot {

/// A point of a route and how the player gets there from the point before.
struct Waypoint {
  enum class Move {
    /// Walks there.
    Walk,
    /// Walks there and jumps on arrival (or on passing it): a take-off point
    /// just inside an edge; the next point is where to land.
    JumpOff,
    /// A float jump from where the player stands, landing on this point: it
    /// floats forwards until it is above the point, then lets go and drops.
    FloatTo,
  };

  glm::vec3 point{0.0f};
  Move move = Move::Walk;
  /// How close counts as there, horizontally.
  float reach = 1.0f;
};

/// Follows a route written as waypoints, one leg at a time. The route knowledge
/// is the level's; the course only steers, jumps and floats along it.
class Course {
 public:
  explicit Course(std::vector<Waypoint> route) : route(std::move(route)) {}

  bool finished() const { return next >= route.size(); }
  /// Starts again from the first waypoint (after a respawn).
  void restart();
  /// Steers towards the next waypoint, moving on past the ones reached.
  void steer(const BotView& view, Pilot& pilot);

 private:
  bool reached(const BotView& view, const Waypoint& target) const;
  void steerFloat(const BotView& view, const Waypoint& target, Pilot& pilot);

  std::vector<Waypoint> route;
  std::size_t next = 0;
  /// A float jump of the current leg has left the ground.
  bool floating = false;
};

}  // namespace Vexa::bot
