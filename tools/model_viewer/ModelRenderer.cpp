#include "ModelRenderer.h"

#include "ModelCamera.h"
#include "ViewLighting.h"

namespace Vexa::viewer {

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
  ViewLighting lighting;
  lighting.projection = camera.projection;
  lighting.view = camera.view;
  lighting.eye = eye;
  lighting.light = eye + glm::vec3(camera.view[0]) * 5.0f;
  lighting.load(id);
  // Until a material says otherwise, surfaces are a plain light grey.
  glUniform1i(glGetUniformLocation(id, "useTexture"), 0);
  glUniform3f(glGetUniformLocation(id, "material"), 0.7f, 0.7f, 0.7f);
}

}  // namespace Vexa::viewer
