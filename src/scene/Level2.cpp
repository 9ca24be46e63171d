#include "scene/Level2.h"

namespace Vexa {

Level2::Level2(PhysicsWorld& physicsWorld, float width, float height)
    : Level(physicsWorld, width, height) {
  buildPlayableLevel(2, /*standStill=*/true);
}

}  // namespace Vexa
