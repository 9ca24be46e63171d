#pragma once

#include <functional>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <memory>

#include "render/LevelPrograms.h"
#include "scene/LevelState.h"

namespace Vexa {

class CasterBounds;
class PhysicsWorld;
class SoundSystem;

namespace scene {
class SceneContainer;
class SceneObject;
namespace mesh {
class Enemy;
class Path;
class Player;
}  // namespace mesh
}  // namespace scene

/// One stage of the game: its programs, its sound system and its scene
/// with the cast every level has (the player with the bat, the hud, the terrain and
/// the sky), offering what the frame loop and the controls ask of it. The concrete
/// levels add their geometry, title, enemies and events; the physics world belongs
/// to the application, which creates one per level.
class Level {
 public:
  /// The camera's pitch stays strictly within ± this many degrees.
  static constexpr float pitchLimit = 85.0f;
  /// The player's perspective: the vertical field of view in degrees, and the
  /// distances of the near and far planes.
  static constexpr float fieldOfViewDegrees = 60.0f;
  static constexpr float nearPlane = 0.1f;
  static constexpr float farPlane = 1500.0f;
  /// Spawned enemies are drawn at this scale of their model's size.
  static constexpr double spawnScale = 0.5;

  virtual ~Level();
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  virtual void update(double elapsedSeconds);
  /// The main pass, which counts the objects it draws.
  virtual void draw();
  /// The main pass without shadows; `drawnObjects` stays as it was.
  virtual void drawWithoutShadows();
  virtual void drawShadowMap();
  /// Where the last shadow pass's casters lie on the shadow map.
  const CasterBounds& shadowCasters() const;
  /// Back to the start position and the start view.
  virtual void resetPlayer();
  /// Changes in degrees; the pitch stays strictly within ±`pitchLimit`.
  virtual void rotateCamera(float pitchChange, float yawChange);
  /// `direction` is in camera space: x to the right, negative z forward.
  virtual void movePlayer(const glm::vec3& direction);
  virtual void jump();
  /// Starts a swing of the player's bat, unless it is swinging already.
  virtual void swingBat();
  /// The level as it stands after the last frame.
  virtual LevelState state() const;

  /// Raised once by the level's finish marker; the application then moves on.
  bool finished() const { return finishedFlag; }
  const LevelPrograms& shaderPrograms() const { return programs; }
  /// For objects that join the level after its construction.
  LevelPrograms& shaderPrograms() { return programs; }
  scene::SceneContainer& scene() const { return *sceneContainer; }
  scene::mesh::Player& player() const;
  /// Adds an enemy of the kind `turn` names (see `enemyOfKind`) standing at
  /// `position`, drawn at `spawnScale`, that keeps still with `standStill`.
  scene::mesh::Enemy& spawnEnemy(std::size_t turn, const glm::vec3& position, bool standStill);
  /// The perspective of the player's eye, with the aspect of a window of `width` ×
  /// `height`.
  static glm::mat4 projection(float width, float height);
  /// Fits the player's perspective and the crosshair to a window now `width` ×
  /// `height` pixels: the picture keeps its proportions and the crosshair its
  /// place in the middle.
  void fitView(float width, float height);
  /// The level's sound output; with a discarded output its mix is what the player hears.
  SoundSystem& sounds() const { return *soundSystem; }
  /// When set, levels built afterwards mix their sound into
  /// `SoundSystem::discardedMix()` instead of playing it on the default device, so a
  /// test hears them on any machine. The game leaves it unset.
  static inline bool discardSound = false;

  /// View-frustum culling of the main pass, on in a new level; the debug toggle
  /// switches it. The scene container holds it.
  bool cullingEnabled() const;
  void setCullingEnabled(bool on);
  /// The objects the last main pass drew, as the scene container counted them.
  virtual int drawnObjects() const;

 protected:
  /// Builds the programs, the sound system and the fixed cast for a window of
  /// `width` × `height` pixels.
  Level(PhysicsWorld& physicsWorld, float width, float height);

  /// What a playable level adds: its geometry, its title, its enemies (which keep
  /// still with `standStill`) and its events.
  scene::mesh::Path& buildPlayableLevel(int levelNumber, bool standStill);
  /// The level file's geometry, its "Sun" node drawn with the sun's program.
  scene::mesh::Path& addGeometry(int levelNumber);

  PhysicsWorld& physicsWorld;

 private:
  /// Takes every body out of the physics world when the level is gone.
  struct BodyRelease {
    PhysicsWorld& world;
    ~BodyRelease();
  };

  void buildCast(float width, float height);
  void loadCrosshairOrtho(float width, float height);
  void spawnEnemies(scene::mesh::Path& geometry, bool standStill);
  void createEvents(scene::mesh::Path& geometry);
  void addElevatorEvent(scene::mesh::Path& geometry, const scene::SceneObject& triggerNode);

  // Declared in construction order; torn down in reverse: the scene with every
  // object, the programs, the sound system once no clip is left, the bodies last.
  BodyRelease bodyRelease;
  std::unique_ptr<SoundSystem> soundSystem;

 protected:
  /// Raised by a finish event.
  bool finishedFlag = false;

 private:
  LevelPrograms programs;
  std::unique_ptr<scene::SceneContainer> sceneContainer;
};

/// Builds the level with the given number (up to `playableLevelCount` playable, then
/// the closing scene) on a fresh physics world, for a window of the given size in pixels.
using LevelFactory = std::function<std::unique_ptr<Level>(int levelIndex, PhysicsWorld& physics,
                                                          float width, float height)>;

}  // namespace Vexa
