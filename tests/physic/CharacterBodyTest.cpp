#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletDynamics/Character/btKinematicCharacterController.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>

#include "physic/CharacterBody.h"
#include "physic/PhysicsScenery.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using physic::DynamicRigidBody;

constexpr float frame = 1.0f / 60.0f;
// Capsule centre of a player standing on the floor at height 0.
const float standingHeight = static_cast<float>(playerCapsule.standingHeight());

// A player on a wide floor, driven frame by frame as the game drives it: the walk
// request, then one physics step, with the game clock moving in step.
class CharacterBodyTest : public testing::Test {
 protected:
  CharacterBodyTest() {
    PhysicsScenery::addRectangles(world, {{{-200, -200}, {200, 200}, 0}});
    character = &world.addCharacter(
        std::make_unique<CharacterBody>(glm::vec3(0, 3, 0), world, playerCapsule));
    for (int i = 0; i < 30; ++i) frameWith(glm::vec3(0.0f));
  }

  void frameWith(const glm::vec3& walk) {
    character->walk(walk);
    world.step(frame);
    clock.advance(frame);
  }

  btVector3 gravity() const { return character->characterController().getGravity(); }
  float verticalSpeed() const { return character->characterController().getLinearVelocity().y(); }

  ManualClock clock;
  PhysicsWorld world;
  CharacterBody* character = nullptr;
};

TEST_F(CharacterBodyTest, StandsOnTheFloorWithBulletsDefaults) {
  EXPECT_TRUE(character->onGround());
  EXPECT_NEAR(character->position().y, standingHeight, 0.05f);
  const btKinematicCharacterController& controller = character->characterController();
  EXPECT_FLOAT_EQ(controller.getJumpSpeed(), 17.0f);
  EXPECT_FLOAT_EQ(controller.getFallSpeed(), 55.0f);
  EXPECT_NEAR(controller.getGravity().y(), -29.4f, 1e-4f);
  EXPECT_EQ(character->ghostObject().getCollisionFlags(), btCollisionObject::CF_CHARACTER_OBJECT);
}

TEST_F(CharacterBodyTest, WalksEighteenUnitsPerSecondOnTheGround) {
  const glm::vec3 start = character->position();
  for (int i = 0; i < 60; ++i) frameWith({0.3f, 0, 0});
  EXPECT_NEAR(character->position().x - start.x, 18.0f, 0.1f);
  EXPECT_NEAR(character->position().y, start.y, 0.01f);
  EXPECT_TRUE(character->isMoving());
  frameWith(glm::vec3(0.0f));
  EXPECT_FALSE(character->isMoving());
}

TEST_F(CharacterBodyTest, SteersLessInTheAirAndMoreWhileFloating) {
  character->warp({0, 100, 0});
  for (int i = 0; i < 5; ++i) frameWith(glm::vec3(0.0f));
  ASSERT_FALSE(character->onGround());
  float x = character->position().x;
  frameWith({0.3f, 0, 0});
  EXPECT_NEAR(character->position().x - x, 0.27f, 1e-3f);

  world.floatMode = true;
  x = character->position().x;
  frameWith({0.3f, 0, 0});
  EXPECT_NEAR(character->position().x - x, 0.75f, 1e-3f);
}

TEST_F(CharacterBodyTest, JumpsAboutFiveUnitsHighAndLandsAgain) {
  character->jump();
  float peak = character->position().y;
  for (int i = 0; i < 120; ++i) {
    frameWith(glm::vec3(0.0f));
    peak = std::max(peak, character->position().y);
  }
  // 17² / (2 · 29.4) = 4.9 in continuous time; the fixed steps lose a little.
  EXPECT_NEAR(peak - standingHeight, 4.7f, 0.3f);
  EXPECT_TRUE(character->onGround());
  EXPECT_NEAR(character->position().y, standingHeight, 0.05f);
}

// Bullet's onGround means "no vertical speed" rather than "standing". A normal jump
// at 60 steps a second never passes exactly through zero speed, so no frame of it
// counts as standing; a float's near-zero gravity does count as standing for its
// first frames in the air, so contact handling and footsteps run there.
TEST_F(CharacterBodyTest, OnGroundMeansNoVerticalSpeed) {
  auto framesOnGroundInTheAir = [this] {
    int frames = 0;
    for (int i = 0; i < 120; ++i) {
      frameWith(glm::vec3(0.0f));
      if (character->onGround() && character->position().y > standingHeight + 0.5f) ++frames;
    }
    return frames;
  };
  character->jump();
  EXPECT_EQ(framesOnGroundInTheAir(), 0);
  world.floatMode = true;
  character->jump();
  EXPECT_GT(framesOnGroundInTheAir(), 0);
}

