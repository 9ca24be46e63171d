#include "scene/LevelFinished.h"

namespace Vexa {

LevelFinished::LevelFinished(PhysicsWorld& physicsWorld, float width, float height)
    : Level(physicsWorld, width, height) {
  addGeometry(number);
}

}  // namespace Vexa
