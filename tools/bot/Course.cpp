#include "Course.h"

#include <glm/geometric.hpp>

namespace Vexa::bot {

namespace {

/// The pitch a walking player keeps: a little below the horizon, where the ground is.
constexpr float walkingPitch = 10.0f;
/// A float jump lets go of forward this close to its landing point, horizontally.
constexpr float floatLetGo = 3.0f;

}  // namespace

void Course::restart() {
  next = 0;
  floating = false;
}

void Course::steer(const BotView& view, Pilot& pilot) {
  while (!finished() && reached(view, route[next])) {
    if (route[next].move == Waypoint::Move::JumpOff) pilot.jump();
    ++next;
    floating = false;
  }
  if (finished()) return;
  const Waypoint& target = route[next];
  if (target.move == Waypoint::Move::FloatTo) {
    steerFloat(view, target, pilot);
    return;
  }
  pilot.look(yawTowards(view.player, target.point), walkingPitch);
  // In the air the player steers freely: it holds forward until it is above its mark.
  if (view.onGround || horizontalDistance(view.player, target.point) > target.reach)
    pilot.forward();
}

// A point is reached on the ground within its reach, or once the player has
// passed it along the leg (so a take-off never waits for a second try).
bool Course::reached(const BotView& view, const Waypoint& target) const {
  if (!view.onGround) return false;
  if (target.move == Waypoint::Move::FloatTo)
    return floating && horizontalDistance(view.player, target.point) < target.reach;
  if (horizontalDistance(view.player, target.point) < target.reach) return true;
  if (target.move != Waypoint::Move::JumpOff || next == 0) return false;
  const glm::vec2 leg = horizontal(target.point - route[next - 1].point);
  return glm::dot(horizontal(view.player - target.point), leg) > 0.0f;
}

// The player watches where it means to land.
void Course::steerFloat(const BotView& view, const Waypoint& target, Pilot& pilot) {
  pilot.lookAt(target.point);
  if (view.onGround) {
    // Not yet up, or down again short of the mark: float (again).
    pilot.jump();
    floating = true;
    return;
  }
  if (horizontalDistance(view.player, target.point) > floatLetGo) pilot.forward();
}

}  // namespace Vexa::bot