TEST_F(CharacterBodyTest, ContactKnockBackDecaysAndEndsOnTheGroundAfterASecond) {
  character->knockBack({0, 1, 0});
  EXPECT_EQ(character->knock(), glm::vec3(0, 1.5f, 0));
  EXPECT_EQ(gravity(), btVector3(0, -40, 0));

  const float before = character->position().y;
  frameWith(glm::vec3(0.0f));
  EXPECT_NEAR(character->position().y - before, 1.5f, 0.05f) << "full push at contact";
  clock.advance(0.5 - frame);
  const float halfway = character->position().y;
  frameWith(glm::vec3(0.0f));
  EXPECT_NEAR(character->position().y - halfway, 1.5f * std::exp(-0.25f) - 40.0f / 3600, 0.15f);

  double endedAt = 0.0;
  for (int i = 0; i < 600 && character->knockInProgress(); ++i) {
    frameWith(glm::vec3(0.0f));
    endedAt = clock.seconds;
  }
  EXPECT_FALSE(character->knockInProgress());
  EXPECT_GT(endedAt, 1.0);
  EXPECT_TRUE(character->onGround());
  EXPECT_EQ(character->knock(), glm::vec3(0.0f));
  EXPECT_EQ(gravity(), btVector3(0, -40, 0));
}

TEST_F(CharacterBodyTest, AKnockedBackPlayerCannotJump) {
  character->knockBack({1, 0, 0});
  character->jump();
  EXPECT_FLOAT_EQ(verticalSpeed(), 0.0f);
  character->clearKnock();
  character->jump();
  EXPECT_FLOAT_EQ(verticalSpeed(), 17.0f);
}

TEST_F(CharacterBodyTest, AKnockAtTheClocksStartIsStillAKnock) {
  clock.seconds = 0.0;
  character->knockBack({0, 1, 0});
  EXPECT_TRUE(character->knockInProgress());
  character->jump();
  EXPECT_FLOAT_EQ(verticalSpeed(), 0.0f);
}

TEST_F(CharacterBodyTest, FloatJumpRisesStopsAtOneAndAHalfSecondsThenSinks) {
  world.floatMode = true;
  const double start = clock.seconds;
  character->jump();
  EXPECT_EQ(gravity().y(), -1.0e-6f);
  float previous = character->position().y;
  frameWith(glm::vec3(0.0f));
  EXPECT_NEAR(character->position().y - previous, 1.0f - std::exp(-2.25f), 0.01f);

  while (clock.seconds - start < 1.5 - frame / 2) frameWith(glm::vec3(0.0f));
  previous = character->position().y;
  frameWith(glm::vec3(0.0f));
  EXPECT_NEAR(character->position().y, previous, 0.01f) << "hanging at 1.5 s";
  frameWith(glm::vec3(0.0f));
  EXPECT_LT(character->position().y, previous) << "sinking after";

  for (int i = 0; i < 600 && character->knockInProgress(); ++i) frameWith(glm::vec3(0.0f));
  EXPECT_FALSE(character->knockInProgress());
  EXPECT_GT(clock.seconds - start, 2.5);
  EXPECT_NEAR(character->position().y, standingHeight, 0.05f);
  EXPECT_EQ(gravity(), btVector3(0, -40, 0));
}

// A float retraces its rise on the way down, so one started from the ground lands
// exactly. Restarting it in the air, while it rises, hangs or sinks, leaves it to
// sink onto the ground from any height, meeting it at any fraction of a step.
// Like a level's geometry, the ground is one body whose bounds reach above the
// player, so that the controller's sweeps see it all the way down.
TEST_F(CharacterBodyTest, EveryFloatEndsStandingOnTheGround) {
  const float top = 10.0f;
  PhysicsScenery::addRectangles(world,
                                {{{-40, -40}, {40, 40}, top}, {{150, 150}, {151, 151}, 200}});
  world.floatMode = true;
  for (int restartAfter = 3; restartAfter <= 150; restartAfter += 3) {
    character->clearKnock();
    character->warp({0, top + standingHeight + 0.2f, 0});
    for (int i = 0; i < 10; ++i) frameWith(glm::vec3(0.0f));
    const glm::vec3 steer(restartAfter % 2 == 0 ? 0.04f : -0.04f, 0.0f, 0.0f);
    character->jump();
    for (int i = 0; i < restartAfter; ++i) frameWith(steer);
    character->jump();
    for (int i = 0; i < 600 && character->knockInProgress(); ++i) frameWith(steer);
    EXPECT_FALSE(character->knockInProgress()) << "float restarted after " << restartAfter;
    EXPECT_TRUE(character->onGround()) << "float restarted after " << restartAfter;
    EXPECT_NEAR(character->position().y, top + standingHeight, 0.05f)
        << "float restarted after " << restartAfter;
  }
}

