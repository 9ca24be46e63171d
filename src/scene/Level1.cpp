#include "scene/Level1.h"

namespace Vexa {

Level1::Level1(PhysicsWorld& physicsWorld, float width, float height)
    : Level(physicsWorld, width, height) {
  buildPlayableLevel(1, /*standStill=*/false);
}

}  // namespace Vexa
