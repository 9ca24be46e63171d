#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "physic/PhysicsScenery.h"
#include "physic/PlatformNavigator.h"
#include "platform/Geometry.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using physic::StaticRigidBody;

// Enemies stand a little above their platform; the navigator's probes reach 8 below.
constexpr float standHeight = 0.8f;

float headingDegrees(const glm::vec3& from, const glm::vec3& to) {
  const float degrees = glm::degrees(std::atan2(to.z - from.z, to.x - from.x));
  return degrees < 0.0f ? degrees + 360.0f : degrees;
}

class PlatformNavigatorTest : public testing::Test {
 protected:
  glm::vec3 nextTarget(const glm::vec3& position, const StaticRigidBody* platform) {
    return navigator.nextTarget(position, platform);
  }

  FixedCalendar calendar{1700000000};
  PhysicsWorld world;
  PlatformNavigator navigator{world};
};

// Ground all around: one run of 360° and a random whole-degree heading. On a disc
// of radius 9 the march stops where the ground ends and pulls back 4 units, so
// the target lies about 5 units out; re-aiming at the middle of the disc's width
// six units out may turn the heading by the half-unit step of that search.
TEST_F(PlatformNavigatorTest, GroundAllAroundGivesAWholeDegreeHeadingAboutFiveUnitsOut) {
  const StaticRigidBody& disc = PhysicsScenery::addDisc(world, {0, 0, 0}, 9.0f);
  const glm::vec3 position(0, standHeight, 0);
  for (std::time_t second = 1700000000; second < 1700000008; ++second) {
    calendar.second = second;
    std::srand(static_cast<unsigned>(second));
    const float heading = static_cast<float>(std::rand() % 360);
    const glm::vec3 target = nextTarget(position, &disc);
    EXPECT_NEAR(horizontalDistance(position, target), 5.0f, 0.2f) << "second " << second;
    const float off = std::remainder(headingDegrees(position, target) - heading, 360.0f);
    EXPECT_NEAR(off, 0.0f, 2.5f) << "second " << second;
    EXPECT_NEAR(target.y, position.y, 0.01f);
  }
}

TEST_F(PlatformNavigatorTest, ALongHeadingEndsFourUnitsShortOfTheEdge) {
  const StaticRigidBody& wide = PhysicsScenery::addRectangles(world, {{{-40, -40}, {40, 40}, 0}});
  const glm::vec3 position(0, standHeight, 0);
  const glm::vec3 target = nextTarget(position, &wide);
  const glm::vec3 direction = glm::normalize(target - position);
  // Where the heading leaves the square.
  const float toEdge = 40.0f / std::max(std::abs(direction.x), std::abs(direction.z));
  EXPECT_NEAR(horizontalDistance(position, target), toEdge - 4.0f, 0.3f);
}

TEST_F(PlatformNavigatorTest, TwoCallsInTheSameSecondAgree) {
  const StaticRigidBody& wide = PhysicsScenery::addRectangles(world, {{{-40, -40}, {40, 40}, 0}});
  const glm::vec3 position(3, standHeight, -2);
  const glm::vec3 first = nextTarget(position, &wide);
  std::rand();  // whatever else drew in between
  EXPECT_EQ(nextTarget(position, &wide), first);
  calendar.second += 1;
  EXPECT_NE(nextTarget(position, &wide), first);
}

// Cases where the enemy has to stand still.
TEST_F(PlatformNavigatorTest, StaysWithoutASuitableHeading) {
  const glm::vec3 position(0, standHeight, 0);
  EXPECT_EQ(nextTarget(position, nullptr), position) << "no platform";

  const StaticRigidBody& elsewhere = PhysicsScenery::addDisc(world, {50, 0, 0}, 5.0f);
  EXPECT_EQ(nextTarget(position, &elsewhere), position) << "no ground around";

  const StaticRigidBody& sliver =
      PhysicsScenery::addSector(world, {0, 0, 0}, 2.0f, 12.0f, 33.0f, 47.0f);
  EXPECT_EQ(nextTarget(position, &sliver), position) << "ground over only 15 degrees";
}

TEST_F(PlatformNavigatorTest, GroundCoveredByAnotherBodyIsNoGround) {
  const StaticRigidBody& platform = PhysicsScenery::addDisc(world, {0, 0, 0}, 9.0f);
  // Probes rise from 8 below: a second platform 3 units down, covering all but the
  // sector from -32° to 32°, stops them before they reach the enemy's own.
  PhysicsScenery::addSector(world, {0, -3, 0}, 0.0f, 12.0f, 32.0f, 328.0f);
  const glm::vec3 position(0, standHeight, 0);
  for (std::time_t second = 1700000000; second < 1700000005; ++second) {
    calendar.second = second;
    const glm::vec3 target = nextTarget(position, &platform);
    const float heading = std::remainder(headingDegrees(position, target), 360.0f);
    EXPECT_LT(std::abs(heading), 31.0f) << "second " << second;
  }
}

// Of two arms, the short one ends within 5 units: whatever the draw, the enemy
// heads down the long arm.
TEST_F(PlatformNavigatorTest, DropsAHeadingThatLeavesThePlatformWithinFiveUnits) {
  const StaticRigidBody& arms = PhysicsScenery::addRectangles(
      world,
      {{{-2.5f, -2.5f}, {2.5f, 2.5f}, 0}, {{2.5f, -3}, {30, 3}, 0}, {{-4.6f, -3}, {-2.5f, 3}, 0}});
  const glm::vec3 position(0, standHeight, 0);
  for (std::time_t second = 1700000000; second < 1700000012; ++second) {
    calendar.second = second;
    const glm::vec3 target = nextTarget(position, &arms);
    EXPECT_GT(target.x, 10.0f) << "second " << second;
    EXPECT_LT(std::abs(target.z), 3.0f) << "second " << second;
  }
}

bool onLShape(const glm::vec3& p) {
  const bool inLongLeg = p.x >= 0 && p.x <= 40 && p.z >= 0 && p.z <= 12;
  const bool inShortLeg = p.x >= 0 && p.x <= 12 && p.z >= 0 && p.z <= 40;
  return inLongLeg || inShortLeg;
}

// The enemy walks to every target it is given, a new calendar second each time;
// the walk never leaves the platform.
TEST_F(PlatformNavigatorTest, TargetsOnAnLShapedPlatformNeverLeadOff) {
  const StaticRigidBody& shape =
      PhysicsScenery::addRectangles(world, {{{0, 0}, {40, 12}, 0}, {{0, 12}, {12, 40}, 0}});
  physic::DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {6, standHeight, 6});
  int moves = 0;
  for (int walk = 0; walk < 60; ++walk) {
    calendar.second += 1;
    const glm::vec3 from = enemy.getPosition();
    const glm::vec3 target = nextTarget(from, &shape);
    ASSERT_TRUE(onLShape(target)) << "walk " << walk << " to " << target.x << ", " << target.z;
    for (float t = 0.1f; t <= 1.0f; t += 0.1f)
      ASSERT_TRUE(onLShape(from + (target - from) * t)) << "walk " << walk;
    if (target != from) ++moves;
    btTransform placed = enemy.rigidBody().getWorldTransform();
    placed.setOrigin(btVector3(target.x, target.y, target.z));
    enemy.rigidBody().setWorldTransform(placed);
    world.step(1.0f / 60.0f);
  }
  EXPECT_GT(moves, 50);
}

}  // namespace
}  // namespace Vexa::test
