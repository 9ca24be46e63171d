#include "Fighter.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <limits>

namespace Vexa::bot {

namespace {

/// The bat sends a struck enemy this many degrees to the left of the view.
constexpr float throwLeftOfView = 70.0f;
/// The bot counts the player as touching an enemy within the enemy's radius and this
/// much more: a measure of its own, which the distances below are tuned with (the
/// player's capsule is wider, `playerCapsule.radius`).
constexpr float touchAllowance = 0.35f;
/// The player keeps this far from the edges of the ground it fights on.
constexpr float edgeMargin = 2.0f;
/// Standing this much further than touching, the bat still reaches (it reaches 5.5 from the eye).
constexpr float swingGap = 1.8f;
/// Close enough to the chosen spot to swing.
constexpr float spotReach = 0.8f;
/// The player keeps this much further from an enemy than touching it.
constexpr float keepOutMargin = 0.6f;
/// The view must point this close to the enemy for the swing to strike it.
constexpr float aimTolerance = 6.0f;

}  // namespace

bool Ground::holds(const glm::vec3& point, float below, float above) const {
  return point.x >= min.x && point.x <= max.x && point.z >= min.y && point.z <= max.y &&
         point.y > top - below && point.y < top + above;
}

glm::vec2 Ground::inside(const glm::vec2& point, float margin) const {
  return glm::clamp(point, min + margin, max - margin);
}

Fighter::Fighter(Ground ground, float enemyRadius) : ground(ground), enemyRadius(enemyRadius) {}

float Fighter::touching() const {
  return enemyRadius + touchAllowance;
}

float Fighter::keepOut() const {
  return touching() + keepOutMargin;
}

std::vector<std::size_t> Fighter::foes(const BotView& view) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < view.enemies.size(); ++i) {
    const BotView::Enemy& enemy = view.enemies[i];
    if (!enemy.hidden && ground.holds(enemy.position)) found.push_back(i);
  }
  return found;
}

float Fighter::throwYaw(const glm::vec3& enemy) const {
  struct Side {
    bool open;
    float distance;
    float yaw;
  };
  const OpenSides& sides = ground.open;
  const Side candidates[] = {{sides.west, enemy.x - ground.min.x, -90.0f},
                             {sides.east, ground.max.x - enemy.x, 90.0f},
                             {sides.north, enemy.z - ground.min.y, 0.0f},
                             {sides.south, ground.max.y - enemy.z, 180.0f}};
  float best = std::numeric_limits<float>::max();
  float yaw = 0.0f;
  for (const Side& side : candidates) {
    if (side.open && side.distance < best) {
      best = side.distance;
      yaw = side.yaw;
    }
  }
  return yaw;
}

std::optional<glm::vec3> Fighter::nearestStanding(const BotView& view,
                                                  const std::vector<std::size_t>& found) {
  std::optional<glm::vec3> nearest;
  for (const std::size_t i : found) {
    const BotView::Enemy& enemy = view.enemies[i];
    if (enemy.tumbling()) continue;
    if (!nearest ||
        horizontalDistance(view.player, enemy.position) < horizontalDistance(view.player, *nearest))
      nearest = enemy.position;
  }
  return nearest;
}

glm::vec2 Fighter::strikingSpot(const glm::vec3& enemy) const {
  const float faceYaw = throwYaw(enemy) + throwLeftOfView;
  return ground.inside(horizontal(enemy) - directionOfYaw(faceYaw) * (touching() + swingGap),
                       edgeMargin);
}

// Straight to the spot, unless that passes the enemy: then round it, on the side
// the player already is.
glm::vec2 Fighter::wayTo(const glm::vec2& spot, const glm::vec2& player,
                         const glm::vec2& enemy) const {
  const glm::vec2 toEnemy = enemy - player;
  const glm::vec2 way = spot - player;
  if (glm::length(toEnemy) < keepOut())
    return -toEnemy;  // step back before it knocks the player away
  if (glm::length(way) <= spotReach) return way;
  const glm::vec2 along = glm::normalize(way);
  const float ahead = glm::dot(toEnemy, along);
  const glm::vec2 across = toEnemy - along * ahead;
  if (ahead <= 0.0f || ahead >= glm::length(way) || glm::length(across) >= keepOut() + 0.5f)
    return way;
  const glm::vec2 side =
      glm::length(across) > 1e-3f ? -glm::normalize(across) : glm::vec2(along.y, -along.x);
  return toEnemy + side * (keepOut() + 1.0f);
}

bool Fighter::fight(const BotView& view, Pilot& pilot) const {
  const std::vector<std::size_t> found = foes(view);
  // Tumbling enemies are on their way out; the bat cannot strike them anyway.
  const std::optional<glm::vec3> target = nearestStanding(view, found);
  if (!target) {
    pilot.stop();
    return !found.empty();
  }
  const glm::vec3 enemy = *target;
  const glm::vec2 spot = strikingSpot(enemy);
  const glm::vec2 player = horizontal(view.player);
  const float distance = glm::length(horizontal(enemy) - player);
  pilot.lookAt(enemy);
  if (glm::length(spot - player) > spotReach * 0.5f || distance < keepOut())
    pilot.move(wayTo(spot, player, horizontal(enemy)));
  else
    pilot.stop();
  const bool aimed = std::abs(turnBetween(view.yaw, yawTowards(view.eye(), enemy))) < aimTolerance;
  const bool inReach = distance < touching() + swingGap + spotReach;
  if (aimed && inReach && !view.swinging) pilot.swing();
  return true;
}

}  // namespace Vexa::bot
