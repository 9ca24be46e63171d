#pragma once

#include <array>
#include <cstdint>
#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scene/CameraMatrices.h"
#include "scene/Light.h"

namespace Vexa {
class Animation;
class MaterialEntry;
class Mesh;
class ShaderProgram;
namespace physic {
class StaticRigidBody;
}
}  // namespace Vexa

namespace Vexa::scene {

/// A node of a model tree and the base of everything drawn in a level. A node owns
/// its children and its meshes; a model's root also owns the model's materials and
/// its animation. Programs are borrowed from the level.
class SceneObject {
 public:
  using Children = std::vector<std::unique_ptr<SceneObject>>;
  using Meshes = std::vector<std::unique_ptr<Mesh>>;
  /// Indexed by the model file's material index; a null entry draws with whatever
  /// colour or texture the program last held.
  using Materials = std::vector<std::unique_ptr<MaterialEntry>>;

  SceneObject(ShaderProgram* program, ShaderProgram* shadowProgram);
  virtual ~SceneObject();
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;

  virtual void update(double elapsedSeconds, const glm::mat4& parentWorld,
                      const CameraMatrices& camera, bool culling) = 0;
  virtual void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) = 0;
  virtual void draw() = 0;
  virtual void drawShadow() = 0;

  /// The parent chain's product with `localMatrix`; a root gives its `localMatrix`.
  glm::mat4 globalMatrix() const;

  /// A static body of the triangles of this node's own meshes (not its children's)
  /// in world space: level geometry, an elevator, a door.
  std::unique_ptr<physic::StaticRigidBody> staticBody(bool heavy) const;

  SceneObject* parent() const { return parentNode; }
  const Children& children() const { return childNodes; }
  /// Appends `child` and makes this node its parent.
  SceneObject& addChild(std::unique_ptr<SceneObject> child);

  const std::string& name() const { return nodeName; }
  void setName(std::string name) { nodeName = std::move(name); }

  /// The node's number in its model (pre-order from 0): the skinning index of the
  /// bone that bears its name and its place in the animation's pose. -1 for an
  /// object not loaded from a model.
  std::int32_t nodeIndex() const { return nodeNumber; }
  void setNodeIndex(std::int32_t index) { nodeNumber = index; }

  const Meshes& meshes() const { return meshList; }
  void addMesh(std::unique_ptr<Mesh> mesh);

  const Materials& materials() const { return materialList; }
  void setMaterials(Materials materials);
  /// The material this node's `mesh` draws with: an entry of its model root's
  /// materials, or null (a null entry, an index past them, or no model root).
  const MaterialEntry* materialOf(const Mesh& mesh) const;
  /// The node whose materials this node's meshes draw with.
  void setModelRoot(const SceneObject* root) { modelRoot = root; }

  Animation* animation() const { return clip.get(); }
  void setAnimation(std::unique_ptr<Animation> animation);

  ShaderProgram* program() const { return mainProgram; }
  /// Draws this node (not its children) with these programs from now on; without
  /// a shadow program it casts no shadow.
  void setPrograms(ShaderProgram* program, ShaderProgram* shadowProgram) {
    mainProgram = program;
    shadowPassProgram = shadowProgram;
  }
  ShaderProgram* shadowProgram() const { return shadowPassProgram; }

  /// Transform relative to the parent; levels, enemies and props write it.
  glm::mat4 localMatrix{1.0f};
  /// An object out of play: the scene container skips it in every traversal.
  bool hidden = false;
  /// Object-space box corners for view-frustum culling; without them the object is never culled.
  std::optional<std::array<glm::vec4, 8>> boundingCorners;
  /// Lights this object brings into the scene.
  std::vector<Light> lights;

 protected:
  /// Marker children ("Armature", "Spawner", "Events", exact names) are never
  /// updated or drawn as part of their parent.
  static bool isMarker(const SceneObject& child);

 private:
  Children childNodes;
  Meshes meshList;
  Materials materialList;
  SceneObject* parentNode = nullptr;
  std::int32_t nodeNumber = -1;
  const SceneObject* modelRoot = nullptr;
  std::unique_ptr<Animation> clip;
  ShaderProgram* mainProgram;
  ShaderProgram* shadowPassProgram;
  std::string nodeName;
};

}  // namespace Vexa::scene
