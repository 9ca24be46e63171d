#include "TriangleSet.h"

#include <limits>

namespace Vexa::test {

void TriangleSet::add(const TriangleSet& other) {
  triangles.insert(triangles.end(), other.triangles.begin(), other.triangles.end());
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

}  // namespace Vexa::test
