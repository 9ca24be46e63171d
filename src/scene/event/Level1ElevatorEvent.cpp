#include "scene/event/Level1ElevatorEvent.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>

#include "audio/SoundClip.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/EnemyKinds.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Player.h"
#include "scene/mesh/Ruby.h"

namespace Vexa::scene::event {

namespace {

/// The player collects the ruby, the trigger node once it shows, inside the cube of
/// this half-size around it.
constexpr float rubyReach = 2.0f;

void seedWithCalendar() {
  std::srand(static_cast<unsigned>(Calendar::seconds()));
}

/// How far below its modelled place the elevator is `seconds` after it starts
/// rising: it settles with an ease-out.
float elevatorOffset(double seconds) {
  return static_cast<float>(-Level1ElevatorEvent::loweredBy * std::exp(-seconds * seconds));
}

}  // namespace

Level1ElevatorEvent::Level1ElevatorEvent(const SceneObject* triggerNode, mesh::Path& geometry,
                                         PhysicsWorld& physicsWorld, mesh::Ruby& ruby,
                                         mesh::Player& player, SoundSystem& soundSystem,
                                         ShaderProgram* enemyProgram,
                                         ShaderProgram* animatedShadowMapProgram,
                                         SceneContainer& scene, mesh::Bat& upgradedBat)
    : Event(level1ElevatorEvent, triggerNode),
      elevatorNode(geometry.requiredNode(Vexa::elevatorNode)),
      elevatorBody(physicsWorld.addStaticBody(elevatorNode.staticBody(/*heavy=*/false))),
      ruby(ruby),
      scale(geometry.scale()),
      elevatorRestZ(elevatorNode.localMatrix[3].z),
      physicsWorld(physicsWorld),
      player(player),
      upgradedBat(upgradedBat),
      gemSound(std::make_unique<SoundClip>(&soundSystem, "gem_collect.wav")),
      secretSound(std::make_unique<SoundClip>(&soundSystem, "secret_chime.wav")) {
  placeElevator(-loweredBy);
  // The ruby hovers over the lowered elevator, where the player fights the wave.
  rubyPlacement = glm::translate(
      glm::mat4(1.0f), glm::vec3(elevatorNode.globalMatrix()[3]) + glm::vec3(0.0f, 3.0f, 0.0f));
  upgradedBat.hidden = true;
  ruby.hidden = true;
  ruby.localMatrix = glm::scale(rubyPlacement * ruby.localMatrix, glm::vec3(0.8f));
  seedWithCalendar();
  for (int i = 0; i < enemyCount; ++i) {
    mesh::Enemy& enemy = scene.add(mesh::enemyOfKind(
        static_cast<std::size_t>(std::rand() % 3), enemyProgram, animatedShadowMapProgram,
        &soundSystem, &physicsWorld, /*standStill=*/false));
    enemy.platformBody = &elevatorBody;
    enemy.killHeight = waveKillHeight;
    enemy.hidden = true;
    enemies.push_back(&enemy);
  }
}

Level1ElevatorEvent::~Level1ElevatorEvent() = default;

void Level1ElevatorEvent::run(double elapsedSeconds) {
  switch (stage) {
    case Stage::DropWave:
      dropWave();
      break;
    case Stage::AwaitWaveDown:
      showRubyOnceWaveIsDown();
      break;
    case Stage::CollectRuby:
      spinAndCollectRuby(elapsedSeconds);
      break;
    case Stage::RaiseElevator:
      placeElevator(elevatorOffset(Clock::now() - triggerTime()));
      break;
  }
}

// The wave falls from 30 above the ruby, scattered over a square of 20.
void Level1ElevatorEvent::dropWave() {
  const glm::vec3 centre(rubyPlacement[3]);
  seedWithCalendar();
  for (mesh::Enemy* enemy : enemies) {
    const int across = std::rand();
    const int along = std::rand();
    enemy->createBody(centre + glm::vec3(static_cast<float>(along % 20 - 10), 30.0f,
                                         static_cast<float>(across % 20 - 10)));
    enemy->hidden = false;
  }
  stage = Stage::AwaitWaveDown;
}

void Level1ElevatorEvent::showRubyOnceWaveIsDown() {
  if (std::any_of(enemies.begin(), enemies.end(), [](const auto* e) { return !e->hidden; })) return;
  secretSound->play();
  setTriggerNode(&ruby);
  ruby.hidden = false;
  stage = Stage::CollectRuby;
}

void Level1ElevatorEvent::spinAndCollectRuby(double elapsedSeconds) {
  ruby.localMatrix =
      glm::rotate(ruby.localMatrix, glm::radians(30.0f * static_cast<float>(elapsedSeconds)),
                  glm::vec3(0.0f, 0.0f, 1.0f));
  const glm::vec3 playerPosition = physicsWorld.character()->position();
  if (!insideTriggerCube(playerPosition, rubyReach)) return;
  ruby.hidden = true;
  elevatorBody.rigidBody().setMassProps(0.0f, btVector3(0.0f, 0.0f, 0.0f));
  setTriggerTime(Clock::now());
  gemSound->play();
  player.bat()->hidden = true;
  player.setBat(&upgradedBat);
  upgradedBat.hidden = false;
  stage = Stage::RaiseElevator;
}

// The node's local z is the world's up axis, in level units.
void Level1ElevatorEvent::placeElevator(float offset) {
  physicsWorld.moveStaticBody(elevatorBody, glm::vec3(0.0f, offset, 0.0f));
  elevatorNode.localMatrix[3].z = elevatorRestZ + offset / scale;
}

}  // namespace Vexa::scene::event
