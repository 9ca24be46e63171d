// The level files in the game's physics world (real Bullet): the player's capsule
// comes to rest on the start ground, climbs the ramps and floats from pillar to
// pillar, and every enemy's navigator finds walking targets on the platform it
// stands on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ImportedModel.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/PlatformNavigator.h"
#include "physic/StaticRigidBody.h"
#include "physic/WorldRays.h"
#include "scene/LevelFiles.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using physic::StaticRigidBody;

constexpr float frame = 1.0f / 60.0f;
const float capsuleHalfHeight = static_cast<float>(playerCapsule.standingHeight());
constexpr float enemyStandHeight = 0.8f;  // an enemy's body origin above its platform
constexpr std::time_t firstSecond = 1700000000;
constexpr int headingDraws = 6;
constexpr float walkPerStep = 0.3f;  // what the controls send: 18 units per second

class LevelWorld {
 public:
  explicit LevelWorld(int number)
      : model(levelPath(number), ImportedModel::levelScaled),
        solid(model.meshes(*model.node(levelNode))),
        levelBody(world.addStaticBody(model.staticBody(*model.node(levelNode), true))) {}

  /// Height of the level's ground straight below point within depth, if any; the
  /// ray passes through the player and every other body.
  std::optional<float> groundBelow(const glm::vec3& point, float depth) const {
    return rays.groundBelow(point, depth, &levelBody);
  }

  /// Asks the navigator for targets from an enemy standing over point on
  /// platform, under several calendar seconds. Near an edge a draw may leave the
  /// enemy standing until a later second; a target must never lie off the
  /// platform, and some draw must move the enemy.
  void expectTargetsOnPlatform(const glm::vec3& point, const StaticRigidBody& platform,
                               const std::string& who) {
    const auto surface = rays.groundBelow(point, 8.0f, &platform);
    ASSERT_TRUE(surface) << who << " stands over nothing";
    const glm::vec3 position(point.x, *surface + enemyStandHeight, point.z);
    int moves = 0;
    for (std::time_t second = firstSecond; second < firstSecond + headingDraws; ++second) {
      calendar.second = second;
      const glm::vec3 target = navigator.nextTarget(position, &platform);
      if (glm::distance(target, position) < 1.0f) continue;
      ++moves;
      const auto targetSurface = rays.groundBelow(target + glm::vec3(0, 1, 0), 4.0f, &platform);
      ASSERT_TRUE(targetSurface) << who << " walks off its platform, second " << second;
      EXPECT_NEAR(*targetSurface, *surface, 0.01f) << who << ", second " << second;
    }
    EXPECT_GT(moves, 0) << who << " never finds a target";
  }

  FixedCalendar calendar{firstSecond};
  PhysicsWorld world;
  WorldRays rays{world};
  PlatformNavigator navigator{world};
  ImportedModel model;
  TriangleSet solid;
  StaticRigidBody& levelBody;
};

class LevelPhysics : public testing::TestWithParam<int> {};

TEST_P(LevelPhysics, PlayerSettlesOnTheStartGround) {
  LevelWorld level(GetParam());
  const glm::vec3 start = playerStartPosition;
  CharacterBody& player =
      level.world.addCharacter(std::make_unique<CharacterBody>(start, level.world, playerCapsule));
  for (int i = 0; i < 120; ++i) level.world.step(frame);
  const float ground = level.groundBelow(start, 10.0f).value_or(0.0f);
  EXPECT_TRUE(player.onGround());
  EXPECT_NEAR(player.position().y, ground + capsuleHalfHeight, 0.15f);
  EXPECT_NEAR(player.position().x, start.x, 0.05f);
  EXPECT_NEAR(player.position().z, start.z, 0.05f);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelPhysics, testing::Range(1, levelCount + 1));

struct Ramp {
  glm::vec3 low, high;  // midpoints of the walkway's bottom and top edges
};

