// The level files as the game loads them: node conventions, where the player and
// the enemies stand, the elevator of level 1 and the boss arena of level 3.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "ImportedModel.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/WorldRays.h"
#include "render/Lighting.h"
#include "scene/Level3.h"
#include "scene/SceneContainer.h"
#include "scene/event/Level1ElevatorEvent.h"
#include "scene/event/Level3DoorsOpenEvent.h"

namespace Vexa::test {
namespace {

const float capsuleHalfHeight = static_cast<float>(playerCapsule.standingHeight());
const float capsuleRadius = static_cast<float>(playerCapsule.radius);
constexpr float triggerHalfSize = scene::SceneContainer::eventHalfSize;
constexpr float elevatorDrop = scene::event::Level1ElevatorEvent::loweredBy;
constexpr float elevatorKillHeight = scene::event::Level1ElevatorEvent::waveKillHeight;
constexpr float bossKillHeight = Level3::bossKillHeight;
constexpr float bossHeight = 6.7f;
constexpr float doorSlide = scene::event::Level3DoorsOpenEvent::slideDistance;

/// The four points at distance from point along the horizontal axes.
std::array<glm::vec3, 4> around(const glm::vec3& point, float distance) {
  return {point + glm::vec3(distance, 0, 0), point - glm::vec3(distance, 0, 0),
          point + glm::vec3(0, 0, distance), point - glm::vec3(0, 0, distance)};
}

/// A level file, its ground as the game's static body in a physics world of its own.
class LevelFile {
 public:
  explicit LevelFile(int number)
      : model(levelPath(number), ImportedModel::levelScaled),
        solid(model.meshes(*model.node(levelNode))),
        ground(physics.addStaticBody(model.staticBody(*model.node(levelNode), true))) {}

  /// Height of the level's ground straight below point within depth, if any.
  std::optional<float> groundBelow(const glm::vec3& point, float depth) const {
    return rays.groundBelow(point, depth, &ground);
  }

  /// A node that must exist; the test fails where it does not.
  const aiNode& required(const std::string& name) const {
    const aiNode* found = model.node(name);
    EXPECT_NE(found, nullptr) << "missing node " << name;
    return found ? *found : *model.root();
  }

  /// Whether the player's capsule standing on the ground below point has the
  /// trigger cube of the node around its centre.
  void expectStandingTriggers(const aiNode& trigger) const {
    const glm::vec3 centre = model.position(trigger);
    const auto below = groundBelow(centre, 10.0f);
    ASSERT_TRUE(below) << trigger.mName.C_Str() << " has no ground below it";
    EXPECT_LT(std::abs(*below + capsuleHalfHeight - centre.y), triggerHalfSize)
        << trigger.mName.C_Str();
  }

