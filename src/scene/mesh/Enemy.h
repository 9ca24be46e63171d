#pragma once

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <memory>

#include "audio/SoundClip.h"
#include "scene/MeshObject.h"
#include "scene/mesh/CharacterModels.h"

namespace Vexa {
class Animation;
class PhysicsWorld;
class SoundSystem;
namespace physic {
class DynamicRigidBody;
class StaticRigidBody;
}  // namespace physic
}  // namespace Vexa

namespace Vexa::scene::mesh {

/// What an enemy is doing. The numbers are part of the game's interface: the level
/// state reports them, and the boss is set walking by writing StartWalking.
enum class EnemyState : std::int32_t {
  Idle = 0,
  StartWalking = 1,
  Walking = 2,
  StopWalking = 3,
  Hit = 4,
};

/// What sets one kind of enemy apart: its model, how its clip is cut into
/// segments, and its sounds (file names under Resources/Sounds/, null for none).
struct EnemyKind {
  const char* modelPath;
  const EnemyClip& clip;
  const char* idleSoundA;
  const char* idleSoundB;
  const char* hitSound;
};

/// An animated creature on a capsule body that wanders its platform. It idles,
/// starts walking, walks towards targets its navigator picks, stops, and tumbles
/// when struck; a segment's end and random draws (reseeded with the calendar
/// second) move it on. Hits cannot wear it down: it is out of play, hidden, once
/// its body has fallen below `killHeight`.
class Enemy : public MeshObject {
 public:
  /// Capsule radius and height at scale 1.
  static constexpr double bodySize = 1.6;
  /// Base walking speed, units per second.
  static constexpr float speedSetting = 3.0f;

  /// Both run the enemy's step (once it has a body), then the node's own update.
  void update(double elapsedSeconds, const glm::mat4& parentWorld, const CameraMatrices& camera,
              bool culling) override;
  void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) override;

  /// Puts an upright capsule body of the current scale at `position` into the
  /// world and aims at a first target on the platform.
  void createBody(const glm::vec3& position);
  /// Draws the model at `scale` and gives the body a capsule of the matching size.
  void setScale(double scale);

  /// Sets a waiting enemy walking: it stops standing still and starts a walk now.
  void wake();

  /// Walking speed in units per second for `base` times `factor`; kinds whose pace
  /// swings over a walk cycle work it out from the time the state began.
  virtual float walkSpeed(float base, float factor) const;

  EnemyState state() const { return currentState; }
  /// Null until `createBody`; the physics world owns it.
  physic::DynamicRigidBody* body() const { return physicsBody; }
  /// Origin of the body; the model's placement without a body.
  glm::vec3 position() const;
  /// Where the enemy is walking to.
  const glm::vec3& target() const { return walkTarget; }
  double scale() const { return modelScale; }

  /// Below this height the enemy is out of play.
  float killHeight = -600.0f;
  /// While set, an idle enemy never starts walking; it walks once it has stood up after a hit.
  bool standStill;
  /// The platform the enemy walks on: the navigator's ground, and what a touch that
  /// turns it back ignores.
  physic::StaticRigidBody* platformBody;
  /// Heading of the model in degrees: 0 faces +z, 90 faces +x.
  float modelYaw = 0.0f;

 protected:
  Enemy(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
        PhysicsWorld* world, bool standStill, const EnemyKind& kind);

  /// The state that starts a walk: the model is placed and stands.
  virtual void startWalkingStep();
  /// One update of a walk towards the target: turns back on a touch, stops at the
  /// target, retargets once past it, and otherwise moves the body.
  void walkStep();
  /// Rebuilds the model's placement from the body: the model stands on the ground
  /// below the body's centre, and turns with the body while it tumbles.
  void updateModelMatrix();

  Animation& clip() const { return *animation(); }
  /// Clock reading at which the current state, or walk cycle, began.
  double stateStartTime() const { return stateStart; }

 private:
  void step();
  void leavePlay();
  void enterHitState();
  void chooseNextState();
  void playStateAnimation();
  void playIdle(const FrameRange& frames, SoundClip* sound);
  void turnBack(const glm::vec3& from, glm::vec2& toTarget);
  void retarget(const glm::vec3& from);
  void hitStep();
  void standUp();
  void followWithSounds();
  void play(unsigned first, unsigned last);
  glm::vec3 nextTarget(const glm::vec3& from) const;

  const EnemyClip& frames;
  PhysicsWorld& world;
  physic::DynamicRigidBody* physicsBody = nullptr;
  EnemyState currentState = EnemyState::Idle;
  double stateStart = 0.0;
  glm::vec3 walkTarget{0.0f};
  /// Seen from above (x, z).
  glm::vec2 walkDirection{0.0f};
  double modelScale = 0.5;
  std::unique_ptr<SoundClip> idleSoundA;
  std::unique_ptr<SoundClip> idleSoundB;
  std::unique_ptr<SoundClip> hitSound;
};

}  // namespace Vexa::scene::mesh
