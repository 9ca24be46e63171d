#include "scene/MeshObject.h"

#include <glm/gtc/type_ptr.hpp>

#include "animation/Animation.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"

namespace Vexa::scene {

namespace {

void loadModelMatrix(const ShaderProgram& program, const glm::mat4& world) {
  glUseProgram(program.programId());
  glUniformMatrix4fv(glGetUniformLocation(program.programId(), "modelMatrix"), 1, GL_FALSE,
                     glm::value_ptr(world));
}

}  // namespace

MeshObject::MeshObject(ShaderProgram* program, ShaderProgram* shadowProgram)
    : SceneObject(program, shadowProgram) {}

void MeshObject::updateOwnPose(const glm::mat4& parentWorld) {
  // An identity local matrix keeps the parent's world matrix bit for bit.
  worldMatrix = localMatrix == glm::mat4(1.0f) ? parentWorld : parentWorld * localMatrix;
  if (animation() && animation()->playing) animation()->advance();
}

void MeshObject::update(double elapsedSeconds, const glm::mat4& parentWorld,
                        const CameraMatrices& camera, bool culling) {
  updateOwnPose(parentWorld);
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->update(elapsedSeconds, worldMatrix, camera, culling);
  }
}

void MeshObject::updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) {
  updateOwnPose(parentWorld);
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->updateWithoutCamera(elapsedSeconds, worldMatrix);
  }
}

// The bone matrices go up before any mesh is drawn, so skinned meshes on the root
// itself see the current pose just as those of its children do.
void MeshObject::draw() {
  if (animation() && program()) animation()->uploadBoneMatrices(program()->programId());
  if (program()) {
    loadModelMatrix(*program(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->draw();
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->draw();
  }
}

void MeshObject::drawShadow() {
  const bool castsShadow = program() && shadowProgram();
  if (animation() && castsShadow) animation()->uploadBoneMatrices(shadowProgram()->programId());
  if (castsShadow) {
    loadModelMatrix(*shadowProgram(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->drawShadow();
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->drawShadow();
  }
}

void MeshObject::loadModel(const std::string& path) {
  ModelLoader(*this).load(path);
}

MeshObject* MeshObject::findNode(const std::string& name) {
  if (this->name() == name) return this;
  for (const auto& child : children()) {
    auto* node = dynamic_cast<MeshObject*>(child.get());
    if (MeshObject* found = node ? node->findNode(name) : nullptr) return found;
  }
  return nullptr;
}

}  // namespace Vexa::scene
