// The enemies on a real physics world, sound system and GL context, with their real
// models, and the clock and the calendar pinned.

#include <btBulletDynamicsCommon.h>

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

#include "animation/Animation.h"
#include "audio/SoundSystem.h"
#include "physic/BulletConversions.h"
#include "physic/PhysicsScenery.h"
#include "platform/Geometry.h"
#include "render/ShaderProgram.h"
#include "scene/mesh/Jumper.h"
#include "scene/mesh/Roller.h"
#include "scene/mesh/Walker.h"
#include "support/GlTest.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using scene::mesh::Enemy;
using scene::mesh::EnemyState;
using scene::mesh::Jumper;
using scene::mesh::Roller;
using scene::mesh::Walker;

const glm::mat4 identity(1.0f);
constexpr double frameTime = 1.0 / 60.0;
/// Where the capsule of an enemy at scale 0.5 rests on the ground at 0: its radius
/// and its height are both the scaled body size.
constexpr float restingHeight = static_cast<float>(1.5 * Enemy::bodySize * 0.5);

/// The first calendar second from 1700000000 on whose draw out of 101 is below
/// `bound`: in it every idle enemy starts walking (below 90), or every walk cycle
/// stops (below 5).
std::time_t secondDrawingBelow(int bound) {
  for (std::time_t second = 1700000000;; ++second) {
    std::srand(static_cast<unsigned>(second));
    if (std::rand() % 101 < bound) return second;
  }
}

glm::vec3 horizontal(const glm::vec3& v) {
  return {v.x, 0.0f, v.z};
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class EnemyTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    program =
        std::make_unique<ShaderProgram>("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
    shadowProgram = std::make_unique<ShaderProgram>("Shader/shadow_map_shader_animations.vert",
                                                    "Shader/shadow_map_shader_animations_VSM.frag");
    sounds = std::make_unique<SoundSystem>(SoundSystem::Output::Discarded);
    world.groundBody = &PhysicsScenery::addRectangles(world, {{{-40, -40}, {40, 40}, 0}});
  }

  void TearDown() override {
    enemies.clear();
    sounds.reset();
    program.reset();
    shadowProgram.reset();
    GlTest::TearDown();
  }

  template <class Kind, class... Extra>
  Kind& spawn(const glm::vec3& position, Extra... extra) {
    auto enemy = std::make_unique<Kind>(program.get(), shadowProgram.get(), sounds.get(), &world,
                                        false, extra...);
    Kind& spawned = *enemy;
    spawned.createBody(position);
    enemies.push_back(std::move(enemy));
    return spawned;
  }

  static void update(Enemy& enemy) { enemy.updateWithoutCamera(frameTime, identity); }

  /// Frames of 1/60 s, without physics, until `enemy` is in `state`.
  void runUntil(Enemy& enemy, EnemyState state) {
    for (int frame = 0; frame < 6000 && enemy.state() != state; ++frame) {
      clock.advance(frameTime);
      update(enemy);
    }
    ASSERT_EQ(enemy.state(), state);
  }

  static glm::vec3 velocityOf(const Enemy& enemy) {
    return physic::toGlm(enemy.body()->rigidBody().getLinearVelocity());
  }

  static void moveBody(Enemy& enemy, const glm::vec3& position) {
    btTransform placed = enemy.body()->rigidBody().getWorldTransform();
    placed.setOrigin(physic::toBullet(position));
    enemy.body()->rigidBody().setWorldTransform(placed);
  }

  ManualClock clock;
  FixedCalendar calendar{secondDrawingBelow(90)};
  PhysicsWorld world;
  std::unique_ptr<ShaderProgram> program;
  std::unique_ptr<ShaderProgram> shadowProgram;
  std::unique_ptr<SoundSystem> sounds;
  std::vector<std::unique_ptr<Enemy>> enemies;
};

