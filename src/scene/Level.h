#pragma once

#include <functional>
#include <glm/vec3.hpp>
#include <memory>

#include "render/LevelPrograms.h"
#include "scene/LevelState.h"

namespace Vexa {

class PhysicsWorld;

/// One stage of the game, as the frame loop and the controls see it. A level owns
/// its thirteen shader programs; the physics world belongs to the application.
class Level {
 public:
  virtual ~Level() = default;
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  virtual void update(double elapsedSeconds) = 0;
  /// The main pass; afterwards `drawnObjects` holds the number of objects drawn.
  virtual void draw() = 0;
  virtual void drawShadowMap() = 0;
  /// Changes in degrees; the pitch stays strictly within ±85.
  virtual void rotateCamera(float pitchChange, float yawChange) = 0;
  /// `direction` is in camera space: x to the right, negative z forward.
  virtual void movePlayer(const glm::vec3& direction) = 0;
  virtual void jump() = 0;
  virtual void swingBat() = 0;
  /// The level as it stands after the last frame.
  virtual LevelState state() const = 0;

  /// Raised once by the level's finish marker; the application then moves on.
  bool finished() const { return finishedFlag; }
  const LevelPrograms& shaderPrograms() const { return programs; }

  /// View-frustum culling; the debug toggle writes it.
  bool cullingEnabled = true;
  int drawnObjects = 0;

 protected:
  Level() = default;

  bool finishedFlag = false;
  LevelPrograms programs;
};

/// Builds the level with the given number (1 to 3 playable, 4 the closing scene)
/// on a fresh physics world, for a window of the given size in pixels.
using LevelFactory = std::function<std::unique_ptr<Level>(int levelIndex, PhysicsWorld& physics,
                                                          float width, float height)>;

}  // namespace Vexa
