#include "scene/event/Level3DoorsOpenEvent.h"

#include <cmath>

#include "audio/SoundClip.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "platform/Clock.h"
#include "scene/LevelFiles.h"
#include "scene/mesh/Path.h"

namespace Vexa::scene::event {

namespace {

/// How far each door has slid `seconds` after opening: fast at first, then settling.
float doorOffset(double seconds) {
  return static_cast<float>(Level3DoorsOpenEvent::slideDistance *
                            (1.0 - std::exp(-seconds * seconds)));
}

}  // namespace

Level3DoorsOpenEvent::Level3DoorsOpenEvent(mesh::Path& geometry, const SceneObject& boss,
                                           PhysicsWorld& physicsWorld, SoundSystem& soundSystem)
    : Event("Level3DoorsOpenEvent", nullptr),
      physicsWorld(physicsWorld),
      door1(registerDoor(geometry, door1Node, 1.0f)),
      door2(registerDoor(geometry, door2Node, -1.0f)),
      scale(geometry.scale()),
      boss(boss),
      doorSound(std::make_unique<SoundClip>(&soundSystem, "large_mechanical_door.wav")) {}

Level3DoorsOpenEvent::~Level3DoorsOpenEvent() = default;

Level3DoorsOpenEvent::Door Level3DoorsOpenEvent::registerDoor(mesh::Path& geometry,
                                                              const char* name, float direction) {
  SceneObject& node = geometry.requiredNode(name);
  return {node, physicsWorld.addStaticBody(node.staticBody(/*heavy=*/false)), node.localMatrix[3].y,
          direction};
}

bool Level3DoorsOpenEvent::check(const glm::vec3&, float) {
  if (triggered() || !boss.hidden) return false;
  doorSound->play();
  return true;
}

void Level3DoorsOpenEvent::run(double) {
  const float offset = doorOffset(Clock::now() - triggerTime());
  slide(door1, offset);
  slide(door2, offset);
}

// The node's local y is the world's negative z axis, in level units.
void Level3DoorsOpenEvent::slide(const Door& door, float offset) {
  physicsWorld.moveStaticBody(door.body, glm::vec3(0.0f, 0.0f, door.direction * offset));
  door.node.localMatrix[3].y = door.restY - door.direction * offset / scale;
}

}  // namespace Vexa::scene::event
