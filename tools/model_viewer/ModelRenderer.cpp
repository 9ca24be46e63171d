#include "ModelRenderer.h"

#include <glm/gtc/type_ptr.hpp>

#include "ModelCamera.h"

namespace Vexa::viewer {

namespace {

void setVector(GLuint program, const char* name, const glm::vec3& value) {
  glUniform3fv(glGetUniformLocation(program, name), 1, glm::value_ptr(value));
}

void setMatrix(GLuint program, const char* name, const glm::mat4& value) {
  glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(value));
}

}  // namespace

ModelRenderer::ModelRenderer(int width, int height, float framingMargin)
    : lit("Shader/enemy_shader.vert", "Shader/enemy_shader.frag"),
      target(width, height),
      margin(framingMargin) {}

// The framing of the first pose stays for the later ones, so that a model's
// movement through its clip shows against a fixed camera.
std::vector<unsigned char> ModelRenderer::render(scene::MeshObject& model) {
  model.updateWithoutCamera(0.0, glm::mat4(1.0f));
  if (!framed) {
    const ModelCamera framing(model, static_cast<float>(width()) / static_cast<float>(height()),
                              margin);
    camera = framing.matrices();
    eye = framing.eye();
    framed = true;
  }
  target.begin();
  setViewUniforms();
  model.draw();
  glUseProgram(0);
  return target.pixels();
}

void ModelRenderer::setViewUniforms() const {
  const GLuint id = lit.programId();
  glUseProgram(id);
  setMatrix(id, "projectionMatrix", camera.projection);
  setMatrix(id, "viewMatrix", camera.view);
  setVector(id, "cameraPosition", eye);
  setVector(id, "lightPosition", eye + glm::vec3(camera.view[0]) * 5.0f);
  setVector(id, "Ld", glm::vec3(0.8f));
  setVector(id, "Ls", glm::vec3(0.3f));
  glUniform1f(glGetUniformLocation(id, "lightPower"), 1.0f);
  glUniform1f(glGetUniformLocation(id, "specExp"), 16.0f);
  // Until a material says otherwise, surfaces are a plain light grey.
  glUniform1i(glGetUniformLocation(id, "useTexture"), 0);
  setVector(id, "material", glm::vec3(0.7f));
}

}  // namespace Vexa::viewer
