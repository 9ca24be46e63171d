#pragma once

#include "scene/Level.h"

namespace Vexa {

/// The first level: platforms up to the arena and the elevator.
class Level1 : public Level {
 public:
  Level1(PhysicsWorld& physicsWorld, float width, float height);
};

}  // namespace Vexa
