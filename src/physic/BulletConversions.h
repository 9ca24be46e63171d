#pragma once

#include <LinearMath/btVector3.h>

#include <glm/vec3.hpp>

namespace Vexa::physic {

inline btVector3 toBullet(const glm::vec3& v) {
  return {v.x, v.y, v.z};
}

inline glm::vec3 toGlm(const btVector3& v) {
  return {v.x(), v.y(), v.z()};
}

}  // namespace Vexa::physic
