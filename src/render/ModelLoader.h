#pragma once

#include <optional>
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
/// frame would otherwise trip over is checked here, once: whatever scene Assimp
/// returns gives either data the game can draw and animate or a message.
class ModelLoader {
 public:
  /// Data read, or the message that ends the game: "model could not be loaded: "
  /// and Assimp's error or what is wrong with the file, or the clip's own message.
  template <class Data>
  struct Reading {
    std::optional<Data> data;
    std::string failure;
  };

  /// Imports `path` in a guarded child process (memory and time limits) that
  /// serves every import of the game, so a file on which Assimp crashes, aborts,
  /// hangs or runs away ends the game with "model could not be loaded: " and what
  /// happened, like any unreadable model. Never returns on failure.
  static ModelData load(const std::string& path);

  /// Imports `path` in this process and never exits: the entry point for callers
  /// that isolate Assimp themselves (the guard's child, a fuzzer).
  static Reading<ModelData> import(const std::string& path);

  /// Reads a scene as Assimp returns it, whatever it holds: arrays missing or
  /// shorter than their counts say, indices past them, numbers that are not finite.
  static Reading<ModelData> readScene(const aiScene& scene);

  /// Reads `path` with the import steps and the bone-weight limit of every model
  /// of the game; the scene lives as long as `importer`. Null when Assimp refuses.
  static const aiScene* read(Assimp::Importer& importer, const std::string& path);

  /// Gives each channel of `clip` that names a node of `model` its track. A channel
  /// whose rotation or scale key count differs from its position key count fails
  /// with "animations keyframe number is not synchron"; keys whose times do not
  /// increase, or values that are not finite, fail with the model message.
  static Reading<ClipData> readClip(const aiAnimation& clip, const ModelData& model);

 private:
  explicit ModelLoader(const aiScene& scene);

  bool readNodes();
  bool readMeshes();
  bool readMesh(const aiMesh& source, MeshData& data);
  bool readFaces(const aiMesh& source, MeshData& data);
  bool readBones(const aiMesh& source, MeshData& data);
  bool readMaterials();
  bool readAnimation();
  bool refuse(const std::string& reason);

  const aiScene& scene;
  ModelData model;
  std::vector<const aiNode*> sourceNodes;
  std::string failure;
};

}  // namespace Vexa
