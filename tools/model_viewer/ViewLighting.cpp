#include "ViewLighting.h"

#include <glm/gtc/type_ptr.hpp>

namespace Vexa::viewer {

void ViewLighting::load(GLuint program) const {
  glUseProgram(program);
  const auto vector = [program](const char* name, const glm::vec3& value) {
    glUniform3fv(glGetUniformLocation(program, name), 1, glm::value_ptr(value));
  };
  const auto matrix = [program](const char* name, const glm::mat4& value) {
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(value));
  };
  matrix("projectionMatrix", projection);
  matrix("viewMatrix", view);
  vector("cameraPosition", eye);
  vector("lightPosition", light);
  vector("Ld", diffuse);
  vector("Ls", specular);
  glUniform1f(glGetUniformLocation(program, "lightPower"), power);
  glUniform1f(glGetUniformLocation(program, "specExp"), specularExponent);
}

}  // namespace Vexa::viewer
