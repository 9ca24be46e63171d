// The scripted moments of the levels, on the real level files, physics world, sound
// system and GL context, with the clock pinned.

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <glm/geometric.hpp>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "audio/SoundSystem.h"
#include "physic/CharacterBody.h"
#include "physic/DynamicRigidBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "scene/Event.h"
#include "scene/Level1.h"
#include "scene/Level3.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/event/Level1ElevatorEvent.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/Enemy.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Player.h"
#include "scene/mesh/Ruby.h"
#include "support/GlTest.h"
#include "support/Loudness.h"
#include "support/ManualTime.h"
#include "support/RunTimeFolderCopy.h"
#include "support/ToneFile.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;
using scene::Event;
using scene::event::Level1ElevatorEvent;

constexpr double frameTime = 1.0 / 60.0;

/// Runs the game's files from a copy of the run-time folder in which one level file
/// has every `from` renamed `to`.
class EditedLevelFile {
 public:
  EditedLevelFile(int level, const std::string& from, const std::string& to) {
    std::ifstream in(levelPath(level));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
      text.replace(at, from.size(), to);
    std::ofstream(folder.replace(levelPath(level))) << text;
  }

 private:
  RunTimeFolderCopy folder;
};

/// Runs the game's files from a copy of the run-time folder in which the sound
/// `counted` is a tone shorter than a frame and every other sound silence, so that
/// each frame the level's mix is loud holds exactly one playback of `counted`.
class CountableSound {
 public:
  explicit CountableSound(const std::string& counted) {
    std::vector<fs::path> sounds;
    for (const auto& entry : fs::directory_iterator("Resources/Sounds"))
      if (entry.is_regular_file()) sounds.push_back(entry.path());
    for (const fs::path& sound : sounds)
      writeToneFile(folder.replace(sound), 0.25 * frameTime,
                    {sound.filename() == counted ? 1.0f : 0.0f});
  }

 private:
  RunTimeFolderCopy folder;
};

// Every level here mixes its sound where the test hears it, sound card or not.
class LevelEventsTest : public GlTest {
 protected:
  LevelEventsTest() { Level::discardSound = true; }
  ~LevelEventsTest() override { Level::discardSound = false; }

  static Event* event(const Level& level, const std::string& name) {
    for (const auto& candidate : level.scene().events())
      if (candidate->name() == name) return candidate.get();
    return nullptr;
  }
  static scene::mesh::Path& geometry(const Level& level) {
    for (const auto& object : level.scene().objects())
      if (auto* path = dynamic_cast<scene::mesh::Path*>(object.get())) return *path;
    throw std::runtime_error("no level geometry");
  }
  /// Level 3's boss: its only enemy out of play below 65.
  static scene::mesh::Enemy* boss(const Level& level) {
    for (const auto& object : level.scene().objects())
      if (auto* enemy = dynamic_cast<scene::mesh::Enemy*>(object.get()))
        if (enemy->killHeight == 65.0f) return enemy;
    return nullptr;
  }
  /// Whether a static body of the world has been moved to `origin`.
  bool staticBodyAt(const glm::vec3& origin, float tolerance) const {
    for (const auto& body : physics.staticBodies())
      if (glm::distance(body->getPosition(), origin) < tolerance) return true;
    return false;
  }

  ManualClock clock;
  PhysicsWorld physics;
};

TEST_F(LevelEventsTest, FinishMarkersTriggerStrictlyInsideTheirCubeWhateverLevelTheyName) {
  EditedLevelFile file(1, "Level1FinishedEvent", "Level2FinishedEvent");
  Level1 level(physics, 1024.0f, 768.0f);
  Event* finish = event(level, "Level2FinishedEvent");
  ASSERT_NE(finish, nullptr);
  const glm::vec3 marker(geometry(level).requiredNode("Level2FinishedEvent").globalMatrix()[3]);
  for (const glm::vec3& axis : {glm::vec3(1, 0, 0), glm::vec3(0, 1, 0), glm::vec3(0, 0, 1)}) {
    EXPECT_FALSE(finish->check(marker + 5.0f * axis, 5.0f));
    EXPECT_TRUE(finish->check(marker + 4.99f * axis, 5.0f));
  }
  physics.character()->warp(marker);
  level.update(frameTime);
  EXPECT_TRUE(finish->triggered());
  EXPECT_TRUE(level.finished());
}

