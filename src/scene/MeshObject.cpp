#include "scene/MeshObject.h"

#include <cstdio>
#include <glm/gtc/type_ptr.hpp>

#include "animation/Animation.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"

namespace Vexa::scene {

namespace {

void loadMatrix(GLuint programId, const char* uniform, const glm::mat4& matrix) {
  glUniformMatrix4fv(glGetUniformLocation(programId, uniform), 1, GL_FALSE, glm::value_ptr(matrix));
}

void loadModelMatrix(const ShaderProgram& program, const glm::mat4& world) {
  glUseProgram(program.programId());
  loadMatrix(program.programId(), "modelMatrix", world);
}

// Entries no node of the pose fills keep what they held; entry 0 starts as the
// identity, so empty joint slots (joint 0, weight 0) read a harmless matrix.
void loadIdentityBone(const ShaderProgram* program) {
  if (!program) return;
  glUseProgram(program->programId());
  loadMatrix(program->programId(), "bonesMatrix[0]", glm::mat4(1.0f));
}

void loadBoneMatrices(const ShaderProgram& program, const Animation& animation) {
  glUseProgram(program.programId());
  char uniform[21];
  for (const std::int32_t node : animation.skinningNodes()) {
    std::snprintf(uniform, sizeof uniform, "bonesMatrix[%d]", node);
    loadMatrix(program.programId(), uniform,
               animation.boneMatrices()[static_cast<std::size_t>(node)]);
  }
}

}  // namespace

MeshObject::MeshObject(ShaderProgram* program, ShaderProgram* shadowProgram)
    : SceneObject(program, shadowProgram) {}

void MeshObject::updateOwnPose(const glm::mat4& parentWorld) {
  // An identity local matrix keeps the parent's world matrix bit for bit.
  worldMatrix = localMatrix == glm::mat4(1.0f) ? parentWorld : parentWorld * localMatrix;
  if (animation() && animation()->posing()) animation()->advance(localMatrix);
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
  if (program()) {
    if (animation()) loadBoneMatrices(*program(), *animation());
    loadModelMatrix(*program(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->draw(*program(), materialOf(*mesh));
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->draw();
  }
}

void MeshObject::drawShadow() {
  if (program() && shadowProgram()) {
    if (animation()) loadBoneMatrices(*shadowProgram(), *animation());
    loadModelMatrix(*shadowProgram(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->drawShadow(*shadowProgram());
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->drawShadow();
  }
}

void MeshObject::loadModel(const std::string& path) {
  buildModel(ModelLoader::load(path));
}

void MeshObject::buildModel(ModelData model) {
  const bool skinned = model.skinned();
  std::vector<MeshObject*> nodes;
  nodes.reserve(model.nodes.size());
  for (NodeData& data : model.nodes) {
    MeshObject* node = this;
    if (data.parent >= 0) {
      auto child = std::make_unique<MeshObject>(program(), shadowProgram());
      node = &static_cast<MeshObject&>(
          nodes[static_cast<std::size_t>(data.parent)]->addChild(std::move(child)));
    }
    node->setName(data.name);
    node->localMatrix = data.localMatrix;
    node->setNodeIndex(static_cast<std::int32_t>(nodes.size()));
    node->setModelRoot(this);
    for (MeshData& mesh : data.meshes) node->addMesh(std::make_unique<Mesh>(std::move(mesh)));
    nodes.push_back(node);
  }
  Materials materials;
  for (const MaterialData& material : model.materials)
    materials.push_back(MaterialEntry::create(material));
  setMaterials(std::move(materials));
  if (!model.clip && !skinned) return;
  setAnimation(std::make_unique<Animation>(model));
  loadIdentityBone(program());
  loadIdentityBone(shadowProgram());
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
