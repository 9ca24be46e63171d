#pragma once

#include <GL/glew.h>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace Vexa::viewer {

/// A camera and one light, as the game's lit programs read them.
struct ViewLighting {
  glm::mat4 projection{1.0f};
  glm::mat4 view{1.0f};
  glm::vec3 eye{0.0f};
  glm::vec3 light{0.0f};
  glm::vec3 diffuse{0.8f};
  glm::vec3 specular{0.3f};
  float power = 1.0f;
  float specularExponent = 16.0f;

  /// Makes `program` current and loads the camera and light into it.
  void load(GLuint program) const;
};

}  // namespace Vexa::viewer
