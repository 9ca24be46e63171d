#pragma once

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

#include "render/BoundingBox.h"
#include "render/GlHandle.h"
#include "render/MeshData.h"

namespace Vexa {

class MaterialEntry;
class ShaderProgram;

/// One drawable part of a model node: static GL buffers behind one vertex array,
/// drawn as indexed triangles. Positions and indices stay in memory for the
/// physics, which builds collision shapes from them.
///
/// Attribute locations are the ones every shader declares: position 0, normal 1,
/// uv 2, joints 3 (4 ints) and weights 4 (4 floats) from one 32-byte bone record.
class Mesh {
 public:
  /// Uploads `data`.
  explicit Mesh(MeshData data);

  /// Draws with `program`, which the caller has made current, and `material`;
  /// without a material the program keeps the colour or texture it last held.
  /// Leaves the program current, so the meshes of one node share one bind.
  void draw(const ShaderProgram& program, const MaterialEntry* material) const;
  /// Draws the triangles alone with the current program, as the shadow pass does.
  void drawTriangles() const;

  const std::vector<glm::vec3>& positions() const { return vertexPositions; }
  const std::vector<std::uint32_t>& indices() const { return triangleIndices; }
  const std::vector<glm::vec3>& normals() const { return vertexNormals; }
  const std::vector<glm::vec2>& uvs() const { return vertexUvs; }
  std::uint32_t vertexCount() const { return static_cast<std::uint32_t>(vertexPositions.size()); }
  std::uint32_t faceCount() const { return indexCount() / 3; }
  std::uint32_t indexCount() const { return static_cast<std::uint32_t>(triangleIndices.size()); }
  std::uint32_t materialIndex() const { return materialSlot; }
  bool skinned() const { return static_cast<bool>(boneBuffer); }
  GLuint vertexArrayId() const { return vertexArray.id(); }

  /// The boxes of the vertices the node's model matrix places (all of them when
  /// the mesh is not skinned), one for each piece: vertices joined by triangles
  /// or by sharing a place. None when every vertex is skinned. One mesh may
  /// hold a whole level's platforms, whose single box would cover all between.
  const std::vector<BoundingBox>& unskinnedPieces() const { return placedPieces; }
  /// For each joint of a skinned mesh, the box of the vertices it weighs on.
  const std::vector<JointBounds>& jointBounds() const { return skinnedBounds; }

 private:
  void upload(const std::vector<BoneRecord>& bones);
  void measure(const std::vector<BoneRecord>& bones);
  void bindAttributes() const;

  std::vector<glm::vec3> vertexPositions;
  std::vector<glm::vec3> vertexNormals;
  std::vector<glm::vec2> vertexUvs;
  std::vector<std::uint32_t> triangleIndices;
  std::uint32_t materialSlot;
  std::vector<BoundingBox> placedPieces;
  std::vector<JointBounds> skinnedBounds;
  Buffer positionBuffer;
  Buffer normalBuffer;
  Buffer uvBuffer;
  Buffer boneBuffer;
  Buffer indexBuffer;
  VertexArray vertexArray;
};

}  // namespace Vexa
