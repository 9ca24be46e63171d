#pragma once

#include "scene/MeshObject.h"

namespace Vexa::scene::mesh {

/// A playable level's title: a large text model standing in the level world.
class LevelText : public MeshObject {
 public:
  LevelText(ShaderProgram* program, ShaderProgram* shadowProgram, int levelNumber);

  /// The title stands at (-200, 80, 30) of the file's own axes, 40 times its size,
  /// turned a quarter about z.
  static glm::mat4 placement(const glm::mat4& loaded);
};

}  // namespace Vexa::scene::mesh