  ImportedModel model;
  TriangleSet solid;
  PhysicsWorld physics;
  WorldRays rays{physics};
  physic::StaticRigidBody& ground;
};

class EveryLevel : public testing::TestWithParam<int> {
 protected:
  LevelFile level{GetParam()};
};

TEST_P(EveryLevel, DrawsTheSunAtTheLightHighInTheSky) {
  const aiNode& sun = level.required(sunNode);
  ASSERT_GT(sun.mNumMeshes, 0u);
  const glm::vec3 position = level.model.position(sun);
  for (int axis = 0; axis < 3; ++axis)
    EXPECT_NEAR(position[axis], Lighting::position[axis], 1.0f) << "axis " << axis;
  const TriangleSet disc = level.model.meshes(sun);
  EXPECT_GT(disc.maximum().x - disc.minimum().x, 10.0f) << "too small to see from the ground";
}

TEST_P(EveryLevel, SpawnsThePlayerOnLevelGroundUnderTheWholeCapsule) {
  const auto ground = level.groundBelow(playerStartPosition, 10.0f);
  ASSERT_TRUE(ground);
  EXPECT_GE(*ground, 4.0f);
  EXPECT_LE(*ground, 5.0f);
  for (const glm::vec3& side : around(playerStartPosition, capsuleRadius)) {
    const auto under = level.groundBelow(side, 10.0f);
    ASSERT_TRUE(under);
    EXPECT_NEAR(*under, *ground, 0.01f);
  }
}

TEST_P(EveryLevel, KeepsItsGroundWhereTheSunCastsShadows) {
  // Around the point the shadow camera looks at from the light.
  const glm::vec2 shadowCentre(Lighting::target.x, Lighting::target.z);
  for (const auto& triangle : level.solid.all())
    for (const auto& corner : triangle)
      ASSERT_LT(glm::distance(glm::vec2(corner.position.x, corner.position.z), shadowCentre),
                160.0f);
}

INSTANTIATE_TEST_SUITE_P(Levels, EveryLevel, testing::Range(1, levelCount + 1));

class PlayableLevel : public EveryLevel {};

TEST_P(PlayableLevel, SpawnPointsHangOverRoomyPlatforms) {
  const aiNode& spawner = level.required(spawnerNode);
  ASSERT_GE(spawner.mNumChildren, 3u) << "one of each enemy kind at least";
  for (unsigned i = 0; i < spawner.mNumChildren; ++i) {
    const glm::vec3 point = level.model.position(*spawner.mChildren[i]);
    const auto ground = level.groundBelow(point, 4.0f);
    ASSERT_TRUE(ground) << "spawn point " << i;
    for (const glm::vec3& side : around(point, 3.0f)) {
      const auto under = level.groundBelow(side, 4.0f);
      ASSERT_TRUE(under) << "spawn point " << i << " is near an edge";
      EXPECT_NEAR(*under, *ground, 0.01f);
    }
  }
}

TEST_P(PlayableLevel, FinishMarkerTriggersForAPlayerStandingThere) {
  level.required(eventsNode);
  level.expectStandingTriggers(
      level.required(finishedEvents.at(static_cast<std::size_t>(GetParam() - 1))));
}

INSTANTIATE_TEST_SUITE_P(Levels, PlayableLevel, testing::Range(1, playableLevelCount + 1));

TEST(ClosingLevel, HasNoEnemiesAndNoEvents) {
  LevelFile level(levelCount);
  EXPECT_EQ(level.model.node(spawnerNode), nullptr);
  EXPECT_EQ(level.model.node(eventsNode), nullptr);
  EXPECT_EQ(level.model.node(bigEnemyNode), nullptr);
}

class Level1Elevator : public testing::Test {
 protected:
  LevelFile level{1};
  const aiNode& elevator = level.required(elevatorNode);
  TriangleSet platform = level.model.meshes(elevator);
  glm::vec3 rest = level.model.position(elevator);
  float loweredTop = rest.y - elevatorDrop;
};

TEST_F(Level1Elevator, IsAWideTopLevelPlatformWithItsOriginOnTheTopFace) {
  EXPECT_EQ(elevator.mParent, level.model.root());
  ASSERT_FALSE(platform.empty());
  const glm::vec3 low = platform.minimum(), high = platform.maximum();
  EXPECT_GE(high.x - low.x, 24.0f);
  EXPECT_GE(high.z - low.z, 24.0f);
  EXPECT_NEAR(rest.x, (low.x + high.x) * 0.5f, 0.01f);
  EXPECT_NEAR(rest.z, (low.z + high.z) * 0.5f, 0.01f);
  EXPECT_NEAR(rest.y, high.y, 0.01f);
}

TEST_F(Level1Elevator, EventTriggersWhereThePlayerStandsOnTheLoweredPlatform) {
  const glm::vec3 event = level.model.position(level.required(level1ElevatorEvent));
  const glm::vec3 low = platform.minimum(), high = platform.maximum();
  EXPECT_GT(event.x - triggerHalfSize, low.x);
  EXPECT_LT(event.x + triggerHalfSize, high.x);
  EXPECT_GT(event.z - triggerHalfSize, low.z);
  EXPECT_LT(event.z + triggerHalfSize, high.z);
  EXPECT_LT(std::abs(loweredTop + capsuleHalfHeight - event.y), triggerHalfSize);
}

TEST_F(Level1Elevator, LeavesNothingSolidBelowSoKnockedOffEnemiesFallOut) {
  const glm::vec3 low = platform.minimum() - glm::vec3(3.0f),
                  high = platform.maximum() + glm::vec3(3.0f);
  const float below = loweredTop - 2.5f;  // under the platform's own slab
  for (float x = low.x; x <= high.x; x += 1.0f) {
    for (float z = low.z; z <= high.z; z += 1.0f) {
      EXPECT_FALSE(level.groundBelow({x, below, z}, below - elevatorKillHeight))
          << "ground at " << x << ", " << z;
    }
  }
}

TEST_F(Level1Elevator, LeavesTheWavesFallFromAboveClear) {
  // The wave appears 30 above the ruby (3 above the lowered top), within 10 of
  // the centre on each axis.
  const float drop = 3.0f + 30.0f;
  for (float x = rest.x - 10.0f; x <= rest.x + 10.0f; x += 1.0f)
    for (float z = rest.z - 10.0f; z <= rest.z + 10.0f; z += 1.0f)
      EXPECT_FALSE(level.groundBelow({x, loweredTop + drop, z}, drop - 0.1f))
          << "something above the elevator at " << x << ", " << z;
}

TEST_F(Level1Elevator, RisesToALedgeTooHighToReachFromTheLoweredPlatform) {
  const glm::vec3 low = platform.minimum(), high = platform.maximum();
  bool ledgeFound = false;
  for (float x = low.x; x <= high.x; x += 1.0f) {
    for (const float z : {low.z - 2.0f, high.z + 2.0f}) {
      const auto ground = level.groundBelow({x, rest.y + 1.0f, z}, 2.0f);
      ledgeFound = ledgeFound || (ground && std::abs(*ground - rest.y) < 0.3f);
    }
  }
  EXPECT_TRUE(ledgeFound);
  EXPECT_GT(rest.y - loweredTop, 4.9f) << "a normal jump rises about 4.9";
  const auto finishGround =
      level.groundBelow(level.model.position(level.required(finishedEvents[0])), 10.0f);
  ASSERT_TRUE(finishGround);
  EXPECT_NEAR(*finishGround, rest.y, 0.3f) << "the finish lies on the ledge";
}

class Level3Arena : public testing::Test {
 protected:
  LevelFile level{3};
  glm::vec3 boss = level.model.position(level.required(bigEnemyNode));
  TriangleSet door1 = level.model.meshes(level.required(door1Node));
  TriangleSet door2 = level.model.meshes(level.required(door2Node));
  // The doors' bodies as the game registers them, beside the level's ground.
  physic::StaticRigidBody& door1Body = addDoorBody(door1Node);
  physic::StaticRigidBody& door2Body = addDoorBody(door2Node);
  float floor = level.groundBelow(boss, 10.0f).value_or(0.0f);
  float wallX = level.model.position(level.required(door1Node)).x;
  float doorwayZ = door1.minimum().z;

