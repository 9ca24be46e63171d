#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vector>

#include "audio/SoundClip.h"
#include "scene/MeshObject.h"
#include "scene/mesh/Bat.h"

namespace Vexa {
class CharacterBody;
class PhysicsWorld;
class SoundSystem;
namespace physic {
class DynamicRigidBody;
}
}  // namespace Vexa

namespace Vexa::scene::mesh {

/// The first-person player: the camera at the eye, the character's body in the
/// physics world, the bat's strikes, the footsteps and the ear of the sound system.
/// Nothing of it is drawn; its draw hands the camera to the registered programs.
class Player : public MeshObject {
 public:
  /// Puts the character's capsule at the start of the level into `world`, which
  /// keeps it; `projection` goes to every program added later.
  Player(Bat* bat, PhysicsWorld* world, SoundSystem* sounds, const glm::mat4& projection);

  /// Both updates run the same frame step and ignore their arguments.
  void update(double elapsedSeconds, const glm::mat4& parentWorld, const CameraMatrices& camera,
              bool culling) override;
  void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) override;
  /// Loads "viewMatrix", and "cameraPosition" where a program has it, into every
  /// registered program.
  void draw() override;

  /// Registers `program` for the camera uniforms and loads its "projectionMatrix".
  void addShader(ShaderProgram* program);
  /// A new perspective, for a window whose proportions changed: loaded at once
  /// into every registered program, and the camera of the frames that follow.
  void setProjection(const glm::mat4& perspective);
  /// Back to the start of the level, looking along the start direction: a spawn,
  /// or a respawn after a fall.
  void reset();

  /// Unit vector from the look target back to the eye.
  glm::vec3 viewDirection() const;
  const glm::mat4& viewMatrix() const { return view; }
  const glm::mat4& projectionMatrix() const { return projection; }

  Bat* bat() const { return currentBat; }
  /// The upgraded bat replaces the ordinary one.
  void setBat(Bat* bat) { currentBat = bat; }
  CharacterBody& character() const { return *body; }
  /// Centre of the character's capsule.
  glm::vec3 position() const;
  /// Where the camera and the ear are.
  glm::vec3 eyePosition() const;

  /// Camera heading in degrees.
  float yaw = 0.0f;
  /// Camera pitch in degrees; the level keeps it within ±`Level::pitchLimit`.
  float pitch = 0.0f;

 private:
  glm::mat4 cameraRotation() const;
  void loadProjection(const ShaderProgram& program) const;
  void frameStep();
  void bowlOverTouchedEnemies();
  bool hitWindowOpen() const;
  void strikeTarget();
  void throwEnemy(physic::DynamicRigidBody& target);
  void followWithCamera(const glm::vec3& eye);
  void stepFootsteps();
  void switchBatState(BatState wanted);

  std::vector<ShaderProgram*> programs;
  glm::mat4 view{1.0f};
  glm::mat4 projection;
  Bat* currentBat;
  PhysicsWorld* world;
  SoundSystem* sounds;
  CharacterBody* body;
  SoundClip footstepSound;
  SoundClip homerunSound;
  SoundClip woodSound;
};

}  // namespace Vexa::scene::mesh
