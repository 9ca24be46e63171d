#pragma once

// Small geometry of the game's world, whose y axis points up: seen from above, a
// point lies at its (x, z).

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace Vexa {

/// π to the twelve digits the game's headings and gaits are computed with.
inline constexpr double pi = 3.14159265359;

/// The (x, z) of `v`: where it lies seen from above.
inline glm::vec2 horizontal(const glm::vec3& v) {
  return {v.x, v.z};
}

/// How far apart `a` and `b` lie seen from above.
inline float horizontalDistance(const glm::vec3& a, const glm::vec3& b) {
  return glm::length(horizontal(a - b));
}

}  // namespace Vexa
