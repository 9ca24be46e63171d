#pragma once

#include "scene/Level.h"

namespace Vexa {

/// The closing scene: the last level's geometry and its sun, without title, enemies
/// or events; it lasts until the player quits.
class LevelFinished : public Level {
 public:
  static constexpr int number = 4;

  LevelFinished(PhysicsWorld& physicsWorld, float width, float height);
};

}  // namespace Vexa
