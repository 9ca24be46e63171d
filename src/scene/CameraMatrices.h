#pragma once

#include <glm/mat4x4.hpp>

namespace Vexa::scene {

/// The camera of the frame, handed down every update: projection first, then view.
struct CameraMatrices {
  glm::mat4 projection{1.0f};
  glm::mat4 view{1.0f};
};

}  // namespace Vexa::scene
