#pragma once

#include "scene/MeshObject.h"

namespace Vexa::scene::mesh {

/// A vast ground far below the playing area; it casts no shadow.
class Terrain : public MeshObject {
 public:
  explicit Terrain(ShaderProgram* program);

  void drawShadow() override {}
  void boundShadow(CasterBounds&, const Animation*) const override {}

  /// The file's root transform, moved 600 down its own z axis and grown a thousandfold:
  /// the placement of the terrain and of the sky dome.
  static glm::mat4 farPlacement(const glm::mat4& loaded);
};

}  // namespace Vexa::scene::mesh