// The model stands along its z axis, faces -y and is 4.4 units tall; at scale 0.5
// its feet are 1.1 below the body's centre.
TEST_F(EnemyTest, TheModelStandsBelowTheBodyAndTurnsWithItOnlyWhileTumbling) {
  Walker& walker = spawn<Walker>(glm::vec3(2.0f, restingHeight, 3.0f), false);
  const auto feet = [&] { return glm::vec3(walker.localMatrix[3]); };
  const auto up = [&] { return glm::vec3(walker.localMatrix * glm::vec4(0, 0, 1, 0)); };
  const auto facing = [&] { return glm::vec3(walker.localMatrix * glm::vec4(0, -1, 0, 0)); };

  update(walker);
  expectNear(feet(), {2.0f, 0.1f, 3.0f});
  expectNear(up(), {0.0f, 0.5f, 0.0f});
  expectNear(facing(), {0.0f, 0.0f, 0.5f});
  walker.modelYaw = 90.0f;
  update(walker);
  expectNear(facing(), {0.5f, 0.0f, 0.0f});

  // Struck: the model's origin moves to the body's centre and the model turns with
  // the body, here a quarter turn forwards about x.
  walker.body()->applyHit(20.0f, {0.0f, 0.0f, 1.0f});
  update(walker);
  ASSERT_EQ(walker.state(), EnemyState::Hit);
  expectNear(feet(), {2.0f, restingHeight, 3.0f});
  btRigidBody& body = walker.body()->rigidBody();
  body.getWorldTransform().setRotation(btQuaternion(btVector3(1, 0, 0), pi / 2));
  update(walker);
  expectNear(up(), {0.0f, 0.0f, 0.5f});
  expectNear(facing(), {0.5f, 0.0f, 0.0f});  // a turn about the heading leaves it
  expectNear(feet(), {2.0f, restingHeight, 3.0f});

  // Slower than 4 units a second it stands up where it is, upright again.
  body.setLinearVelocity(btVector3(3.9f, 0.0f, 0.0f));
  update(walker);
  EXPECT_EQ(walker.state(), EnemyState::Idle);
  EXPECT_FALSE(walker.body()->hit);
  expectNear(up(), {0.0f, 0.5f, 0.0f});
  expectNear(feet(), {2.0f, 0.1f, 3.0f});
  body.applyTorqueImpulse(btVector3(5, 5, 5));
  EXPECT_EQ(body.getAngularVelocity(), btVector3(0, 0, 0)) << "its rotation is locked again";
}

// Each walk cycle restarts the pace: the Walker starts at the base speed and slows
// first, swinging between 0 and 6 every 2π / 7.5 s; the Jumper moves in bursts of
// 3 sin(3.3 t + 0.9π) while that is positive.
TEST_F(EnemyTest, WalkersAndJumpersPaceTheirWalkByTheTimeInTheirState) {
  Walker& walker = spawn<Walker>(glm::vec3(-5.0f, restingHeight, 0.0f), false);
  Jumper& jumper = spawn<Jumper>(glm::vec3(5.0f, restingHeight, 0.0f));
  clock.seconds = 10.0;
  update(walker);  // its first segment starts the state now
  update(jumper);
  const double period = 2.0 * pi / 7.5;
  const std::pair<double, float> walkerPaces[] = {
      {0.0, 3.0f}, {period / 4.0, 0.0f}, {period / 2.0, 3.0f}, {period * 3.0 / 4.0, 6.0f}};
  for (const auto& [t, speed] : walkerPaces) {
    clock.seconds = 10.0 + t;
    EXPECT_NEAR(walker.walkSpeed(Enemy::speedSetting, 1.0f), speed, 1e-4f) << t;
  }
  const double jumperPeak = (2.5 * pi - 0.9 * pi) / 3.3;
  const std::pair<double, float> jumperPaces[] = {
      {0.0, 3.0f * std::sin(0.9f * pi)}, {0.5, 0.0f}, {jumperPeak, 3.0f}, {1.0, 0.0f}};
  for (const auto& [t, speed] : jumperPaces) {
    clock.seconds = 10.0 + t;
    EXPECT_NEAR(jumper.walkSpeed(Enemy::speedSetting, 1.0f), speed, 1e-4f) << t;
  }
  clock.seconds = 10.05;
  EXPECT_LT(walker.walkSpeed(Enemy::speedSetting, 1.0f), 3.0f) << "the pace falls first";
  EXPECT_EQ(walker.walkSpeed(Enemy::speedSetting, 2.0f),
            2.0f * walker.walkSpeed(Enemy::speedSetting, 1.0f));
}

TEST_F(EnemyTest, TheRollerRollsOnlyAfterTheFirstEightTenthsOfASecondOfItsStart) {
  Roller& roller = spawn<Roller>(glm::vec3(0.0f, restingHeight, 0.0f));
  runUntil(roller, EnemyState::StartWalking);
  const double start = roller.animation()->startTime();
  for (double age = 0.0; age <= 0.8; age += 0.1) {
    clock.seconds = start + age;
    update(roller);
    EXPECT_EQ(velocityOf(roller), glm::vec3(0.0f)) << age;
  }
  clock.seconds = start + 0.85;
  update(roller);
  EXPECT_EQ(roller.state(), EnemyState::StartWalking);
  EXPECT_NEAR(glm::length(horizontal(velocityOf(roller))), 3.0f, 1e-4f);
  const glm::vec3 toTarget = glm::normalize(horizontal(roller.target() - roller.position()));
  expectNear(glm::normalize(velocityOf(roller)), toTarget);
}

