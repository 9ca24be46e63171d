#pragma once

#include <GL/glew.h>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace Vexa {

/// The one light of every level: its shading position and shadow camera are fixed,
/// its colours come from the level's sun. Loads what the lit programs read.
class Lighting {
 public:
  static constexpr glm::vec3 position{-20.0f, 300.0f, -20.0f};
  static constexpr glm::vec3 target{-10.0f, 0.0f, -150.0f};
  static constexpr float power = 0.3f;
  static constexpr float specularExponent = 400.0f;

  /// The shadow camera: from the light's position towards its target, y up.
  static glm::mat4 lightView();
  /// Maps a world point into the shadow map's texture space: bias × `projection` ×
  /// light view. The shadow casters are drawn with the camera's `projection` too.
  static glm::mat4 shadowTextureMatrix(const glm::mat4& projection);
  /// The diffuse colour the shaders receive: the sun's, of unit length.
  static glm::vec3 diffuseUniform(const glm::vec3& diffuseColour);

  /// Loads "lightPower", "lightPosition", "specExp", "Ld" and "Ls" into the current
  /// program `programId`.
  static void loadLight(GLuint programId, const glm::vec3& diffuseColour,
                        const glm::vec3& specularColour);
  /// Loads "shadow_tex_mat" into the current program, if it has one.
  static void loadShadowTextureMatrix(GLuint programId, const glm::mat4& matrix);
};

}  // namespace Vexa
