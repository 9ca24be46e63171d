#pragma once

#include <cstddef>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vector>

#include "render/ModelData.h"

namespace Vexa {

/// The keys of one animated node, in ticks, at increasing times. Each track keeps
/// its own key count.
/// Scale keys are kept but never applied: an animated node has scale 1.
class KeyframeTrack {
 public:
  using Key = KeyData;

  explicit KeyframeTrack(std::vector<Key> keys);

  std::size_t keyCount() const { return keys.size(); }
  const Key& key(std::size_t index) const { return keys[index]; }

  /// The node's local transform at `ticks`: translation times rotation, interpolated
  /// between the surrounding keys. Before the first key the first key's pose holds,
  /// from the last key on the last one's. The key times increase (import checks it).
  glm::mat4 localAt(double ticks) const;

  /// The game's slerp: through the shorter arc (b negated when a·b < 0), and a plain
  /// unnormalised component blend when the keys are nearly equal.
  static glm::quat slerp(const glm::quat& a, const glm::quat& b, float factor);

  /// Translation by `position` times the rotation matrix of `rotation` (not normalised).
  static glm::mat4 pose(const glm::vec3& position, const glm::quat& rotation);

 private:
  std::vector<Key> keys;
};

}  // namespace Vexa