TEST_F(EnemyTest, AnEnemyAsleepOnItsPlatformWakesAsItsWalkBegins) {
  Walker& walker = spawn<Walker>(glm::vec3(0.0f, restingHeight, 0.0f), false);
  PhysicsScenery::run(world, 300);
  ASSERT_FALSE(walker.body()->rigidBody().isActive());
  const glm::vec3 resting = walker.position();
  runUntil(walker, EnemyState::Walking);
  for (int frame = 0; frame < 30; ++frame) {
    clock.advance(frameTime);
    update(walker);
    world.step(static_cast<float>(frameTime));
  }
  EXPECT_GT(glm::length(horizontal(walker.position() - resting)), 0.5f);
}

// With a calendar second that stops every walk cycle, the Jumper's empty start and
// stop segments each end in the update that starts them.
TEST_F(EnemyTest, TheJumperPassesItsEmptyStartAndStopAtTheNextUpdate) {
  calendar.second = secondDrawingBelow(5);
  Jumper& jumper = spawn<Jumper>(glm::vec3(0.0f, restingHeight, 0.0f));
  runUntil(jumper, EnemyState::StartWalking);
  EXPECT_EQ(jumper.animation()->startFrame(), 68u);
  EXPECT_TRUE(jumper.animation()->segmentEnded());
  update(jumper);
  EXPECT_EQ(jumper.state(), EnemyState::Walking);
  EXPECT_EQ(jumper.animation()->endFrame(), 124u);

  runUntil(jumper, EnemyState::StopWalking);
  EXPECT_EQ(jumper.animation()->startFrame(), 124u);
  update(jumper);
  EXPECT_EQ(jumper.state(), EnemyState::Idle);
}

// A Jumper starts walking in the update that its idle segment ends.
class WalkingEnemyTest : public EnemyTest {
 protected:
  void SetUp() override {
    EnemyTest::SetUp();
    if (HasFatalFailure()) return;
    jumper = &spawn<Jumper>(glm::vec3(0.0f, restingHeight, 0.0f));
    runUntil(*jumper, EnemyState::Walking);
    update(*jumper);  // a step has set the walk's direction
  }

  glm::vec3 heading() const {
    return glm::normalize(horizontal(jumper->target() - jumper->position()));
  }

  Jumper* jumper = nullptr;
};

TEST_F(WalkingEnemyTest, ATouchTurnsItBackTwoUnitsBehindItself) {
  const glm::vec3 position = jumper->position();
  const glm::vec3 ahead = heading();
  const glm::vec3 targetBefore = jumper->target();
  update(*jumper);
  EXPECT_EQ(jumper->target(), targetBefore) << "resting on its platform touches nothing else";

  PhysicsScenery::addEnemy(world, position + glm::vec3(0.0f, 0.0f, 0.5f));
  world.dynamicsWorld().performDiscreteCollisionDetection();
  update(*jumper);
  expectNear(jumper->target(), glm::vec3(position.x, targetBefore.y, position.z) - 2.0f * ahead);
  expectNear(glm::normalize(velocityOf(*jumper)), -ahead);
  EXPECT_NEAR(std::fmod(jumper->modelYaw + 180.0f, 360.0f),
              std::fmod(glm::degrees(std::atan2(ahead.x, ahead.z)) + 360.0f, 360.0f), 0.01f);
}

TEST_F(WalkingEnemyTest, PassingTheTargetPicksAnotherAndReachingItExactlyStops) {
  const glm::vec3 ahead = heading();
  const glm::vec3 velocityBefore = velocityOf(*jumper);
  const glm::vec3 oldTarget = jumper->target();

  // A step beyond the target turns the way to it by 180 degrees.
  const glm::vec3 beyond = oldTarget + 0.5f * ahead;
  moveBody(*jumper, {beyond.x, restingHeight, beyond.z});
  calendar.second += 3;
  update(*jumper);
  EXPECT_NE(jumper->target(), oldTarget);
  EXPECT_EQ(velocityOf(*jumper), velocityBefore) << "the velocity waits for the next update";
  EXPECT_EQ(jumper->state(), EnemyState::Walking);

  // On the target itself: a new target, and idle at the next update with no stop segment.
  const glm::vec3 target = jumper->target();
  moveBody(*jumper, {target.x, restingHeight, target.z});
  update(*jumper);
  EXPECT_EQ(jumper->state(), EnemyState::StopWalking);
  EXPECT_NE(horizontal(jumper->target()), horizontal(target));
  update(*jumper);
  EXPECT_EQ(jumper->state(), EnemyState::Idle);
}

}  // namespace
}  // namespace Vexa::test