/// The level's sloped walkways: upward faces between 10 and 80 degrees (steeper
/// than walkable included, so that a too steep ramp fails), grouped by their plane.
std::vector<Ramp> rampsOf(const TriangleSet& solid) {
  std::map<std::pair<int, int>, std::vector<glm::vec3>> planes;
  for (const auto& t : solid.all()) {
    const glm::vec3 normal =
        glm::normalize(glm::cross(t[1].position - t[0].position, t[2].position - t[0].position));
    if (normal.y < std::cos(glm::radians(80.0f)) || normal.y > std::cos(glm::radians(10.0f)))
      continue;
    const int heading = static_cast<int>(std::lround(glm::degrees(std::atan2(normal.x, normal.z))));
    const int offset = static_cast<int>(std::lround(glm::dot(normal, t[0].position)));
    for (const auto& corner : t) planes[{heading, offset}].push_back(corner.position);
  }
  std::vector<Ramp> ramps;
  for (const auto& [plane, corners] : planes) {
    auto [lowest, highest] = std::minmax_element(
        corners.begin(), corners.end(), [](const auto& a, const auto& b) { return a.y < b.y; });
    glm::vec3 low(0.0f), high(0.0f);
    int lowCount = 0, highCount = 0;
    for (const glm::vec3& c : corners) {
      if (c.y < lowest->y + 0.01f) low += c, ++lowCount;
      if (c.y > highest->y - 0.01f) high += c, ++highCount;
    }
    ramps.push_back({low / float(lowCount), high / float(highCount)});
  }
  return ramps;
}

class Ramps : public testing::TestWithParam<int> {};

