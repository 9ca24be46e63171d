// The level files in the game's physics world (real Bullet): the player's capsule
// comes to rest on the start ground, and every enemy's navigator finds walking
// targets on the platform it stands on.
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>

#include "ImportedModel.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/PlatformNavigator.h"
#include "physic/StaticRigidBody.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using physic::StaticRigidBody;

constexpr float frame = 1.0f / 60.0f;
constexpr float capsuleHalfHeight = 2.875f;
constexpr float enemyStandHeight = 0.8f;  // an enemy's body origin above its platform
constexpr std::time_t firstSecond = 1700000000;
constexpr int headingDraws = 6;

std::unique_ptr<StaticRigidBody> bodyOf(const TriangleSet& set) {
  auto triangles = std::make_unique<btTriangleMesh>();
  auto bullet = [](const glm::vec3& p) { return btVector3(p.x, p.y, p.z); };
  for (const auto& t : set.all())
    triangles->addTriangle(bullet(t[0].position), bullet(t[1].position), bullet(t[2].position));
  return std::make_unique<StaticRigidBody>(std::move(triangles));
}

class LevelWorld {
 public:
  explicit LevelWorld(int number)
      : model("Resources/Models/level" + std::to_string(number) + ".dae",
              ImportedModel::levelScale()),
        solid(model.meshes(*model.node("Level"))),
        levelBody(world.addStaticBody(bodyOf(solid), true)) {}

  /// Asks the navigator for targets from an enemy standing over point on
  /// platform (whose surface is ground), under several calendar seconds. Near an
  /// edge a draw may leave the enemy standing until a later second; a target
  /// must never lie off the platform, and some draw must move the enemy.
  void expectTargetsOnPlatform(const glm::vec3& point, const StaticRigidBody& platform,
                               const TriangleSet& ground, const std::string& who) {
    const auto surface = ground.groundBelow(point, 8.0f);
    ASSERT_TRUE(surface) << who << " stands over nothing";
    const glm::vec3 position(point.x, *surface + enemyStandHeight, point.z);
    int moves = 0;
    for (std::time_t second = firstSecond; second < firstSecond + headingDraws; ++second) {
      calendar.second = second;
      const glm::vec3 target = navigator.nextTarget(position, &platform);
      if (glm::distance(target, position) < 1.0f) continue;
      ++moves;
      const auto targetSurface = ground.groundBelow(target + glm::vec3(0, 1, 0), 4.0f);
      ASSERT_TRUE(targetSurface) << who << " walks off its platform, second " << second;
      EXPECT_NEAR(*targetSurface, *surface, 0.01f) << who << ", second " << second;
    }
    EXPECT_GT(moves, 0) << who << " never finds a target";
  }

  FixedCalendar calendar{firstSecond};
  PhysicsWorld world;
  PlatformNavigator navigator{world};
  ImportedModel model;
  TriangleSet solid;
  StaticRigidBody& levelBody;
};

class LevelPhysics : public testing::TestWithParam<int> {};

TEST_P(LevelPhysics, PlayerSettlesOnTheStartGround) {
  LevelWorld level(GetParam());
  const glm::vec3 start(0.0f, 8.0f, -7.0f);
  CharacterBody& player = level.world.addCharacter(
      std::make_unique<CharacterBody>(start, level.world, 2.0, 1.75, 0.35));
  for (int i = 0; i < 120; ++i) level.world.step(frame);
  const float ground = level.solid.groundBelow(start, 10.0f).value_or(0.0f);
  EXPECT_TRUE(player.onGround());
  EXPECT_NEAR(player.position().y, ground + capsuleHalfHeight, 0.15f);
  EXPECT_NEAR(player.position().x, start.x, 0.05f);
  EXPECT_NEAR(player.position().z, start.z, 0.05f);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelPhysics, testing::Values(1, 2, 3, 4));

class SpawnedEnemies : public testing::TestWithParam<int> {};

TEST_P(SpawnedEnemies, FindWalkingTargetsOnTheirOwnPlatforms) {
  LevelWorld level(GetParam());
  const aiNode* spawner = level.model.node("Spawner");
  ASSERT_NE(spawner, nullptr);
  for (unsigned i = 0; i < spawner->mNumChildren; ++i) {
    level.expectTargetsOnPlatform(level.model.position(*spawner->mChildren[i]), level.levelBody,
                                  level.solid, "spawn point " + std::to_string(i));
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, SpawnedEnemies, testing::Values(1, 2, 3));

TEST(ElevatorWave, WalksTheLoweredElevator) {
  LevelWorld level(1);
  const TriangleSet modelled = level.model.meshes(*level.model.node("Elevator"));
  StaticRigidBody& elevator = level.world.addStaticBody(bodyOf(modelled), false);
  const glm::vec3 lowering(0.0f, -10.0f, 0.0f);
  level.world.moveStaticBody(elevator, lowering);
  const TriangleSet lowered = modelled.translated(lowering);
  const glm::vec3 centre = level.model.position(*level.model.node("Elevator")) + lowering;
  // The wave lands within 10 units of the centre on each axis.
  for (const glm::vec3& offset : {glm::vec3(0, 1, 0), glm::vec3(-9, 1, -9), glm::vec3(9, 1, 9),
                                  glm::vec3(-9, 1, 9), glm::vec3(9, 1, -9)}) {
    level.expectTargetsOnPlatform(centre + offset, elevator, lowered, "wave enemy");
  }
}

TEST(Boss, WalksTheArenaFloor) {
  LevelWorld level(3);
  level.expectTargetsOnPlatform(level.model.position(*level.model.node("BigEnemy")),
                                level.levelBody, level.solid, "the boss");
}

}  // namespace
}  // namespace Vexa::test
