#pragma once

#include <glm/mat4x4.hpp>
#include <memory>
#include <vector>

#include "scene/Event.h"

namespace Vexa {
class PhysicsWorld;
class ShaderProgram;
class SoundClip;
class SoundSystem;
namespace physic {
class StaticRigidBody;
}
}  // namespace Vexa

namespace Vexa::scene {
class SceneContainer;
namespace mesh {
class Bat;
class Enemy;
class Path;
class Player;
class Ruby;
}  // namespace mesh
}  // namespace Vexa::scene

namespace Vexa::scene::event {

/// Level 1's elevator: reaching it lets a wave of enemies drop onto the lowered
/// elevator; once all are down the ruby appears, and collecting it upgrades the bat
/// and raises the elevator to where it was modelled.
class Level1ElevatorEvent : public Event {
 public:
  /// The elevator waits this far below its modelled place.
  static constexpr float loweredBy = 10.0f;
  /// The wave's enemies are out of play below this height.
  static constexpr float waveKillHeight = -50.0f;

  /// Lowers the elevator, hides the ruby and the upgraded bat, and prepares the
  /// hidden wave in `scene`.
  Level1ElevatorEvent(const SceneObject* triggerNode, mesh::Path& geometry,
                      PhysicsWorld& physicsWorld, mesh::Ruby& ruby, mesh::Player& player,
                      SoundSystem& soundSystem, ShaderProgram* enemyProgram,
                      ShaderProgram* animatedShadowMapProgram, SceneContainer& scene,
                      mesh::Bat& upgradedBat);
  ~Level1ElevatorEvent() override;

  void run(double elapsedSeconds) override;

  /// How many enemies the wave has.
  static constexpr int enemyCount = 7;

 private:
  void dropWave();
  void showRubyOnceWaveIsDown();
  void spinAndCollectRuby(double elapsedSeconds);
  void placeElevator(float offset);

  SceneObject& elevatorNode;
  physic::StaticRigidBody& elevatorBody;
  mesh::Ruby& ruby;
  float scale;
  float elevatorRestZ;
  glm::mat4 rubyPlacement;
  PhysicsWorld& physicsWorld;
  mesh::Player& player;
  mesh::Bat& upgradedBat;
  std::vector<mesh::Enemy*> enemies;
  std::unique_ptr<SoundClip> gemSound;
  std::unique_ptr<SoundClip> secretSound;
  /// What a run does, in the order the sequence goes through.
  enum class Stage { DropWave, AwaitWaveDown, CollectRuby, RaiseElevator };
  Stage stage = Stage::DropWave;
};

}  // namespace Vexa::scene::event
