#pragma once

#include <cstdint>
#include <glm/common.hpp>
#include <glm/vec3.hpp>
#include <limits>

namespace Vexa {

/// An axis-aligned box; empty until a point is added.
struct BoundingBox {
  glm::vec3 min{std::numeric_limits<float>::max()};
  glm::vec3 max{std::numeric_limits<float>::lowest()};

  void add(const glm::vec3& point) {
    min = glm::min(min, point);
    max = glm::max(max, point);
  }
  bool empty() const { return min.x > max.x; }
};

/// The box of the vertices one joint moves (those it weighs on), in the mesh's space.
struct JointBounds {
  std::int32_t joint = 0;
  BoundingBox box;
};

}  // namespace Vexa
