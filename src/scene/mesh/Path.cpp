#include "scene/mesh/Path.h"

#include <glm/gtc/matrix_transform.hpp>

#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "platform/Fatal.h"
#include "scene/LevelFiles.h"

namespace Vexa::scene::mesh {

namespace {

const Light sunLight{{1.0f, 0.96f, 0.696f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}};

}  // namespace

Path::Path(ShaderProgram* program, ShaderProgram* shadowProgram, int levelNumber,
           PhysicsWorld* physicsWorld)
    : MeshObject(program, shadowProgram),
      path(levelPath(levelNumber)),
      levelScaleFactor(levelScale),
      physicsWorld(physicsWorld) {
  loadModel(path);
  localMatrix = glm::scale(localMatrix, glm::vec3(levelScaleFactor));
  buildGround();
  addSunLight();
}

MeshObject& Path::requiredNode(const std::string& name) {
  MeshObject* node = findNode(name);
  if (!node) fatalError("level file " + path + " has no node \"" + name + "\"");
  return *node;
}

void Path::buildGround() {
  const MeshObject* ground = findNode(levelNode);
  if (!ground || ground->meshes().empty()) return;
  physicsWorld->groundBody = &physicsWorld->addStaticBody(ground->staticBody(true));
}

void Path::addSunLight() {
  Light light = sunLight;
  light.position = glm::vec3(requiredNode(sunNode).globalMatrix()[3]);
  lights.push_back(light);
}

}  // namespace Vexa::scene::mesh
