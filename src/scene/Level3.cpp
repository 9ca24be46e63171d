#include "scene/Level3.h"

#include "scene/LevelFiles.h"
#include "scene/mesh/Path.h"

namespace Vexa {

Level3::Level3(PhysicsWorld& physicsWorld, float width, float height)
    : Level(physicsWorld, width, height) {
  scene::mesh::Path& geometry = buildPlayableLevel(3, /*standStill=*/false);
  // The boss guards the doors: where it stands, both doors must be there to open.
  if (geometry.findNode(bigEnemyNode)) {
    geometry.requiredNode(door1Node);
    geometry.requiredNode(door2Node);
  }
}

}  // namespace Vexa
