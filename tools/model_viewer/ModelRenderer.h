#pragma once

#include <vector>

#include "OffscreenTarget.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"

namespace Vexa::viewer {

/// Renders a model into an offscreen image with the game's enemy program: lit by
/// one white light beside the camera, surfaces from the model's materials, skinned
/// vertices placed by the bone matrices of the current pose.
class ModelRenderer {
 public:
  /// `framingMargin` above 1 pulls the camera back, for models that move far.
  ModelRenderer(int width, int height, float framingMargin = 1.0f);

  /// The program models must be built with to be rendered here.
  ShaderProgram* program() { return &lit; }

  /// Updates the model (which advances a playing animation), frames it on the first
  /// render and renders it; returns RGBA rows from the bottom up.
  std::vector<unsigned char> render(scene::MeshObject& model);
  /// Forgets the framing, so the next render frames the model anew.
  void reframe() { framed = false; }

  int width() const { return target.width(); }
  int height() const { return target.height(); }

 private:
  void setViewUniforms() const;

  ShaderProgram lit;
  OffscreenTarget target;
  scene::CameraMatrices camera;
  glm::vec3 eye{0.0f};
  bool framed = false;
  float margin;
};

}  // namespace Vexa::viewer
