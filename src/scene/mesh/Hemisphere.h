#pragma once

#include "scene/MeshObject.h"

namespace Vexa::scene::mesh {

/// The sky dome. The scene container keeps it centred on the player: every frame its
/// local matrix becomes the translation to the player times `baseMatrix`.
class Hemisphere : public MeshObject {
 public:
  explicit Hemisphere(ShaderProgram* program);

  void drawShadow() override {}
  void boundShadow(CasterBounds&, const Animation*) const override {}

  /// The dome's placement around the origin, as built.
  const glm::mat4& baseMatrix() const { return base; }

 private:
  glm::mat4 base{1.0f};
};

}  // namespace Vexa::scene::mesh
