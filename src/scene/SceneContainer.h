#pragma once

#include <array>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <memory>
#include <vector>

#include "render/CasterBounds.h"
#include "scene/CameraMatrices.h"
#include "scene/Event.h"
#include "scene/Light.h"
#include "scene/MeshObject.h"

namespace Vexa {
class PhysicsWorld;
}

namespace Vexa::scene {

namespace mesh {
class Bat;
class Hemisphere;
class Hud;
class Player;
class Terrain;
}  // namespace mesh

/// Everything of the running level that is updated and drawn: the objects (the
/// player first), the events, the lights the objects bring, the hud and the sky.
/// It owns them all and runs the frame's update and the three render passes.
class SceneContainer {
 public:
  /// An event sets itself off when the player is within this distance on every axis.
  static constexpr float eventHalfSize = 5.0f;

  /// Starts the objects with the player, its bat and the terrain.
  SceneContainer(std::unique_ptr<mesh::Player> player, std::unique_ptr<mesh::Bat> bat,
                 std::unique_ptr<mesh::Hemisphere> sky, std::unique_ptr<mesh::Terrain> terrain,
                 std::unique_ptr<mesh::Hud> hud, PhysicsWorld* physicsWorld);
  /// Events go first, then the objects from the last added, then the hud and the sky.
  ~SceneContainer();
  SceneContainer(const SceneContainer&) = delete;
  SceneContainer& operator=(const SceneContainer&) = delete;

  /// Appends `object` (drawn after those before it) and the lights it brings.
  template <class Object>
  Object& add(std::unique_ptr<Object> object) {
    Object& added = *object;
    addObject(std::move(object));
    return added;
  }
  Event& addEvent(std::unique_ptr<Event> event);

  /// Walks the player along `direction`, given in camera space (x right, -z
  /// forward), turned by the player's heading.
  void movePlayer(const glm::vec3& direction);

  /// The sky follows the player, events trigger and run, then every visible object,
  /// the hud and the sky update; the camera is taken from the player last.
  void update(double elapsedSeconds);
  /// Into the bound shadow target: every visible object that has both programs,
  /// seen from the light; `shadowCasters` then tells where they landed.
  void drawShadowMap();
  /// The main pass: sky, then the visible objects lit and shadowed, frustum-culled
  /// where they carry bounds and counted, then the hud on top. Only translucent
  /// objects and the hud are blended, and only while GL_BLEND, the player's
  /// blending switch, is on as the pass begins.
  void draw();
  /// The main pass without shadows and without counting.
  void drawWithoutShadows();

  /// Whether the box of `corners` (object space) under `modelViewProjection` lies
  /// wholly beyond one clip plane. Straddling boxes are kept: the test is conservative.
  static bool outsideFrustum(const glm::mat4& modelViewProjection,
                             const std::array<glm::vec4, 8>& corners);

  mesh::Player& player() const { return *playerObject; }
  mesh::Hud& hud() const { return *hudObject; }
  mesh::Hemisphere& sky() const { return *skyObject; }
  const std::vector<std::unique_ptr<MeshObject>>& objects() const { return objectList; }
  const std::vector<std::unique_ptr<Event>>& events() const { return eventList; }
  const std::vector<Light>& lights() const { return lightList; }
  const CameraMatrices& camera() const { return cameraMatrices; }
  int drawnObjects() const { return drawnCount; }
  /// Where the last shadow pass's casters lie on the map; the whole map before one.
  const CasterBounds& shadowCasters() const { return casterBounds; }

  /// View-frustum culling of the main pass, which the level switches.
  bool cullingEnabled = true;

 private:
  void addObject(std::unique_ptr<MeshObject> object);
  void updateEvents(double elapsedSeconds, const glm::vec3& playerPosition);
  void drawObjects(bool withShadows);
  static void drawBlendedIf(bool blended, MeshObject& object);
  bool culled(const MeshObject& object) const;

  PhysicsWorld* physicsWorld;
  CameraMatrices cameraMatrices;
  std::unique_ptr<mesh::Hemisphere> skyObject;
  std::unique_ptr<mesh::Hud> hudObject;
  std::vector<std::unique_ptr<MeshObject>> objectList;
  mesh::Player* playerObject;
  std::vector<std::unique_ptr<Event>> eventList;
  std::vector<Light> lightList;
  int drawnCount = 0;
  CasterBounds casterBounds;
};

}  // namespace Vexa::scene
