#include "app/GameLevels.h"

#include "scene/Level1.h"
#include "scene/Level2.h"
#include "scene/Level3.h"
#include "scene/LevelFinished.h"

namespace Vexa {

std::unique_ptr<Level> createGameLevel(int levelIndex, PhysicsWorld& physics, float width,
                                       float height) {
  switch (levelIndex) {
    case 1:
      return std::make_unique<Level1>(physics, width, height);
    case 2:
      return std::make_unique<Level2>(physics, width, height);
    case 3:
      return std::make_unique<Level3>(physics, width, height);
    default:
      return std::make_unique<LevelFinished>(physics, width, height);
  }
}

}  // namespace Vexa
