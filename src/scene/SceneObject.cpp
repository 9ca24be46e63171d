#include "scene/SceneObject.h"

#include "animation/Animation.h"
#include "animation/KeyframeTrack.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"

namespace Vexa::scene {

SceneObject::SceneObject(ShaderProgram* program, ShaderProgram* shadowProgram)
    : mainProgram(program), shadowPassProgram(shadowProgram) {}

SceneObject::~SceneObject() = default;

glm::mat4 SceneObject::globalMatrix() const {
  return parentNode ? parentNode->globalMatrix() * localMatrix : localMatrix;
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

void SceneObject::setKeyframes(std::unique_ptr<KeyframeTrack> keyframes) {
  track = std::move(keyframes);
}

void SceneObject::setAnimation(std::unique_ptr<Animation> animation) {
  clip = std::move(animation);
}

bool SceneObject::isMarker(const SceneObject& child) {
  const std::string& name = child.name();
  return name == "Armature" || name == "Spawner" || name == "Events";
}

}  // namespace Vexa::scene
