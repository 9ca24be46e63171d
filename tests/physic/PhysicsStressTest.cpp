#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>

#include "physic/PhysicsScenery.h"

namespace Vexa::test {
namespace {

// A busy level: 200 enemies dropped onto a 32,768-triangle level mesh and left to
// settle, bounce and collide for a minute of game time.
TEST(PhysicsStressTest, TwoHundredEnemiesStayOnTheLevelForAMinute) {
  PhysicsWorld world;
  world.groundBody = &world.addStaticBody(
      std::make_unique<physic::StaticRigidBody>(PhysicsScenery::terrain(128, 256.0f), true));
  for (int i = 0; i < 200; ++i) {
    const float x = static_cast<float>(i % 20) * 10.0f - 95.0f;
    const float z = static_cast<float>(i / 20) * 10.0f - 45.0f;
    PhysicsScenery::addEnemy(world, {x, 3.0f + static_cast<float>(i % 7), z});
  }
  PhysicsScenery::run(world, 60 * 60);
  for (const auto& enemy : world.dynamicBodies()) {
    const glm::vec3 p = enemy->getPosition();
    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    EXPECT_GT(p.y, -1.0f) << "fell through the level";
  }
}

}  // namespace
}  // namespace Vexa::test
