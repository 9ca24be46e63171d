#include "physic/WorldRays.h"

#include <btBulletDynamicsCommon.h>

#include "physic/BulletConversions.h"
#include "physic/StaticRigidBody.h"

namespace Vexa::test {

namespace {

/// The closest hit on one collision object, or on any when there is none.
class ClosestOn : public btCollisionWorld::ClosestRayResultCallback {
 public:
  ClosestOn(const btVector3& from, const btVector3& to, const btCollisionObject* only)
      : ClosestRayResultCallback(from, to), only(only) {}

  bool needsCollision(btBroadphaseProxy* proxy) const override {
    return (only == nullptr || proxy->m_clientObject == only) &&
           ClosestRayResultCallback::needsCollision(proxy);
  }

 private:
  const btCollisionObject* only;
};

}  // namespace

std::optional<float> WorldRays::groundBelow(const glm::vec3& point, float depth,
                                            const physic::StaticRigidBody* body) const {
  const btVector3 from = physic::toBullet(point);
  const btVector3 to = physic::toBullet(point - glm::vec3(0.0f, depth, 0.0f));
  ClosestOn closest(from, to, body != nullptr ? &body->rigidBody() : nullptr);
  world.dynamicsWorld().rayTest(from, to, closest);
  if (!closest.hasHit()) return std::nullopt;
  return closest.m_hitPointWorld.y();
}

bool WorldRays::blocks(const glm::vec3& a, const glm::vec3& b) const {
  ClosestOn closest(physic::toBullet(a), physic::toBullet(b), nullptr);
  world.dynamicsWorld().rayTest(closest.m_rayFromWorld, closest.m_rayToWorld, closest);
  return closest.hasHit();
}

}  // namespace Vexa::test
