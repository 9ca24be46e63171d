#pragma once

#include <cstddef>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vector>

namespace Vexa {

/// The keys of one animated node, in ticks. Each track keeps its own key count.
/// Scale keys are kept but never applied: an animated node has scale 1.
class KeyframeTrack {
 public:
  struct Key {
    double time = 0.0;
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 scale{0.0f};
  };

  explicit KeyframeTrack(std::vector<Key> keys);

  std::size_t keyCount() const { return keys.size(); }
  const Key& key(std::size_t index) const { return keys[index]; }

  /// The node's local transform at `ticks`: translation times rotation, interpolated
  /// between the surrounding keys. Before the first key the first key's pose holds,
  /// from the last key on the last one's. Keys whose times do not increase end the
  /// game with "factor is not between 0 and 1: " and the factor.
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
