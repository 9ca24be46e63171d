#include "ModelCamera.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>

#include "render/Mesh.h"

namespace Vexa::viewer {

namespace {

struct Bounds {
  glm::vec3 low{std::numeric_limits<float>::max()};
  glm::vec3 high{std::numeric_limits<float>::lowest()};

  void include(const scene::SceneObject& node) {
    const auto* meshNode = dynamic_cast<const scene::MeshObject*>(&node);
    for (const auto& mesh : node.meshes()) {
      for (const glm::vec3& p : mesh->positions()) {
        const glm::vec3 world = meshNode->worldMatrix * glm::vec4(p, 1.0f);
        low = glm::min(low, world);
        high = glm::max(high, world);
      }
    }
    for (const auto& child : node.children()) include(*child);
  }

  bool empty() const { return low.x > high.x; }
};

}  // namespace

ModelCamera::ModelCamera(const scene::MeshObject& model, float aspect, float margin) {
  Bounds bounds;
  bounds.include(model);
  const glm::vec3 centre = bounds.empty() ? glm::vec3(0.0f) : (bounds.low + bounds.high) * 0.5f;
  const float radius =
      bounds.empty() ? 1.0f : std::max(glm::length(bounds.high - bounds.low) * 0.5f, 1e-3f);
  const float fieldOfView = glm::radians(40.0f);
  const float distance = radius / std::sin(fieldOfView * 0.5f) * 1.1f * margin;
  eyePosition = centre + glm::normalize(glm::vec3(0.45f, 0.35f, 1.0f)) * distance;
  camera.view = glm::lookAt(eyePosition, centre, glm::vec3(0, 1, 0));
  const float depth = radius * 1.5f * margin;
  const float near = std::max(distance - depth, radius * 0.01f);
  camera.projection = glm::perspective(fieldOfView, aspect, near, distance + depth);
}

}  // namespace Vexa::viewer
