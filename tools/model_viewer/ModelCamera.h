#pragma once

#include "scene/CameraMatrices.h"
#include "scene/MeshObject.h"

namespace Vexa::viewer {

/// A camera that shows a whole model: it looks at the centre of the model's
/// meshes (placed by their nodes' world matrices) from the front, a little from
/// the right and from above, far enough that the bounding sphere fits.
class ModelCamera {
 public:
  /// `margin` scales the distance: above 1 it leaves room for the model to move.
  ModelCamera(const scene::MeshObject& model, float aspect, float margin = 1.0f);

  const scene::CameraMatrices& matrices() const { return camera; }
  glm::vec3 eye() const { return eyePosition; }

 private:
  scene::CameraMatrices camera;
  glm::vec3 eyePosition{0.0f};
};

}  // namespace Vexa::viewer
