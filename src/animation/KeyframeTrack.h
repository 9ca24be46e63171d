#pragma once

#include <cstddef>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vector>

#include "render/ModelData.h"

namespace Vexa {

/// The keys of one animated node, in ticks, at increasing times. The track only
/// looks at keys held elsewhere (the model's clip, which every instance of the
/// model may share); they must outlive it. Each track keeps its own key count.
/// Scale keys are kept but never applied: an animated node has scale 1.
class KeyframeTrack {
 public:
  using Key = KeyData;

  explicit KeyframeTrack(const std::vector<Key>& keys);

  std::size_t keyCount() const { return count; }
  const Key& key(std::size_t index) const { return keys[index]; }

  /// The node's local transform at `ticks`: translation times rotation, interpolated
  /// between the surrounding keys. Before the first key the first key's pose holds,
  /// from the last key on the last one's. The key times increase (import checks it).
  /// `cursor` is the caller's own memory of the interval it last met (start at 0):
  /// time moving on by less than a key finds its interval at once; any other time
  /// (a new segment, the clip starting over) is found by bisection.
  glm::mat4 localAt(double ticks, std::size_t& cursor) const;

  /// The number of the key that starts the interval holding `ticks`: the last key
  /// at or before it (0 before the first key), the same key a search from the first
  /// key would find. Updates `cursor` as `localAt` does.
  std::size_t intervalAt(double ticks, std::size_t& cursor) const;

  /// The game's slerp: through the shorter arc (b negated when a·b < 0), and a plain
  /// unnormalised component blend when the keys are nearly equal.
  static glm::quat slerp(const glm::quat& a, const glm::quat& b, float factor);

  /// Translation by `position` times the rotation matrix of `rotation` (not normalised).
  static glm::mat4 pose(const glm::vec3& position, const glm::quat& rotation);

 private:
  bool holds(std::size_t interval, double ticks) const;

  const Key* keys;
  std::size_t count;
};

}  // namespace Vexa
