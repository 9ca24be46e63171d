#pragma once

#include "scene/Level.h"

namespace Vexa {

namespace scene::mesh {
class Path;
}

/// The third level: the climb to the boss's arena and the doors it guards.
class Level3 : public Level {
 public:
  /// The boss is out of play, and the doors open, below this height.
  static constexpr float bossKillHeight = 65.0f;
  /// The boss is an enemy drawn and bodied at this scale.
  static constexpr double bossScale = 1.4;

  Level3(PhysicsWorld& physicsWorld, float width, float height);

 private:
  void addBoss(scene::mesh::Path& geometry);
};

}  // namespace Vexa
