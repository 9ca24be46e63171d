#pragma once

#include <memory>

#include "scene/Event.h"

namespace Vexa {
class PhysicsWorld;
class SoundClip;
class SoundSystem;
namespace physic {
class StaticRigidBody;
}
}  // namespace Vexa

namespace Vexa::scene::mesh {
class Path;
}

namespace Vexa::scene::event {

/// Level 3's two doors: they slide apart once the boss is out of play.
class Level3DoorsOpenEvent : public Event {
 public:
  /// Each door ends this far from where it was modelled.
  static constexpr float slideDistance = 3.0f;

  Level3DoorsOpenEvent(mesh::Path& geometry, const SceneObject& boss, PhysicsWorld& physicsWorld,
                       SoundSystem& soundSystem);
  ~Level3DoorsOpenEvent() override;

  /// Triggers, with the doors' sound, as soon as the boss is hidden, wherever the player is.
  bool check(const glm::vec3& position, float halfSize) override;
  void run(double elapsedSeconds) override;

 private:
  /// A door node with its body, sliding along the world's z axis in `direction`.
  struct Door {
    SceneObject& node;
    physic::StaticRigidBody& body;
    float restY;
    float direction;
  };

  Door registerDoor(mesh::Path& geometry, const char* name, float direction);
  void slide(const Door& door, float offset);

  PhysicsWorld& physicsWorld;
  Door door1;
  Door door2;
  float scale;
  const SceneObject& boss;
  std::unique_ptr<SoundClip> doorSound;
};

}  // namespace Vexa::scene::event
