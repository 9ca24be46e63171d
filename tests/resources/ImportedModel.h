#pragma once

#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <functional>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

#include "TriangleSet.h"
#include "physic/StaticRigidBody.h"
#include "scene/LevelFiles.h"

namespace Vexa::test {

/// A resource model read through Assimp exactly as the game reads it, with the
/// game's own placement of the loaded root applied on top (the level scale, a
/// title's or a prop's placement), so that positions come out in world units.
class ImportedModel {
 public:
  /// What the game makes of the matrix of a model's loaded root.
  using Placement = std::function<glm::mat4(const glm::mat4& loaded)>;

  /// Fails the current test (and leaves the model empty) when Assimp cannot read the file.
  explicit ImportedModel(const std::string& path, Placement place = unplaced);

  bool loaded() const { return scene != nullptr; }
  const aiNode* node(const std::string& name) const;
  const aiNode* root() const { return scene->mRootNode; }
  /// The node's transform up to the root, the root's placement included.
  glm::mat4 globalMatrix(const aiNode& node) const;
  glm::vec3 position(const aiNode& node) const { return glm::vec3(globalMatrix(node)[3]); }
  /// The node's own meshes (not its children's) in world space.
  TriangleSet meshes(const aiNode& node) const;
  /// Every mesh of the node's subtree in world space.
  TriangleSet subtreeMeshes(const aiNode& node) const;
  /// The node's own meshes as the static body the game makes of a level node: their
  /// triangles collected in world space through `StaticRigidBody::collectTriangles`.
  std::unique_ptr<physic::StaticRigidBody> staticBody(const aiNode& node, bool heavy) const;
  /// The diffuse texture names that the materials give, in material order.
  std::vector<std::string> textureNames() const;
  unsigned colourMaterialCount() const;

  static glm::mat4 unplaced(const glm::mat4& loaded) { return loaded; }
  /// The game's level loader scales the loaded root.
  static glm::mat4 levelScaled(const glm::mat4& loaded) {
    return glm::scale(loaded, glm::vec3(levelScale));
  }

 private:
  void addMeshes(const aiNode& node, TriangleSet& set) const;

  Assimp::Importer importer;
  const aiScene* scene = nullptr;
  Placement placement;
};

}  // namespace Vexa::test
