#pragma once

#include "scene/Level.h"

namespace Vexa {

/// The second level: floating jumps between pillars; its enemies keep still until hit.
class Level2 : public Level {
 public:
  Level2(PhysicsWorld& physicsWorld, float width, float height);
};

}  // namespace Vexa
