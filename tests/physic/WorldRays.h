#pragma once

#include <glm/vec3.hpp>
#include <optional>

#include "physic/PhysicsWorld.h"

namespace Vexa::test {

/// The geometric questions tests ask of a physics world's bodies, answered with
/// Bullet's ray tests as the game asks its own.
class WorldRays {
 public:
  explicit WorldRays(PhysicsWorld& world) : world(world) {}

  /// Height of the first surface straight below `point` within `depth`, if any: of
  /// `body` alone when one is given (the ray passes through every other body),
  /// else of any body.
  std::optional<float> groundBelow(const glm::vec3& point, float depth,
                                   const physic::StaticRigidBody* body = nullptr) const;
  /// Whether the segment from `a` to `b` meets any body.
  bool blocks(const glm::vec3& a, const glm::vec3& b) const;

 private:
  PhysicsWorld& world;
};

}  // namespace Vexa::test
