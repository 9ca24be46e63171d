#include "scene/mesh/Terrain.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Vexa::scene::mesh {

Terrain::Terrain(ShaderProgram* program) : MeshObject(program, nullptr) {
  loadModel("Resources/Models/terrain.dae");
  localMatrix = farPlacement(localMatrix);
}

glm::mat4 Terrain::farPlacement(const glm::mat4& loaded) {
  return glm::scale(glm::translate(loaded, glm::vec3(0.0f, 0.0f, -600.0f)), glm::vec3(1000.0f));
}

}  // namespace Vexa::scene::mesh
