#pragma once

#include <array>
#include <glm/glm.hpp>
#include <optional>
#include <vector>

namespace Vexa::test {

/// World-space triangles of a model with their vertex normals, and the few
/// geometric questions the resource tests ask of them.
class TriangleSet {
 public:
  struct Corner {
    glm::vec3 position;
    glm::vec3 normal;
  };
  using Triangle = std::array<Corner, 3>;

  void add(const Triangle& triangle) { triangles.push_back(triangle); }
  void add(const TriangleSet& other);
  bool empty() const { return triangles.empty(); }
  TriangleSet translated(const glm::vec3& offset) const;
  const std::vector<Triangle>& all() const { return triangles; }

  glm::vec3 minimum() const;
  glm::vec3 maximum() const;
  /// Height of the first surface straight below point within depth, if any.
  std::optional<float> groundBelow(const glm::vec3& point, float depth) const;
  /// Whether the segment from a to b crosses any triangle.
  bool blocks(const glm::vec3& a, const glm::vec3& b) const;

 private:
  std::optional<float> hitDistance(const glm::vec3& origin, const glm::vec3& direction) const;

  std::vector<Triangle> triangles;
};

}  // namespace Vexa::test
