#pragma once

#include "scene/Level.h"

namespace Vexa {

/// The third level: the climb to the boss's arena.
class Level3 : public Level {
 public:
  Level3(PhysicsWorld& physicsWorld, float width, float height);
};

}  // namespace Vexa
