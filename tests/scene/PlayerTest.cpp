// The player, its bat and the crosshair on a real physics world, sound system and
// GL context, with the clock and the calendar pinned.

#include <btBulletDynamicsCommon.h>

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

#include "animation/Animation.h"
#include "physic/BulletConversions.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsScenery.h"
#include "render/ShaderProgram.h"
#include "scene/LevelFiles.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/Hud.h"
#include "scene/mesh/Player.h"
#include "support/GlTest.h"
#include "support/Loudness.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using physic::DynamicRigidBody;
using scene::mesh::Bat;
using scene::mesh::BatState;
using scene::mesh::Hud;
using scene::mesh::Player;

const glm::mat4 identity(1.0f);

/// The draw from 1 to 100 that decides a hit made in calendar second `second`.
int hitDrawAt(std::time_t second) {
  FixedCalendar calendar(second);
  return Calendar::reseededRand() % 100 + 1;
}

class PlayerTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    batProgram =
        std::make_unique<ShaderProgram>("Shader/bat_shader.vert", "Shader/bat_shader.frag");
    sounds = std::make_unique<SoundSystem>(SoundSystem::Output::Discarded);
    bat = std::make_unique<Bat>(batProgram.get(), batProgram.get(), sounds.get(), 0);
    player = std::make_unique<Player>(bat.get(), &world, sounds.get(), identity);
  }

  void TearDown() override {
    player.reset();
    bat.reset();
    sounds.reset();
    batProgram.reset();
    GlTest::TearDown();
  }

  /// A frame at clock time `seconds`: the player, then the bat, as a level runs them.
  void frameAt(double seconds) {
    clock.seconds = seconds;
    player->updateWithoutCamera(0.0, identity);
    bat->updateWithoutCamera(0.0, identity);
  }

  /// An enemy three units along the player's aim.
  DynamicRigidBody& enemyAhead() {
    return PhysicsScenery::addEnemy(world, player->eyePosition() - 3.0f * player->viewDirection());
  }

  static glm::vec3 velocityOf(const DynamicRigidBody& enemy) {
    return physic::toGlm(enemy.rigidBody().getLinearVelocity());
  }

  ManualClock clock;
  PhysicsWorld world;
  std::unique_ptr<ShaderProgram> batProgram;
  std::unique_ptr<SoundSystem> sounds;
  std::unique_ptr<Bat> bat;
  std::unique_ptr<Player> player;
};

TEST_F(PlayerTest, TheBatStrikesAnEnemyNotYetHitOnceBetween030And035SecondsIntoTheSwing) {
  DynamicRigidBody& enemy = enemyAhead();
  clock.seconds = 2.0;
  bat->swing();
  enemy.hit = true;
  frameAt(2.3125);
  EXPECT_EQ(velocityOf(enemy), glm::vec3(0.0f)) << "an enemy already hit is no target";
  EXPECT_FALSE(bat->hasHit());

  enemy.hit = false;
  frameAt(2.328125);
  EXPECT_TRUE(enemy.hit);
  EXPECT_TRUE(bat->hasHit());
  const glm::vec3 thrown = velocityOf(enemy);

  enemy.hit = false;
  frameAt(2.34375);
  EXPECT_EQ(velocityOf(enemy), thrown) << "one strike per swing";

  bat->setState(BatState::Idle);
  clock.seconds = 4.0;
  bat->swing();
  frameAt(4.296875);
  frameAt(4.3515625);
  EXPECT_FALSE(enemy.hit) << "no frame fell inside the window, open from 0.30 to 0.35 s";
}

