#include "render/Lighting.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace Vexa {

namespace {

// Moves clip space (-1..1) to texture space (0..1) on every axis.
const glm::mat4 bias(glm::vec4(0.5f, 0.0f, 0.0f, 0.0f), glm::vec4(0.0f, 0.5f, 0.0f, 0.0f),
                     glm::vec4(0.0f, 0.0f, 0.5f, 0.0f), glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));

void loadVector(GLuint programId, const char* uniform, const glm::vec3& value) {
  glUniform3f(glGetUniformLocation(programId, uniform), value.x, value.y, value.z);
}

}  // namespace

glm::mat4 Lighting::lightView() {
  return glm::lookAt(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::mat4 Lighting::shadowTextureMatrix(const glm::mat4& projection) {
  return bias * projection * lightView();
}

glm::vec3 Lighting::diffuseUniform(const glm::vec3& diffuseColour) {
  return diffuseColour * (1.0f / glm::length(diffuseColour));
}

void Lighting::loadLight(GLuint programId, const glm::vec3& diffuseColour,
                         const glm::vec3& specularColour) {
  glUniform1f(glGetUniformLocation(programId, "lightPower"), power);
  loadVector(programId, "lightPosition", position);
  glUniform1f(glGetUniformLocation(programId, "specExp"), specularExponent);
  loadVector(programId, "Ld", diffuseUniform(diffuseColour));
  loadVector(programId, "Ls", specularColour);
}

void Lighting::loadShadowTextureMatrix(GLuint programId, const glm::mat4& matrix) {
  const GLint location = glGetUniformLocation(programId, "shadow_tex_mat");
  if (location != -1) glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(matrix));
}

}  // namespace Vexa
