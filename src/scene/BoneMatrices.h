#pragma once

#include <glm/mat4x4.hpp>

namespace Vexa::scene {

/// Skinning data of one node. `offsetMatrix` is the bind-pose offset of the bone
/// that bears the node's name (identity when no bone does); `boneMatrix` is the
/// skinning matrix of the current pose, model placement included.
struct BoneMatrices {
  glm::mat4 offsetMatrix{1.0f};
  glm::mat4 boneMatrix{1.0f};
  /// A bone of some mesh bears the node's name, so shaders read its `boneMatrix`.
  bool namedByBone = false;
};

}  // namespace Vexa::scene
