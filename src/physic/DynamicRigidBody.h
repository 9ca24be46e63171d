#pragma once

#include <glm/vec3.hpp>
#include <memory>
#include <vector>

#include "physic/PlatformNavigator.h"
#include "physic/RigidBody.h"

class btCollisionShape;
class btPersistentManifold;

namespace Vexa {
class PhysicsWorld;
}

namespace Vexa::physic {

/// An enemy's body: mass 1, bouncy and grippy, upright until a hit lets it tumble.
/// It owns its collision shape and its platform navigator.
class DynamicRigidBody : public RigidBody {
 public:
  /// Builds the body upright at `startPosition`; `PhysicsWorld::addDynamicBody` puts it in the
  /// world.
  DynamicRigidBody(std::unique_ptr<btCollisionShape> shape, const glm::vec3& startPosition,
                   PhysicsWorld& world);
  ~DynamicRigidBody() override;

  /// Replaces the collision shape of the registered body (levels resize an enemy's
  /// capsule); the old one is released and the world forgets the pairs built on it.
  void replaceShape(std::unique_ptr<btCollisionShape> newShape);
  btCollisionShape& collisionShape() const { return *shape; }

  /// Throws the body, waking it: no spin, a third of the rotation freed, the
  /// impulse `direction * strength` at the centre of mass, and marks it hit.
  /// `direction` need not be unit length.
  void applyHit(float strength, const glm::vec3& direction);
  /// Sets the body upright where it is, without spin, and locks its rotation again.
  void standUpright();

  PlatformNavigator& navigator() { return platformNavigator; }

  /// The contact manifolds of this body that hold contacts, as the physics world
  /// learns of them from Bullet: a manifold joins at its first contact and leaves
  /// with its last.
  const std::vector<const btPersistentManifold*>& contactManifolds() const { return manifolds; }
  void manifoldStarted(const btPersistentManifold& manifold);
  void manifoldEnded(const btPersistentManifold& manifold);

  /// Set by a hit (bat or float-mode contact), cleared by the enemy when it stands up again.
  bool hit = false;

 private:
  std::unique_ptr<btCollisionShape> shape;
  PhysicsWorld& world;
  PlatformNavigator platformNavigator;
  std::vector<const btPersistentManifold*> manifolds;
};

}  // namespace Vexa::physic
