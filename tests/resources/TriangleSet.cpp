#include "TriangleSet.h"

#include <algorithm>
#include <limits>

namespace Vexa::test {
namespace {

/// Moeller-Trumbore: distance along a unit direction, both faces counted.
std::optional<float> intersect(const TriangleSet::Triangle& t, const glm::vec3& origin,
                               const glm::vec3& direction) {
  const glm::vec3 edge1 = t[1].position - t[0].position;
  const glm::vec3 edge2 = t[2].position - t[0].position;
  const glm::vec3 p = glm::cross(direction, edge2);
  const float determinant = glm::dot(edge1, p);
  if (std::abs(determinant) < 1e-9f) return std::nullopt;
  const glm::vec3 s = origin - t[0].position;
  const float u = glm::dot(s, p) / determinant;
  if (u < 0.0f || u > 1.0f) return std::nullopt;
  const glm::vec3 q = glm::cross(s, edge1);
  const float v = glm::dot(direction, q) / determinant;
  if (v < 0.0f || u + v > 1.0f) return std::nullopt;
  const float distance = glm::dot(edge2, q) / determinant;
  if (distance < 0.0f) return std::nullopt;
  return distance;
}

}  // namespace

void TriangleSet::add(const TriangleSet& other) {
  triangles.insert(triangles.end(), other.triangles.begin(), other.triangles.end());
}

TriangleSet TriangleSet::translated(const glm::vec3& offset) const {
  TriangleSet result = *this;
  for (Triangle& t : result.triangles)
    for (Corner& c : t) c.position += offset;
  return result;
}

glm::vec3 TriangleSet::minimum() const {
  glm::vec3 result(std::numeric_limits<float>::max());
  for (const Triangle& t : triangles)
    for (const Corner& c : t) result = glm::min(result, c.position);
  return result;
}

glm::vec3 TriangleSet::maximum() const {
  glm::vec3 result(std::numeric_limits<float>::lowest());
  for (const Triangle& t : triangles)
    for (const Corner& c : t) result = glm::max(result, c.position);
  return result;
}

std::optional<float> TriangleSet::groundBelow(const glm::vec3& point, float depth) const {
  const std::optional<float> distance = hitDistance(point, glm::vec3(0.0f, -1.0f, 0.0f));
  if (!distance || *distance > depth) return std::nullopt;
  return point.y - *distance;
}

bool TriangleSet::blocks(const glm::vec3& a, const glm::vec3& b) const {
  const std::optional<float> distance = hitDistance(a, glm::normalize(b - a));
  return distance && *distance <= glm::length(b - a);
}

std::optional<float> TriangleSet::hitDistance(const glm::vec3& origin,
                                              const glm::vec3& direction) const {
  std::optional<float> nearest;
  for (const Triangle& t : triangles) {
    const std::optional<float> distance = intersect(t, origin, direction);
    if (distance && (!nearest || *distance < *nearest)) nearest = distance;
  }
  return nearest;
}

}  // namespace Vexa::test
