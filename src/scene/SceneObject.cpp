#include "scene/SceneObject.h"

#include <btBulletDynamicsCommon.h>

#include "animation/Animation.h"
#include "physic/StaticRigidBody.h"
#include "platform/LoadTimes.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"
#include "scene/LevelFiles.h"
#include "scene/mesh/CharacterModels.h"

namespace Vexa::scene {

SceneObject::SceneObject(ShaderProgram* program, ShaderProgram* shadowProgram)
    : mainProgram(program), shadowPassProgram(shadowProgram) {}

SceneObject::~SceneObject() = default;

glm::mat4 SceneObject::globalMatrix() const {
  return parentNode ? parentNode->globalMatrix() * localMatrix : localMatrix;
}

std::unique_ptr<physic::StaticRigidBody> SceneObject::staticBody(bool heavy) const {
  const LoadTimes::Scope timed(LoadTimes::Cause::PhysicsBuild);
  auto triangles = std::make_unique<btTriangleMesh>(/*use32bitIndices=*/true,
                                                    /*use4componentVertices=*/true);
  const glm::mat4 transform = globalMatrix();
  for (const auto& mesh : meshList)
    physic::StaticRigidBody::collectTriangles(transform, mesh->positions(), mesh->indices(),
                                              *triangles);
  return std::make_unique<physic::StaticRigidBody>(std::move(triangles), heavy);
}

SceneObject& SceneObject::addChild(std::unique_ptr<SceneObject> child) {
  child->parentNode = this;
  childNodes.push_back(std::move(child));
  return *childNodes.back();
}

void SceneObject::addMesh(std::unique_ptr<Mesh> mesh) {
  meshList.push_back(std::move(mesh));
}

void SceneObject::setMaterials(Materials materials) {
  materialList = std::move(materials);
}

const MaterialEntry* SceneObject::materialOf(const Mesh& mesh) const {
  if (!modelRoot) return nullptr;
  const Materials& materials = modelRoot->materials();
  const std::uint32_t index = mesh.materialIndex();
  return index < materials.size() ? materials[index].get() : nullptr;
}

void SceneObject::setAnimation(std::unique_ptr<Animation> animation) {
  clip = std::move(animation);
}

bool SceneObject::isMarker(const SceneObject& child) {
  const std::string& name = child.name();
  return name == mesh::skeletonRootNode || name == spawnerNode || name == eventsNode;
}

}  // namespace Vexa::scene
