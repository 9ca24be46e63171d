#pragma once

#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace Vexa::test {

/// One animated character file read the way the game reads it (same importer flags and
/// weight limit), with its clip evaluated the way the game evaluates it: segment times
/// from frame numbers, linear keys, rotations interpolated on the short arc, no scale.
/// Poses are in the model's own axes (the imported root's up-axis turn is left out,
/// since the game replaces the root's matrix with its own placement).
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
  /// Depth-first pre-order numbers of the named node, as the game numbers nodes for skinning.
  int nodeIndex(const std::string& name) const;
  int nodeCount() const;

  /// Every bind-pose vertex that the bone moves, weight included.
  std::vector<glm::vec3> verticesOf(const std::string& bone) const;

 private:
  glm::mat4 localMatrix(const aiNode& node, double ticks) const;
  const aiNodeAnim* channelOf(const aiNode& node) const;
  const aiBone* bone(const std::string& name) const;

  Assimp::Importer importer;
  const aiScene* scene_ = nullptr;
  unsigned frameCount_;
};

/// Largest difference between the entries of two matrices.
float matrixDistance(const glm::mat4& a, const glm::mat4& b);

}  // namespace Vexa::test
