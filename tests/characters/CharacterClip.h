#pragma once

#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "animation/Animation.h"
#include "render/ModelData.h"

namespace Vexa::test {

/// One animated character file read through the game's own import, with its clip
/// evaluated by the game's own animation: segment times from frame numbers, keys
/// interpolated as the game does. Poses are in the model's own axes (the imported
/// root's up-axis turn is left out, since the game replaces the root's matrix with
/// its own placement). The raw Assimp scene stays at hand for checks of the file itself.
class CharacterClip {
 public:
  CharacterClip(const std::string& path, unsigned frameCount);

  const aiScene& scene() const { return *scene_; }
  const aiAnimation& animation() const { return *scene_->mAnimations[0]; }
  unsigned frameCount() const { return frameCount_; }

  /// The clip time the game evaluates `seconds` after it started the segment at `frame`.
  double ticksAt(unsigned frame, double seconds = 0.0) const;

  /// Model-space frame of a named node at a clip time.
  glm::mat4 nodeMatrix(const std::string& name, double ticks) const;
  glm::vec3 nodeOrigin(const std::string& name, double ticks) const;
  /// Model-space frame of a named node as the file's node tree places it, clip ignored.
  glm::mat4 restMatrix(const std::string& name) const;
  /// A bind-pose point carried by a bone into the pose at a clip time.
  glm::vec3 skinned(const glm::vec3& bindPoint, const std::string& bone, double ticks) const;

  /// Names of the nodes the clip animates.
  std::vector<std::string> animatedNodes() const;
  /// The game's number of the named node (pre-order), the skinning index of its bone.
  int nodeIndex(const std::string& name) const;
  int nodeCount() const;

  /// Every bind-pose vertex that the bone moves.
  std::vector<glm::vec3> verticesOf(const std::string& bone) const;

 private:
  std::size_t node(const std::string& name) const;
  const Animation& posedAt(double ticks) const;

  Assimp::Importer importer;
  const aiScene* scene_ = nullptr;
  ModelData model;
  mutable Animation pose;
  unsigned frameCount_;
};

/// Largest difference between the entries of two matrices.
float matrixDistance(const glm::mat4& a, const glm::mat4& b);

}  // namespace Vexa::test
