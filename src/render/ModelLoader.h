#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct aiMesh;
struct aiNode;
struct aiScene;

namespace Vexa {

struct MeshData;
namespace scene {
class MeshObject;
}

/// Turns a COLLADA file read by Assimp into a tree of MeshObject nodes below a
/// root: nodes numbered in pre-order, meshes uploaded, bone offsets written into
/// the nodes the bones name, the model's materials and its clip given to the root.
class ModelLoader {
 public:
  explicit ModelLoader(scene::MeshObject& root);

  /// Never returns on failure: "model could not be loaded: " and Assimp's error.
  void load(const std::string& path);

  /// The Assimp steps the game imports with (0x80824B).
  static unsigned importFlags();

 private:
  void buildNode(scene::MeshObject& node, const aiNode& source);
  void readMeshes(scene::MeshObject& node, const aiNode& source) const;
  MeshData meshData(const aiMesh& source) const;
  void readBones(const aiMesh& source, MeshData& data) const;
  void readMaterials();
  void readAnimation();

  scene::MeshObject& root;
  const aiScene* scene = nullptr;
  std::int32_t nextNodeIndex = 0;
  std::vector<std::pair<scene::MeshObject*, const aiNode*>> meshNodes;
};

}  // namespace Vexa
