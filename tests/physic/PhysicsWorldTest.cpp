#include <BulletDynamics/Character/btKinematicCharacterController.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <glm/ext/matrix_transform.hpp>

#include "physic/CharacterBody.h"
#include "physic/PhysicsScenery.h"
#include "physic/PhysicsWorld.h"

namespace Vexa::test {
namespace {

using physic::DynamicRigidBody;
using physic::StaticRigidBody;

constexpr float step = 1.0f / 60.0f;
// Centre of an enemy capsule (radius 0.8, 0.8 between the sphere centres) standing at 0.
constexpr float restingHeight = 1.2f;

class PhysicsWorldTest : public testing::Test {
 protected:
  CharacterBody& addCharacter(const glm::vec3& position) {
    return world.addCharacter(std::make_unique<CharacterBody>(position, world, playerCapsule));
  }

  StaticRigidBody& addFloor(float y = 0.0f) {
    return PhysicsScenery::addRectangles(world, {{{-20, -20}, {20, 20}, y}});
  }

  // A vertical wall across the x axis at `x`, from the floor up to 10.
  StaticRigidBody& addWall(float x) {
    const glm::mat4 upright = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(x, 0, 0)),
                                          glm::radians(90.0f), glm::vec3(0, 0, 1));
    return PhysicsScenery::addRectangles(world, {{{0, -5}, {10, 5}, 0}}, true, upright);
  }

  PhysicsWorld world;
};

TEST_F(PhysicsWorldTest, StartsEmptyWithTheGamesGravity) {
  const btVector3 gravity = world.dynamicsWorld().getGravity();
  EXPECT_EQ(gravity, btVector3(0, -40, 0));
  EXPECT_TRUE(world.staticBodies().empty());
  EXPECT_TRUE(world.dynamicBodies().empty());
  EXPECT_FALSE(world.floatMode);
  EXPECT_EQ(world.character(), nullptr);
  EXPECT_EQ(world.groundBody, nullptr);
}

// Both kinds of static body carry mass 1e11 and bear a falling enemy without
// moving, because the world only collides them.
TEST_F(PhysicsWorldTest, StaticBodiesNeverMoveWhateverTheyCarry) {
  StaticRigidBody& light = PhysicsScenery::addRectangles(world, {{{-3, -3}, {3, 3}, 0}}, false);
  StaticRigidBody& heavy = PhysicsScenery::addRectangles(world, {{{17, -3}, {23, 3}, 0}}, true);
  DynamicRigidBody& onLight = PhysicsScenery::addEnemy(world, {0, 4, 0});
  DynamicRigidBody& onHeavy = PhysicsScenery::addEnemy(world, {20, 4, 0});
  PhysicsScenery::run(world, 180);
  for (StaticRigidBody* body : {&light, &heavy}) {
    EXPECT_FLOAT_EQ(body->rigidBody().getInvMass(), 1e-11f);
    // The solver's position correction nudges even a mass of 1e11 by a hair.
    EXPECT_LT(glm::length(body->getPosition()), 1e-6f);
  }
  EXPECT_FLOAT_EQ(heavy.rigidBody().getLocalInertia().x(), 1e11f);
  EXPECT_EQ(light.rigidBody().getLocalInertia().x(), 0.0f);
  EXPECT_NEAR(onLight.getPosition().y, restingHeight, 0.1f);
  EXPECT_NEAR(onHeavy.getPosition().y, restingHeight, 0.1f);
}

TEST_F(PhysicsWorldTest, TrianglesAreCollectedInWorldSpace) {
  const glm::mat4 raised = glm::translate(glm::mat4(1.0f), glm::vec3(0, 5, 0));
  PhysicsScenery::addRectangles(world, {{{-3, -3}, {3, 3}, 0}}, true, raised);
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, 8, 0});
  PhysicsScenery::run(world, 180);
  EXPECT_NEAR(enemy.getPosition().y, 5.0f + restingHeight, 0.1f);
}

TEST_F(PhysicsWorldTest, DynamicBodyStandsUprightWithTheGamesMaterial) {
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {1, 2, 3});
  const btRigidBody& body = enemy.rigidBody();
  EXPECT_EQ(enemy.getPosition(), glm::vec3(1, 2, 3));
  EXPECT_FLOAT_EQ(body.getInvMass(), 1.0f);
  EXPECT_FLOAT_EQ(body.getFriction(), 5.0f);
  EXPECT_FLOAT_EQ(body.getRestitution(), 1.3f);
  EXPECT_EQ(body.getAngularFactor(), btVector3(0, 0, 0));
  EXPECT_EQ(body.getGravity(), btVector3(0, -40, 0));
  EXPECT_FALSE(enemy.hit);
}