// Bullet's fall speed (55 per second) does not hold a float back: two seconds past
// its turning point it sinks 1 - e^-4 per step, as fast as it rose at the start.
TEST_F(CharacterBodyTest, ALongFloatSinksFasterThanBulletsFallSpeed) {
  world.floatMode = true;
  character->warp({0, 300, 0});
  const double start = clock.seconds;
  character->jump();
  while (clock.seconds - start < 3.5 - frame / 2) frameWith(glm::vec3(0.0f));
  const float before = character->position().y;
  frameWith(glm::vec3(0.0f));
  EXPECT_NEAR(before - character->position().y, 1.0f - std::exp(-4.0f), 0.01f);
}

TEST_F(CharacterBodyTest, HoldingJumpInFloatModeKeepsRisingAtTheStartingRate) {
  world.floatMode = true;
  for (int i = 0; i < 90; ++i) {
    const float before = character->position().y;
    character->jump();
    frameWith(glm::vec3(0.0f));
    ASSERT_NEAR(character->position().y - before, 0.895f, 0.01f) << "frame " << i;
  }
}

// Bullet's reset clears the vertical speed: a player respawned mid-fall starts at rest.
TEST_F(CharacterBodyTest, WarpPlacesTheCapsuleAndStopsItsFall) {
  character->warp({0, 200, 0});
  for (int i = 0; i < 60; ++i) frameWith({0.3f, 0, 0});
  ASSERT_LT(verticalSpeed(), -20.0f);
  character->warp({10, 50, 10});
  EXPECT_EQ(character->position(), glm::vec3(10, 50, 10));
  world.step(frame);
  EXPECT_EQ(character->position().x, 10.0f) << "the walk was stopped";
  EXPECT_NEAR(character->position().y, 50.0f, 0.05f);
}

TEST_F(CharacterBodyTest, ARespawnInMidFloatFallsToTheGroundAgain) {
  world.floatMode = true;
  character->jump();
  for (int i = 0; i < 30; ++i) frameWith(glm::vec3(0.0f));
  character->clearKnock();
  character->warp({0, 20, 0});
  for (int i = 0; i < 120; ++i) frameWith(glm::vec3(0.0f));
  EXPECT_TRUE(character->onGround());
  EXPECT_NEAR(character->position().y, standingHeight, 0.05f);
  EXPECT_EQ(gravity(), btVector3(0, -40, 0));
}

class PlayerContactTest : public CharacterBodyTest {
 protected:
  PlayerContactTest() : enemy(PhysicsScenery::addEnemy(world, {2.5f, 0.8f, 0})) {
    world.step(frame);
  }

  DynamicRigidBody& enemy;
};

TEST_F(PlayerContactTest, NormalContactKnocksThePlayerBackAndSparesTheEnemy) {
  EXPECT_FALSE(world.resolvePlayerContacts(*character));
  EXPECT_TRUE(character->knockInProgress());
  EXPECT_NEAR(std::abs(character->knock().x), 0.2f, 0.05f) << "pushed along the contact normal";
  EXPECT_GT(character->knock().y, 0.4f);
  EXPECT_FALSE(enemy.hit);
}

TEST_F(PlayerContactTest, FloatContactBowlsTheEnemyOverOnce) {
  world.floatMode = true;
  ASSERT_TRUE(world.resolvePlayerContacts(*character));
  EXPECT_TRUE(enemy.hit);
  EXPECT_FALSE(character->knockInProgress());
  const btVector3 thrown = enemy.rigidBody().getLinearVelocity();
  EXPECT_GT(thrown.length(), 30.0f);
  EXPECT_FALSE(world.resolvePlayerContacts(*character));
  EXPECT_EQ(enemy.rigidBody().getLinearVelocity(), thrown);
}

TEST_F(PlayerContactTest, NoEnemyInReachMeansNoContact) {
  enemy.rigidBody().translate(btVector3(20, 0, 0));
  world.step(frame);
  EXPECT_FALSE(world.resolvePlayerContacts(*character));
  EXPECT_FALSE(character->knockInProgress());
}

}  // namespace
}  // namespace Vexa::test
