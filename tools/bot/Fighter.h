#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <optional>
#include <vector>

#include "BotView.h"
#include "Pilot.h"

namespace Vexa::bot {

/// Which ways a struck enemy may be sent off the ground: not towards a
/// neighbouring platform it could land on.
struct OpenSides {
  bool west = true;   ///< -x
  bool east = true;   ///< +x
  bool north = true;  ///< -z
  bool south = true;  ///< +z
};

/// A rectangle of level ground, seen from above, the height of its top, and the
/// sides a fight on it may send enemies over.
struct Ground {
  glm::vec2 min{0.0f};
  glm::vec2 max{0.0f};
  float top = 0.0f;
  OpenSides open;

  bool holds(const glm::vec3& point, float below = 1.0f, float above = 8.0f) const;
  /// `point` moved inside, at least `margin` away from every edge.
  glm::vec2 inside(const glm::vec2& point, float margin) const;
};

/// Beats the enemies on a piece of ground with the bat, as a player would: it
/// picks the nearest one standing there, walks round to the side from which the
/// bat sends it over the nearest open edge, faces it and swings, keeping the
/// player away from the edges and out of the enemies' reach.
class Fighter {
 public:
  /// `enemyRadius` is the enemies' capsule radius: the player keeps out of touch.
  explicit Fighter(Ground ground, float enemyRadius = 0.8f);

  /// The enemies the fighter is after: those standing on its ground.
  std::vector<std::size_t> foes(const BotView& view) const;
  /// Goes after the nearest foe; false when there is none.
  bool fight(const BotView& view, Pilot& pilot) const;

 private:
  static std::optional<glm::vec3> nearestStanding(const BotView& view,
                                                  const std::vector<std::size_t>& found);
  /// The yaw at which the struck enemy flies over the nearest open edge.
  float throwYaw(const glm::vec3& enemy) const;
  /// Where to stand so that the bat sends `enemy` over that edge.
  glm::vec2 strikingSpot(const glm::vec3& enemy) const;
  /// Which way to walk from `player` towards `spot` without touching `enemy`.
  glm::vec2 wayTo(const glm::vec2& spot, const glm::vec2& player, const glm::vec2& enemy) const;
  /// Centre distances at which the bot counts the player as touching an enemy, and
  /// keeps it off one.
  float touching() const;
  float keepOut() const;

  Ground ground;
  float enemyRadius;
};

}  // namespace Vexa::bot