TEST_F(PhysicsWorldTest, HitThrowsTheBodyAlongTheUnnormalisedDirection) {
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, 10, 0});
  enemy.rigidBody().setAngularVelocity(btVector3(1, 2, 3));
  const glm::vec3 direction = glm::vec3(0.6f, 0.0f, 0.8f) * 1.2f;
  enemy.applyHit(20.0f, direction);
  const btVector3 velocity = enemy.rigidBody().getLinearVelocity();
  EXPECT_NEAR(velocity.length(), 24.0f, 1e-4f);
  EXPECT_NEAR(velocity.x(), 14.4f, 1e-4f);
  EXPECT_EQ(enemy.rigidBody().getAngularVelocity(), btVector3(0, 0, 0));
  EXPECT_EQ(enemy.rigidBody().getAngularFactor(), btVector3(0.3f, 0.3f, 0.3f));
  EXPECT_TRUE(enemy.hit);
}

// Level geometry is Bullet's fixed ground, so resting enemies do not share one
// island through it and fall asleep; a hit wakes the one it throws, and that one
// wakes the next it runs into.
TEST_F(PhysicsWorldTest, EnemiesRestingOnLevelGeometrySleepUntilHitOrRunInto) {
  addFloor();
  DynamicRigidBody& thrown = PhysicsScenery::addEnemy(world, {0, restingHeight, 0});
  DynamicRigidBody& struck = PhysicsScenery::addEnemy(world, {5, restingHeight, 0});
  PhysicsScenery::run(world, 300);
  ASSERT_FALSE(thrown.rigidBody().isActive());
  ASSERT_FALSE(struck.rigidBody().isActive());

  thrown.applyHit(20.0f, {1, 0, 0});
  PhysicsScenery::run(world, 30);
  EXPECT_GT(struck.getPosition().x, 5.5f);
}

TEST_F(PhysicsWorldTest, PickingFindsTheEnemyOnTheAimingRayOnly) {
  addCharacter({0, 0, 0});
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {4, 0.5f, 0});
  const glm::vec3 facingPositiveX(-1, 0, 0);  // points back to the eye
  EXPECT_EQ(world.pickDynamicBody(facingPositiveX), &enemy);
  EXPECT_EQ(world.pickDynamicBody(-facingPositiveX), nullptr) << "behind the player";
  EXPECT_EQ(world.pickDynamicBody({0, 0, 1}), nullptr) << "to the side";
  enemy.hit = true;
  EXPECT_EQ(world.pickDynamicBody(facingPositiveX), nullptr) << "already hit";
}

TEST_F(PhysicsWorldTest, PickingIsBlockedByLevelGeometryAndOutOfReach) {
  addCharacter({0, 0, 0});
  PhysicsScenery::addEnemy(world, {4, 0.5f, 0});
  PhysicsScenery::addEnemy(world, {0, 0.5f, 7});
  addWall(2.5f);
  EXPECT_EQ(world.pickDynamicBody({-1, 0, 0}), nullptr) << "behind the wall";
  EXPECT_EQ(world.pickDynamicBody({0, 0, -1}), nullptr) << "beyond 5.5 units";
}

TEST_F(PhysicsWorldTest, PickingWithoutCharacterFindsNothing) {
  PhysicsScenery::addEnemy(world, {0, 0.5f, 2});
  EXPECT_EQ(world.pickDynamicBody({0, 0, -1}), nullptr);
}

TEST_F(PhysicsWorldTest, TouchingOnlyTheOwnGroundIsNotBlocked) {
  StaticRigidBody& ground = addFloor();
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, restingHeight, 0});
  PhysicsScenery::run(world, 120);
  EXPECT_FALSE(world.touchesOtherThan(enemy, &ground));
}

TEST_F(PhysicsWorldTest, PenetratingAnythingElseBlocks) {
  StaticRigidBody& ground = addFloor();
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, restingHeight, 0});
  PhysicsScenery::run(world, 30);
  ASSERT_FALSE(world.touchesOtherThan(enemy, &ground));

  DynamicRigidBody& other = PhysicsScenery::addEnemy(world, {1.2f, restingHeight, 0});
  world.step(step);
  EXPECT_TRUE(world.touchesOtherThan(enemy, &ground)) << "another enemy";
  EXPECT_TRUE(world.touchesOtherThan(other, &ground));
  EXPECT_TRUE(world.touchesOtherThan(enemy, nullptr)) << "a level without ground";
}

