#pragma once

#include <cstdint>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/MeshData.h"

namespace Vexa {

/// The skinning shaders hold this many bone matrices, indexed by node number.
inline constexpr std::int32_t skinningSlots = 32;

/// One key of an animated node, in the clip's ticks. The rotation and scale keys
/// share the position keys' times.
struct KeyData {
  double time = 0.0;
  glm::vec3 position{0.0f};
  glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
  glm::vec3 scale{0.0f};
};

/// The keys of the node numbered `node`; their times increase.
struct TrackData {
  std::int32_t node = 0;
  std::vector<KeyData> keys;
};

/// A model's keyframed clip: the file's first animation.
struct ClipData {
  double ticksPerSecond = 0.0;
  double duration = 0.0;
  std::vector<TrackData> tracks;
};

/// A diffuse colour, a diffuse texture (named as the file stores it), or neither.
struct MaterialData {
  std::optional<glm::vec3> colour;
  std::optional<std::string> texture;
};

/// One node of a model. Its number is its place in the model's pre-order.
struct NodeData {
  std::string name;
  glm::mat4 localMatrix{1.0f};
  /// The parent's number; -1 for the root.
  std::int32_t parent = -1;
  std::vector<MeshData> meshes;
  /// The bind-pose offset of the bone that bears the node's name (identity when none does).
  glm::mat4 offsetMatrix{1.0f};
  /// A bone of some mesh bears the node's name, so the skinning shaders read its matrix.
  bool namedByBone = false;
};

/// A COLLADA model as imported, before anything reaches the GPU: nodes in
/// pre-order (a parent always comes before its children), materials by the
/// file's index, and the clip of an animated model. The clip never changes once
/// read, so copies of the model share it.
struct ModelData {
  std::vector<NodeData> nodes;
  std::vector<MaterialData> materials;
  std::shared_ptr<const ClipData> clip;

  /// The number of the first node named exactly `name`, or -1.
  std::int32_t findNode(const std::string& name) const;
  /// Whether any mesh carries bone records.
  bool skinned() const;
  /// Whether the model needs an animation: it has a clip or a skin (a skin without
  /// a clip holds its bind pose).
  bool animated() const { return clip || skinned(); }

  /// Whether everything the game reads by number lies within its arrays: parents
  /// before children, indices within their mesh, one normal, uv and bone record
  /// per position where there are any, joints and tracks on existing nodes.
  bool consistent() const;

  /// The model as bytes, for another process of the same program.
  std::string serialize() const;
  /// The model `serialize` wrote; nothing for bytes that are cut short, run on or
  /// describe a model that is not consistent.
  static std::optional<ModelData> deserialize(std::string_view bytes);
};

}  // namespace Vexa
