#include "animation/KeyframeTrack.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Vexa {

namespace {

// Above this dot product the keys are too close for acos: blend the components.
constexpr float nearlyEqual = 1.0f - 1.0f / (1 << 23);

}  // namespace

KeyframeTrack::KeyframeTrack(std::vector<Key> keys) : keys(std::move(keys)) {}

glm::mat4 KeyframeTrack::localAt(double ticks) const {
  if (keys.empty()) return glm::mat4(1.0f);
  std::size_t i = 0;
  while (i + 1 < keys.size() && !(keys[i + 1].time > ticks)) ++i;
  if (i + 1 == keys.size()) return pose(keys.back().position, keys.back().rotation);
  const Key& from = keys[i];
  const Key& to = keys[i + 1];
  // A clip may start later than time 0: until its first key that key's pose holds.
  if (ticks < from.time) return pose(from.position, from.rotation);
  const auto f = static_cast<float>((ticks - from.time) / (to.time - from.time));
  return pose(from.position + f * (to.position - from.position),
              slerp(from.rotation, to.rotation, f));
}

glm::quat KeyframeTrack::slerp(const glm::quat& a, const glm::quat& b, float factor) {
  glm::quat end = b;
  float cosine = glm::dot(a, b);
  if (cosine < 0.0f) {
    cosine = -cosine;
    end = -end;
  }
  if (cosine > nearlyEqual) return a + factor * (end - a);
  const float angle = std::acos(cosine);
  return (std::sin((1.0f - factor) * angle) * a + std::sin(factor * angle) * end) / std::sin(angle);
}

glm::mat4 KeyframeTrack::pose(const glm::vec3& position, const glm::quat& rotation) {
  return glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation);
}

}  // namespace Vexa