TEST_F(PhysicsWorldTest, PenetratingAnotherStaticBodyOrThePlayerBlocks) {
  StaticRigidBody& ground = addFloor();
  DynamicRigidBody& byWall = PhysicsScenery::addEnemy(world, {5, restingHeight, 0});
  DynamicRigidBody& byPlayer = PhysicsScenery::addEnemy(world, {-4, restingHeight, 0});
  addWall(5.6f);
  addCharacter({-6.5f, 3.0f, 0});
  world.step(step);
  EXPECT_TRUE(world.touchesOtherThan(byWall, &ground));
  EXPECT_TRUE(world.touchesOtherThan(byPlayer, &ground));
}

// The elevator of level 1 and the doors of level 3 move as static bodies; whatever
// rests on them must come along in the very next step, even when asleep.
class MovingStaticBodyTest : public PhysicsWorldTest {
 protected:
  MovingStaticBodyTest()
      : elevator(PhysicsScenery::addRectangles(world, {{{-10, -10}, {10, 10}, 0}}, false)) {
    // The elevator event turns the body into a true static body before it rises.
    elevator.rigidBody().setMassProps(0.0f, btVector3(0, 0, 0));
  }

  StaticRigidBody& elevator;
};

TEST_F(MovingStaticBodyTest, CarriesASleepingBodyInTheNextStep) {
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, 1, 0});
  PhysicsScenery::run(world, 300);
  ASSERT_EQ(enemy.rigidBody().getActivationState(), ISLAND_SLEEPING);
  const float restingY = enemy.getPosition().y;

  world.moveStaticBody(elevator, {0, 0.2f, 0});
  EXPECT_EQ(elevator.getPosition(), glm::vec3(0, 0.2f, 0));
  world.step(step);
  EXPECT_GT(enemy.getPosition().y, restingY + 0.02f) << "woken and pushed up at once";
  PhysicsScenery::run(world, 30);
  EXPECT_NEAR(enemy.getPosition().y, restingY + 0.2f, 0.05f);
}

TEST_F(MovingStaticBodyTest, CarriesTheCharacterInTheNextStep) {
  CharacterBody& character = addCharacter({0, 3, 0});
  PhysicsScenery::run(world, 60);
  const float standingY = character.position().y;

  world.moveStaticBody(elevator, {0, 0.2f, 0});
  world.step(step);
  EXPECT_GT(character.position().y, standingY + 0.1f);
}

TEST_F(MovingStaticBodyTest, WakesABodyItSlidesInto) {
  addFloor(-0.01f).rigidBody().setMassProps(0.0f, btVector3(0, 0, 0));
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {12, 1, 0});
  PhysicsScenery::run(world, 300);
  ASSERT_EQ(enemy.rigidBody().getActivationState(), ISLAND_SLEEPING);
  world.moveStaticBody(elevator, {2.5f, 0.5f, 0});
  EXPECT_TRUE(enemy.rigidBody().isActive());
}

TEST_F(PhysicsWorldTest, RemovingAllBodiesEmptiesTheBulletWorldButKeepsTheBodies) {
  addFloor();
  PhysicsScenery::addEnemy(world, {0, 2, 0});
  addCharacter({5, 3, 0});
  world.removeAllBodies();
  EXPECT_EQ(world.dynamicsWorld().getNumCollisionObjects(), 0);
  EXPECT_EQ(world.staticBodies().size(), 1u);
  EXPECT_EQ(world.dynamicBodies().size(), 1u);
  EXPECT_NE(world.character(), nullptr);
  world.step(step);
}

TEST_F(PhysicsWorldTest, ReplacingAnEnemysShapeResizesItsBody) {
  addFloor();
  DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {0, 2, 0});
  PhysicsScenery::run(world, 60);
  enemy.replaceShape(std::make_unique<btCapsuleShape>(2.0f, 2.0f));
  PhysicsScenery::run(world, 120);
  EXPECT_NEAR(enemy.getPosition().y, 3.0f, 0.15f);
}

}  // namespace
}  // namespace Vexa::test
