#pragma once

#include <memory>

#include "app/GameLevels.h"
#include "physic/CharacterBody.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Player.h"

namespace Vexa::test {

/// The game's levels with the player put down on each level's finish marker as
/// the level starts: levels 1 to 3 end within a few frames, and the closing
/// scene, which has no marker, lasts until Escape.
inline std::unique_ptr<Level> startingAtTheFinish(int index, PhysicsWorld& physics, float width,
                                                  float height) {
  std::unique_ptr<Level> level = createGameLevel(index, physics, width, height);
  for (const auto& object : level->scene().objects()) {
    const auto* geometry = dynamic_cast<const scene::mesh::Path*>(object.get());
    const scene::MeshObject* finish =
        geometry && index <= playableLevelCount
            ? const_cast<scene::mesh::Path*>(geometry)->findNode(finishedEvents[index - 1])
            : nullptr;
    if (finish) level->player().character().warp(glm::vec3(finish->globalMatrix()[3]));
  }
  return level;
}

}  // namespace Vexa::test