// The whole sequence, each enemy of the wave beaten by taking it out of play.
TEST_F(LevelEventsTest, ElevatorWaveThenRubyThenUpgradedBatThenTheElevatorRises) {
  Level1 level(physics, 1024.0f, 768.0f);
  EXPECT_TRUE(staticBodyAt(glm::vec3(0.0f, -10.0f, 0.0f), 1e-6f));
  std::vector<scene::mesh::Enemy*> wave;
  for (const auto& object : level.scene().objects())
    if (auto* enemy = dynamic_cast<scene::mesh::Enemy*>(object.get()))
      if (enemy->killHeight == -50.0f) wave.push_back(enemy);
  ASSERT_EQ(wave.size(), static_cast<std::size_t>(Level1ElevatorEvent::enemyCount));
  for (const auto* enemy : wave) EXPECT_TRUE(enemy->hidden);
  scene::mesh::Bat* firstBat = level.player().bat();

  const scene::MeshObject& trigger = geometry(level).requiredNode(level1ElevatorEvent);
  physics.character()->warp(glm::vec3(trigger.globalMatrix()[3]));
  level.update(frameTime);
  for (auto* enemy : wave) {
    EXPECT_FALSE(enemy->hidden);
    EXPECT_NE(enemy->body(), nullptr);
    enemy->hidden = true;
  }
  level.update(frameTime);
  const scene::SceneObject* ruby = nullptr;
  for (const auto& object : level.scene().objects())
    if (dynamic_cast<const scene::mesh::Ruby*>(object.get())) ruby = object.get();
  ASSERT_NE(ruby, nullptr);
  EXPECT_FALSE(ruby->hidden);
  EXPECT_EQ(level.player().bat(), firstBat);
  // It hovers 3 above the lowered elevator's top (y 11), within the reach of a
  // player standing there.
  EXPECT_NEAR(ruby->globalMatrix()[3].y, 14.0f, 1e-3f);

  // The ruby, now the event's trigger node, is collected within its reach of 2.
  const glm::vec3 rubyCentre(ruby->globalMatrix()[3]);
  physics.character()->warp(rubyCentre + glm::vec3(0.0f, 0.0f, 2.01f));
  level.update(frameTime);
  EXPECT_FALSE(ruby->hidden);
  physics.character()->warp(rubyCentre + glm::vec3(0.0f, 0.0f, 1.99f));
  level.update(frameTime);
  EXPECT_TRUE(ruby->hidden);
  EXPECT_NE(level.player().bat(), firstBat);
  EXPECT_TRUE(firstBat->hidden);
  EXPECT_FALSE(level.player().bat()->hidden);
  clock.advance(3.0);
  level.update(frameTime);
  EXPECT_TRUE(staticBodyAt(glm::vec3(0.0f, -0.0012f, 0.0f), 1e-4f));
  EXPECT_FALSE(staticBodyAt(glm::vec3(0.0f, -10.0f, 0.0f), 1.0f));
}

