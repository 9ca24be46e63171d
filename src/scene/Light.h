#pragma once

#include <glm/vec3.hpp>

namespace Vexa::scene {

/// A light an object brings into the scene (the level geometry's sun).
struct Light {
  glm::vec3 diffuseColour{1.0f};
  glm::vec3 specularColour{1.0f};
  glm::vec3 position{0.0f};
};

}  // namespace Vexa::scene