TEST_F(PlayerTest, HitsThrowAlongTheViewLiftedAndTurned250DegreesWithAQuarterOfThemHomeRuns) {
  struct Case {
    float yaw, pitch;
    std::time_t second;
    glm::vec3 velocity;
  };
  ASSERT_EQ(hitDrawAt(241), 25);
  ASSERT_EQ(hitDrawAt(11), 24);
  // View (0, 0, 1) lifted to (0, 0.6, 1); view (-cos 30°, sin 30°, 0) lifted to
  // (-0.8660254, 1.1, 0). Turned by 250°: x' = x cos + z sin, z' = z cos - x sin.
  const Case cases[] = {
      {0.0f, 0.0f, 241, 20.0f * glm::vec3(-0.9396926f, 0.6f, -0.3420201f)},
      {90.0f, 30.0f, 11, 60.0f * glm::vec3(0.2961981f, 1.1f, -0.8137977f)},
  };
  double swingStart = 1.0;
  for (const Case& c : cases) {
    player->yaw = c.yaw;
    player->pitch = c.pitch;
    DynamicRigidBody& enemy = enemyAhead();
    FixedCalendar calendar(c.second);
    bat->setState(BatState::Idle);
    clock.seconds = swingStart;
    bat->swing();
    frameAt(swingStart + 0.3125);
    const glm::vec3 velocity = velocityOf(enemy);
    for (int axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(velocity[axis], c.velocity[axis], 1e-4f) << "yaw " << c.yaw << ", axis " << axis;
    swingStart += 2.0;
  }
}

TEST_F(PlayerTest, FallingBelowTheWorldRespawnsAtTheStartWithTheCameraThere) {
  player->character().warp({3.0f, -40.4f, 2.0f});
  frameAt(1.0);
  EXPECT_NEAR(player->position().y, -40.4f, 1e-5f) << "the eye is still above -40";

  player->character().knockBack({0.0f, 1.0f, 0.0f});
  player->character().warp({3.0f, -40.6f, 2.0f});
  player->yaw = 40.0f;
  frameAt(1.1);
  EXPECT_EQ(player->position(), playerStartPosition);
  EXPECT_EQ(player->yaw, 1.5707964f);
  EXPECT_EQ(player->pitch, -0.31415927f);
  EXPECT_FALSE(player->character().knockInProgress());
  const glm::vec4 eyeInView = player->viewMatrix() * glm::vec4(player->eyePosition(), 1.0f);
  EXPECT_NEAR(glm::length(glm::vec3(eyeInView)), 0.0f, 1e-5f) << "the view is from the new eye";
}

TEST_F(PlayerTest, ASwingIsNotRestartedPlaysItsSoundOnceAndEndsInWalkingThenIdling) {
  const Animation& clip = *bat->animation();
  frameAt(0.5);  // the swing sound now comes from the eye

  clock.seconds = 1.0;
  bat->swing();
  clock.seconds = 1.05;
  bat->swing();
  EXPECT_EQ(bat->swingStartTime(), 1.0);
  frameAt(1.1);
  const float twiceRequested = loudestOfLastMix(*sounds).left;

  frameAt(3.0);  // the swing reaches its last frame
  frameAt(3.0);
  EXPECT_EQ(bat->state(), BatState::Walk);
  EXPECT_EQ(clip.startFrame(), 61u);
  frameAt(3.0);
  EXPECT_EQ(bat->state(), BatState::Idle) << "the player stands still";
  frameAt(3.0);
  EXPECT_EQ(clip.startFrame(), 0u);

  clock.seconds = 5.0;
  bat->swing();
  frameAt(5.1);
  const float once = loudestOfLastMix(*sounds).left;
  EXPECT_GT(once, 0.01f);
  EXPECT_NEAR(twiceRequested / once, 1.0f, 0.1f) << "the second request played nothing";
}

TEST_F(PlayerTest, TheCrosshairSitsMidWindowAndTellsWhetherAnEnemyNotYetHitIsInReach) {
  ShaderProgram crosshair("Shader/crosshair_shader.vert", "Shader/crosshair_shader.frag");
  Hud hud(&crosshair, &world, player.get(), 1024.0f, 768.0f);
  EXPECT_EQ(hud.localMatrix * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f), glm::vec4(512, 384, 0, 1));
  EXPECT_EQ(hud.localMatrix * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f), glm::vec4(537, 384, 0, 1));

  const auto hitEnemy = [&] {
    hud.updateWithoutCamera(0.0, identity);
    hud.draw();
    float value = -1.0f;
    glGetUniformfv(crosshair.programId(), glGetUniformLocation(crosshair.programId(), "hitEnemy"),
                   &value);
    return value;
  };
  EXPECT_EQ(hitEnemy(), 0.0f);
  DynamicRigidBody& enemy = enemyAhead();
  EXPECT_EQ(hitEnemy(), 1.0f);
  enemy.hit = true;
  EXPECT_EQ(hitEnemy(), 0.0f);
}

}  // namespace
}  // namespace Vexa::test