  physic::StaticRigidBody& addDoorBody(const char* node) {
    return level.physics.addStaticBody(level.model.staticBody(level.required(node), false));
  }

  /// Whether walking straight through the door line at z is blocked, by the level or a door.
  bool blocked(float z, float height) const {
    const glm::vec3 inside(wallX + 4.0f, floor + height, z),
        outside(wallX - 4.0f, floor + height, z);
    return level.rays.blocks(inside, outside);
  }
};

TEST_F(Level3Arena, StandsTheBossAboveHeight75) {
  EXPECT_GT(floor, 75.0f);
  EXPECT_LT(boss.y - floor, 5.0f);
}

TEST_F(Level3Arena, CatchesNothingBelowItsOpenSidesAbove65) {
  // The west side is the door wall; the other three are open for knocking the boss off.
  float east = boss.x, north = boss.z, south = boss.z;
  while (level.groundBelow({east + 0.5f, floor + 0.5f, boss.z}, 1.0f)) east += 0.5f;
  while (level.groundBelow({boss.x, floor + 0.5f, north + 0.5f}, 1.0f)) north += 0.5f;
  while (level.groundBelow({boss.x, floor + 0.5f, south - 0.5f}, 1.0f)) south -= 0.5f;
  for (float x = wallX + 1.5f; x <= east + 40.0f; x += 2.0f) {
    for (float z = south - 40.0f; z <= north + 40.0f; z += 2.0f) {
      if (x < east + 1.0f && z > south - 1.0f && z < north + 1.0f) continue;  // the floor
      const glm::vec3 top(x, floor + bossHeight, z);
      EXPECT_FALSE(level.groundBelow(top, top.y - bossKillHeight))
          << "something catches the boss at " << x << ", " << z;
    }
  }
}

TEST_F(Level3Arena, DoorsAreTopLevelNodesMeetingAcrossTheExit) {
  EXPECT_EQ(level.required(door1Node).mParent, level.model.root());
  EXPECT_EQ(level.required(door2Node).mParent, level.model.root());
  EXPECT_NEAR(door1.minimum().z, door2.maximum().z, 0.01f) << "the doors meet";
  for (float z = doorwayZ - 15.0f; z <= doorwayZ + 15.0f; z += 0.25f) {
    EXPECT_TRUE(blocked(z, 1.0f)) << "a way past the closed doors at z " << z;
    EXPECT_TRUE(blocked(z, 5.5f)) << "a way over the closed doors at z " << z;
  }
}

TEST_F(Level3Arena, OpenDoorsLeaveAPassageFiveWideToTheFinish) {
  // Slid apart as the game slides them, along the world's z axis.
  level.physics.moveStaticBody(door1Body, {0.0f, 0.0f, doorSlide});
  level.physics.moveStaticBody(door2Body, {0.0f, 0.0f, -doorSlide});
  for (float z = doorwayZ - 2.5f; z <= doorwayZ + 2.5f; z += 0.25f) {
    for (const float height : {0.5f, 3.0f, 5.75f})
      EXPECT_FALSE(blocked(z, height)) << "blocked at z " << z << ", height " << height;
  }
  const auto beyond = level.groundBelow({wallX - 4.0f, floor + 1.0f, doorwayZ}, 2.0f);
  ASSERT_TRUE(beyond) << "no floor behind the doors";
  EXPECT_NEAR(*beyond, floor, 0.01f);
}

}  // namespace
}  // namespace Vexa::test
