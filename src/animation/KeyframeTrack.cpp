#include "animation/KeyframeTrack.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Vexa {

namespace {

// Above this dot product the keys are too close for acos: blend the components.
constexpr float nearlyEqual = 1.0f - 1.0f / (1 << 23);

}  // namespace

KeyframeTrack::KeyframeTrack(const std::vector<Key>& keys)
    : keys(keys.data()), count(keys.size()) {}

// Exactly one interval holds any time, a time that is not a number included (the last).
bool KeyframeTrack::holds(std::size_t interval, double ticks) const {
  const bool startsBefore = interval == 0 || !(keys[interval].time > ticks);
  const bool endsAfter = interval + 1 == count || keys[interval + 1].time > ticks;
  return startsBefore && endsAfter;
}

std::size_t KeyframeTrack::intervalAt(double ticks, std::size_t& cursor) const {
  for (std::size_t i = cursor; i < std::min(cursor + 2, count); ++i)
    if (holds(i, ticks)) return cursor = i;
  const Key* later = std::upper_bound(keys, keys + count, ticks,
                                      [](double t, const Key& key) { return t < key.time; });
  const auto after = static_cast<std::size_t>(later - keys);
  return cursor = after == 0 ? 0 : after - 1;
}

glm::mat4 KeyframeTrack::localAt(double ticks, std::size_t& cursor) const {
  if (count == 0) return glm::mat4(1.0f);
  const std::size_t i = intervalAt(ticks, cursor);
  if (i + 1 == count) return pose(keys[i].position, keys[i].rotation);
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
