#pragma once

#include <array>
#include <glm/glm.hpp>
#include <vector>

namespace Vexa::test {

/// World-space triangles of a model with their vertex normals, and their bounds.
/// Rays are cast at the model's static bodies instead (see `ImportedModel::staticBody`).
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
  const std::vector<Triangle>& all() const { return triangles; }

  glm::vec3 minimum() const;
  glm::vec3 maximum() const;

 private:
  std::vector<Triangle> triangles;
};

}  // namespace Vexa::test
