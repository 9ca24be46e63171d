#include "scene/mesh/LevelText.h"

#include <glm/gtc/matrix_transform.hpp>

#include "scene/LevelFiles.h"

namespace Vexa::scene::mesh {

LevelText::LevelText(ShaderProgram* program, ShaderProgram* shadowProgram, int levelNumber)
    : MeshObject(program, shadowProgram) {
  loadModel(levelTitlePath(levelNumber));
  localMatrix = placement(localMatrix);
}

glm::mat4 LevelText::placement(const glm::mat4& loaded) {
  const glm::mat4 moved = glm::translate(loaded, glm::vec3(-200.0f, 80.0f, 30.0f));
  return glm::rotate(glm::scale(moved, glm::vec3(40.0f)), glm::radians(90.0f),
                     glm::vec3(0.0f, 0.0f, 1.0f));
}

}  // namespace Vexa::scene::mesh