TEST_F(LevelEventsTest, BossWakesAtADistanceOfExactlyTenAndNotBefore) {
  Level3 level(physics, 1024.0f, 768.0f);
  scene::mesh::Enemy* walker = boss(level);
  ASSERT_NE(walker, nullptr);
  EXPECT_DOUBLE_EQ(walker->scale(), 1.4);
  EXPECT_FLOAT_EQ(1.0f / walker->body()->rigidBody().getInvMass(), 2.5f);
  Event* wake = event(level, "Level3BossStartWalking");
  ASSERT_NE(wake, nullptr);
  const glm::vec3 player(0.0f, 100.0f, 0.0f);
  physics.character()->warp(player);
  btTransform& place = walker->body()->rigidBody().getWorldTransform();
  place.setOrigin(btVector3(0.0f, 100.0f, 10.01f));
  level.update(frameTime);
  EXPECT_FALSE(wake->triggered());
  EXPECT_EQ(walker->state(), scene::mesh::EnemyState::Idle);
  EXPECT_TRUE(walker->standStill);
  place.setOrigin(btVector3(0.0f, 100.0f, 10.0f));
  EXPECT_TRUE(wake->check(glm::vec3(1000.0f), 5.0f));
  level.update(frameTime);
  EXPECT_TRUE(wake->triggered());
  EXPECT_FALSE(walker->standStill);
  EXPECT_NE(walker->state(), scene::mesh::EnemyState::Idle);
}

TEST_F(LevelEventsTest, DoorsOpenFromTheFirstFrameTheBossIsOutOfPlayWhereverThePlayerIs) {
  Level3 level(physics, 1024.0f, 768.0f);
  Event* doors = event(level, "Level3DoorsOpenEvent");
  ASSERT_NE(doors, nullptr);
  level.update(frameTime);
  EXPECT_FALSE(doors->triggered());
  scene::MeshObject& door1 = geometry(level).requiredNode(door1Node);
  scene::MeshObject& door2 = geometry(level).requiredNode(door2Node);
  const float rest1 = door1.localMatrix[3].y;
  const float rest2 = door2.localMatrix[3].y;
  boss(level)->hidden = true;
  level.update(frameTime);
  EXPECT_TRUE(doors->triggered());
  // The sound plays with the answer that triggers; a triggered event answers no.
  EXPECT_FALSE(doors->check(glm::vec3(0.0f), 5.0f));
  EXPECT_FLOAT_EQ(door1.localMatrix[3].y, rest1);
  clock.advance(3.0);
  level.update(frameTime);
  const float open = 3.0f * (1.0f - std::exp(-9.0f));
  EXPECT_NEAR(door1.localMatrix[3].y, rest1 - open / levelScale, 1e-5f);
  EXPECT_NEAR(door2.localMatrix[3].y, rest2 + open / levelScale, 1e-5f);
  EXPECT_TRUE(staticBodyAt(glm::vec3(0.0f, 0.0f, open), 1e-5f));
  EXPECT_TRUE(staticBodyAt(glm::vec3(0.0f, 0.0f, -open), 1e-5f));
}

// Heard in the level's own mix, frame by frame, over two seconds after the boss goes.
TEST_F(LevelEventsTest, DoorsSoundOnceInTheFrameTheBossGoesOutOfPlay) {
  CountableSound doorSound("large_mechanical_door.wav");
  Level3 level(physics, 1024.0f, 768.0f);
  constexpr int bossGoes = 30;
  std::vector<int> loudFrames;
  for (int frame = 0; frame < bossGoes + 120; ++frame) {
    if (frame == bossGoes) boss(level)->hidden = true;
    clock.advance(frameTime);
    level.update(frameTime);
    const Loudness heard = loudestOfLastMix(level.sounds());
    if (std::max(heard.left, heard.right) > 1e-4f) loudFrames.push_back(frame);
  }
  EXPECT_EQ(loudFrames, std::vector<int>{bossGoes});
}

TEST_F(LevelEventsTest, Level3WithoutItsBossHasNeitherBossNorDoorsNorBossEvent) {
  EditedLevelFile file(3, "BigEnemy", "NoBoss");
  Level3 level(physics, 1024.0f, 768.0f);
  EXPECT_EQ(boss(level), nullptr);
  EXPECT_EQ(event(level, "Level3DoorsOpenEvent"), nullptr);
  EXPECT_EQ(event(level, "Level3BossStartWalking"), nullptr);
}

}  // namespace
}  // namespace Vexa::test
