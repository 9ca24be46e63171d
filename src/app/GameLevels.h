#pragma once

#include "scene/Level.h"

namespace Vexa {

/// The game's levels in order: the playable ones, then the closing scene.
std::unique_ptr<Level> createGameLevel(int levelIndex, PhysicsWorld& physics, float width,
                                       float height);

}  // namespace Vexa
