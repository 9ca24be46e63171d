#include "scene/MeshObject.h"

#include <glm/gtc/type_ptr.hpp>

#include "animation/Animation.h"
#include "render/CasterBounds.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/ModelCache.h"

namespace Vexa::scene {

namespace {

void loadMatrix(GLuint programId, const char* uniform, const glm::mat4& matrix) {
  glUniformMatrix4fv(glGetUniformLocation(programId, uniform), 1, GL_FALSE, glm::value_ptr(matrix));
}

// Entries past a model's highest skinning node keep what they held; entry 0 starts
// as the identity, so empty joint slots (joint 0, weight 0) read a harmless matrix.
void loadIdentityBone(const ShaderProgram* program) {
  if (!program) return;
  glUseProgram(program->programId());
  loadMatrix(program->programId(), "bonesMatrix[0]", glm::mat4(1.0f));
}

// One upload of the pose from node 0 up to the highest skinning node. The nodes in
// between that no bone names hold their own placed matrices, which no weighted
// joint reads. Entries past the shader's array are ignored by the driver.
void loadBoneMatrices(const ShaderProgram& program, const Animation& animation) {
  if (animation.skinningNodes().empty()) return;
  const GLsizei count = animation.skinningNodes().back() + 1;
  glUniformMatrix4fv(glGetUniformLocation(program.programId(), "bonesMatrix"), count, GL_FALSE,
                     glm::value_ptr(animation.boneMatrices().front()));
}

// Makes `program` current for a node's meshes, with the model's pose (on its root)
// and the node's world matrix loaded.
void usePosed(const ShaderProgram& program, const Animation* animation, const glm::mat4& world) {
  glUseProgram(program.programId());
  if (animation) loadBoneMatrices(program, *animation);
  loadMatrix(program.programId(), "modelMatrix", world);
}

// The program a node binds for its own meshes in each pass; null where it binds none.
using BoundProgram = const ShaderProgram* (*)(const SceneObject&);
const ShaderProgram* boundForDraw(const SceneObject& node) {
  return node.program();
}
const ShaderProgram* boundForShadow(const SceneObject& node) {
  return node.program() ? node.shadowProgram() : nullptr;
}

// The nodes of a model mostly share one program, so a node whose parent binds the
// same one leaves it bound; the topmost node that binds it releases it after its
// subtree. A tree drawn from its root thus leaves no program current.
void releaseAfterSubtree(const SceneObject& node, BoundProgram boundBy) {
  const ShaderProgram* bound = boundBy(node);
  if (!bound || (node.parent() && boundBy(*node.parent()) == bound)) return;
  glUseProgram(0);
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
  if (const ShaderProgram* bound = boundForDraw(*this)) {
    usePosed(*bound, animation(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->draw(*bound, materialOf(*mesh));
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->draw();
  }
  releaseAfterSubtree(*this, boundForDraw);
}

void MeshObject::drawShadow() {
  if (const ShaderProgram* bound = boundForShadow(*this)) {
    usePosed(*bound, animation(), worldMatrix);
    for (const auto& mesh : meshes()) mesh->drawTriangles();
  }
  for (const auto& child : children()) {
    if (!isMarker(*child)) child->drawShadow();
  }
  releaseAfterSubtree(*this, boundForShadow);
}

// A skinned vertex lies within the hull of where its joints' matrices put it, so
// each joint's box under its matrix bounds the vertices it moves. The pose is the
// one last loaded going down the tree: the model root's.
void MeshObject::boundShadow(CasterBounds& bounds, const Animation* pose) const {
  if (animation()) pose = animation();
  if (boundForShadow(*this)) {
    for (const auto& mesh : meshes()) {
      for (const BoundingBox& piece : mesh->unskinnedPieces()) bounds.add(piece, worldMatrix);
      for (const JointBounds& joint : mesh->jointBounds()) {
        const auto slot = static_cast<std::size_t>(joint.joint);
        const bool posed = pose && slot < pose->boneMatrices().size();
        if (posed)
          bounds.add(joint.box, pose->boneMatrices()[slot]);
        else
          bounds.coverAll();
      }
    }
  }
  for (const auto& child : children()) {
    if (isMarker(*child)) continue;
    if (const auto* node = dynamic_cast<const MeshObject*>(child.get()))
      node->boundShadow(bounds, pose);
    else
      bounds.coverAll();  // drawn in a way this node cannot bound
  }
}

void MeshObject::loadModel(const std::string& path) {
  imported = ModelCache::model(path);
  buildNodes(imported->data);
  if (imported->animation) attachAnimation(std::make_unique<Animation>(*imported->animation));
}

void MeshObject::buildModel(const ModelData& model) {
  buildNodes(model);
  if (model.animated()) attachAnimation(std::make_unique<Animation>(model));
}

void MeshObject::buildNodes(const ModelData& model) {
  std::vector<MeshObject*> nodes;
  nodes.reserve(model.nodes.size());
  for (const NodeData& data : model.nodes) {
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
    for (const MeshData& mesh : data.meshes) node->addMesh(std::make_unique<Mesh>(mesh));
    nodes.push_back(node);
  }
  Materials materials;
  for (const MaterialData& material : model.materials)
    materials.push_back(MaterialEntry::create(material));
  setMaterials(std::move(materials));
}

void MeshObject::attachAnimation(std::unique_ptr<Animation> animation) {
  setAnimation(std::move(animation));
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
