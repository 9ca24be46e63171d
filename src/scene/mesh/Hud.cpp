#include "scene/mesh/Hud.h"

#include <glm/gtc/matrix_transform.hpp>

#include "physic/PhysicsWorld.h"
#include "render/ShaderProgram.h"
#include "scene/mesh/Player.h"

namespace Vexa::scene::mesh {

Hud::Hud(ShaderProgram* program, PhysicsWorld* world, const Player* player, float width,
         float height)
    : MeshObject(program, nullptr), world(world), player(player) {
  loadModel("Resources/Models/crosshair.dae");
  fitWindow(width, height);
}

void Hud::fitWindow(float width, float height) {
  const glm::mat4 centred = glm::translate(glm::mat4(1.0f), {width * 0.5f, height * 0.5f, 0.0f});
  localMatrix = glm::scale(centred, glm::vec3(crosshairScale));
}

void Hud::updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) {
  targeted = world->pickDynamicBody(player->viewDirection()) != nullptr;
  MeshObject::updateWithoutCamera(elapsedSeconds, parentWorld);
}

void Hud::draw() {
  const GLuint id = program()->programId();
  glUseProgram(id);
  glUniform1f(glGetUniformLocation(id, "hitEnemy"), targeted ? 1.0f : 0.0f);
  MeshObject::draw();
}

}  // namespace Vexa::scene::mesh