TEST_P(Ramps, CarryAPlayerWalkingUpThemOntoTheUpperPlatform) {
  LevelWorld level(GetParam());
  const std::vector<Ramp> ramps = rampsOf(level.solid);
  ASSERT_FALSE(ramps.empty());
  CharacterBody& player = level.world.addCharacter(
      std::make_unique<CharacterBody>(playerStartPosition, level.world, playerCapsule));
  for (const Ramp& ramp : ramps) {
    const glm::vec3 run(ramp.high.x - ramp.low.x, 0.0f, ramp.high.z - ramp.low.z);
    const glm::vec3 direction = glm::normalize(run);
    player.warp(ramp.low - direction * 3.0f + glm::vec3(0.0f, capsuleHalfHeight + 0.3f, 0.0f));
    const int steps = static_cast<int>((glm::length(run) + 6.0f) / walkPerStep);
    for (int i = 0; i < steps; ++i) {
      player.walk(direction * walkPerStep);
      level.world.step(frame);
    }
    player.walk(glm::vec3(0.0f));
    for (int i = 0; i < 30; ++i) level.world.step(frame);
    EXPECT_NEAR(player.position().y, ramp.high.y + capsuleHalfHeight, 0.3f)
        << "ramp from " << ramp.low.x << ", " << ramp.low.y << ", " << ramp.low.z;
    EXPECT_TRUE(player.onGround());
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, Ramps, testing::Values(1, 3));

/// Centres of the level's platform tops, lowest first: upward faces grouped by
/// their height, less those covered by another face (a slab's body under its top).
std::vector<glm::vec3> platformTops(const LevelWorld& level) {
  const TriangleSet& solid = level.solid;
  std::map<long, std::pair<glm::vec3, glm::vec3>> bounds;  // by height in hundredths
  for (const auto& t : solid.all()) {
    const glm::vec3 normal =
        glm::normalize(glm::cross(t[1].position - t[0].position, t[2].position - t[0].position));
    if (normal.y < 0.99f) continue;
    auto& [low, high] =
        bounds.try_emplace(std::lround(t[0].position.y * 100.0f), t[0].position, t[0].position)
            .first->second;
    for (const auto& corner : t) {
      low = glm::min(low, corner.position);
      high = glm::max(high, corner.position);
    }
  }
  std::vector<glm::vec3> tops;
  for (const auto& [height, box] : bounds) {
    const glm::vec3 centre = (box.first + box.second) / 2.0f;
    const auto seen = level.groundBelow(centre + glm::vec3(0.0f, 1.0f, 0.0f), 2.0f);
    if (seen && std::abs(*seen - centre.y) < 0.01f) tops.push_back(centre);
  }
  return tops;
}

// Each hop holds the jump for a different number of frames, which lifts the
// float's turning point and so changes where in a step its sink meets the top.
TEST(FloatJumps, CarryThePlayerFromEachPillarOntoTheNextHigherOne) {
  LevelWorld level(2);
  ManualClock clock;
  level.world.floatMode = true;
  const std::vector<glm::vec3> tops = platformTops(level);
  ASSERT_EQ(tops.size(), 6u) << "the start and five pillars";
  CharacterBody& player = level.world.addCharacter(
      std::make_unique<CharacterBody>(playerStartPosition, level.world, playerCapsule));
  auto frameTowards = [&](const glm::vec3& target) {
    const glm::vec3 away(target.x - player.position().x, 0.0f, target.z - player.position().z);
    player.walk(glm::length(away) < 1.5f ? glm::vec3(0.0f) : glm::normalize(away) * walkPerStep);
    level.world.step(frame);
    clock.advance(frame);
  };
  for (std::size_t from = 0; from + 1 < tops.size(); ++from) {
    const glm::vec3& start = tops[from];
    const glm::vec3& target = tops[from + 1];
    for (int held = 1; held <= 10; ++held) {
      const std::string hop =
          "hop " + std::to_string(from) + ", jump held " + std::to_string(held) + " frames";
      player.clearKnock();
      player.warp(start + glm::vec3(0.0f, capsuleHalfHeight + 0.3f, 0.0f));
      for (int i = 0; i < 30; ++i) frameTowards(start);
      for (int i = 0; i < held; ++i) {
        player.jump();
        frameTowards(target);
      }
      for (int i = 0; i < 900 && player.knockInProgress(); ++i) frameTowards(target);
      EXPECT_FALSE(player.knockInProgress()) << hop;
      EXPECT_TRUE(player.onGround()) << hop;
      EXPECT_NEAR(player.position().y, target.y + capsuleHalfHeight, 0.15f) << hop;
    }
  }
}

class SpawnedEnemies : public testing::TestWithParam<int> {};

TEST_P(SpawnedEnemies, FindWalkingTargetsOnTheirOwnPlatforms) {
  LevelWorld level(GetParam());
  const aiNode* spawner = level.model.node(spawnerNode);
  ASSERT_NE(spawner, nullptr);
  for (unsigned i = 0; i < spawner->mNumChildren; ++i) {
    level.expectTargetsOnPlatform(level.model.position(*spawner->mChildren[i]), level.levelBody,
                                  "spawn point " + std::to_string(i));
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, SpawnedEnemies, testing::Range(1, playableLevelCount + 1));

TEST(ElevatorWave, WalksTheLoweredElevator) {
  LevelWorld level(1);
  StaticRigidBody& elevator =
      level.world.addStaticBody(level.model.staticBody(*level.model.node(elevatorNode), false));
  const glm::vec3 lowering(0.0f, -10.0f, 0.0f);
  level.world.moveStaticBody(elevator, lowering);
  const glm::vec3 centre = level.model.position(*level.model.node(elevatorNode)) + lowering;
  // The wave lands within 10 units of the centre on each axis.
  for (const glm::vec3& offset : {glm::vec3(0, 1, 0), glm::vec3(-9, 1, -9), glm::vec3(9, 1, 9),
                                  glm::vec3(-9, 1, 9), glm::vec3(9, 1, -9)}) {
    level.expectTargetsOnPlatform(centre + offset, elevator, "wave enemy");
  }
}

TEST(Boss, WalksTheArenaFloor) {
  LevelWorld level(3);
  level.expectTargetsOnPlatform(level.model.position(*level.model.node(bigEnemyNode)),
                                level.levelBody, "the boss");
}

}  // namespace
}  // namespace Vexa::test
