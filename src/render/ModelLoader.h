#pragma once

#include <string>

#include "render/ModelData.h"

namespace Assimp {
class Importer;
}
struct aiAnimation;
struct aiMesh;
struct aiNode;
struct aiScene;

namespace Vexa {

/// Reads a COLLADA file through Assimp into CPU-side model data: nodes numbered
/// in pre-order, their meshes with bone records naming node numbers, the bone
/// offsets in the nodes the bones name, the materials and the clip. Everything a
/// frame would otherwise trip over is checked here, once.
class ModelLoader {
 public:
  /// Never returns on failure: "model could not be loaded: " and Assimp's error or
  /// what is wrong with the file (a bone numbered past the skinning shaders' slots,
  /// key times that do not increase).
  static ModelData load(const std::string& path);

  /// Reads `path` with the import steps and the bone-weight limit of every model
  /// of the game; the scene lives as long as `importer`. Null when Assimp refuses.
  static const aiScene* read(Assimp::Importer& importer, const std::string& path);

  /// Gives each channel of `clip` that names a node of `model` its track. A channel
  /// whose rotation or scale key count differs from its position key count ends the
  /// game with "animations keyframe number is not synchron"; keys whose times do not
  /// increase end it with the model message.
  static ClipData readClip(const aiAnimation& clip, const ModelData& model);

 private:
  explicit ModelLoader(const aiScene& scene);

  void readNode(const aiNode& source, std::int32_t parent);
  void readMeshes();
  MeshData meshData(const aiMesh& source);
  void readBones(const aiMesh& source, MeshData& data);
  void readMaterials();
  void readAnimation();

  const aiScene& scene;
  ModelData model;
  std::vector<const aiNode*> sourceNodes;
};

}  // namespace Vexa
