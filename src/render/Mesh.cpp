#include "render/Mesh.h"

#include <algorithm>
#include <array>
#include <map>

#include "render/MaterialEntry.h"
#include "render/ShaderProgram.h"

namespace Vexa {

namespace {

enum AttributeLocation : GLuint { position = 0, normal = 1, uv = 2, joints = 3, weights = 4 };

template <class Element>
Buffer staticBuffer(GLenum target, const std::vector<Element>& elements) {
  if (elements.empty()) return Buffer();
  Buffer buffer = Buffer::generate();
  glBindBuffer(target, buffer.id());
  glBufferData(target, static_cast<GLsizeiptr>(elements.size() * sizeof(Element)), elements.data(),
               GL_STATIC_DRAW);
  return buffer;
}

void floatAttribute(const Buffer& buffer, GLuint location, GLint components) {
  if (!buffer) return;
  glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
  glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
  glEnableVertexAttribArray(location);
}

/// Sets of vertices, joined two at a time.
class VertexSets {
 public:
  explicit VertexSets(std::size_t count) : parent(count) {
    for (std::size_t v = 0; v < count; ++v) parent[v] = static_cast<std::uint32_t>(v);
  }
  std::uint32_t find(std::uint32_t v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
  }
  void join(std::uint32_t a, std::uint32_t b) { parent[find(a)] = find(b); }

 private:
  std::vector<std::uint32_t> parent;
};

/// The boxes of the pieces the `placed` vertices form: a triangle joins its
/// corners, and vertices at one place are joined, since a flat-shaded face has
/// corners of its own.
std::vector<BoundingBox> pieceBoxes(const std::vector<glm::vec3>& positions,
                                    const std::vector<std::uint32_t>& indices,
                                    const std::vector<bool>& placed) {
  VertexSets sets(positions.size());
  std::map<std::array<float, 3>, std::uint32_t> firstAt;
  for (std::uint32_t v = 0; v < positions.size(); ++v) {
    const auto [first, isNew] =
        firstAt.emplace(std::array<float, 3>{positions[v].x, positions[v].y, positions[v].z}, v);
    if (!isNew) sets.join(v, first->second);
  }
  for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
    sets.join(indices[i], indices[i + 1]);
    sets.join(indices[i + 1], indices[i + 2]);
  }
  std::vector<BoundingBox> boxes;
  std::map<std::uint32_t, std::size_t> boxOfSet;
  for (std::uint32_t v = 0; v < positions.size(); ++v) {
    if (!placed[v]) continue;
    const auto [entry, isNew] = boxOfSet.emplace(sets.find(v), boxes.size());
    if (isNew) boxes.emplace_back();
    boxes[entry->second].add(positions[v]);
  }
  return boxes;
}

}  // namespace

Mesh::Mesh(MeshData data)
    : vertexPositions(std::move(data.positions)),
      vertexNormals(std::move(data.normals)),
      vertexUvs(std::move(data.uvs)),
      triangleIndices(std::move(data.indices)),
      materialSlot(data.materialIndex) {
  upload(data.bones);
  measure(data.bones);
}

// As the skinning shaders see a vertex: weighted, it is moved by its joints only;
// without weights, by the node's model matrix.
void Mesh::measure(const std::vector<BoneRecord>& bones) {
  std::vector<bool> placed(vertexPositions.size(), false);
  for (std::size_t v = 0; v < vertexPositions.size(); ++v) {
    const glm::vec3& position = vertexPositions[v];
    bool weighted = false;
    if (v < bones.size()) {
      for (int slot = 0; slot < 4; ++slot) {
        if (!(bones[v].weights[slot] > 0.0f)) continue;
        weighted = true;
        const std::int32_t joint = bones[v].joints[slot];
        auto entry = std::find_if(skinnedBounds.begin(), skinnedBounds.end(),
                                  [joint](const JointBounds& b) { return b.joint == joint; });
        if (entry == skinnedBounds.end()) entry = skinnedBounds.insert(entry, {joint, {}});
        entry->box.add(position);
      }
    }
    placed[v] = !weighted;
  }
  placedPieces = pieceBoxes(vertexPositions, triangleIndices, placed);
}

void Mesh::upload(const std::vector<BoneRecord>& bones) {
  positionBuffer = staticBuffer(GL_ARRAY_BUFFER, vertexPositions);
  normalBuffer = staticBuffer(GL_ARRAY_BUFFER, vertexNormals);
  uvBuffer = staticBuffer(GL_ARRAY_BUFFER, vertexUvs);
  boneBuffer = staticBuffer(GL_ARRAY_BUFFER, bones);
  vertexArray = VertexArray::generate();
  glBindVertexArray(vertexArray.id());
  bindAttributes();
  // Bound while the vertex array is, the index buffer becomes part of it.
  indexBuffer = staticBuffer(GL_ELEMENT_ARRAY_BUFFER, triangleIndices);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void Mesh::bindAttributes() const {
  floatAttribute(positionBuffer, position, 3);
  floatAttribute(normalBuffer, normal, 3);
  floatAttribute(uvBuffer, uv, 2);
  if (!boneBuffer) return;
  glBindBuffer(GL_ARRAY_BUFFER, boneBuffer.id());
  const auto stride = static_cast<GLsizei>(sizeof(BoneRecord));
  glVertexAttribIPointer(joints, 4, GL_INT, stride,
                         reinterpret_cast<const void*>(offsetof(BoneRecord, joints)));
  glVertexAttribPointer(weights, 4, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(BoneRecord, weights)));
  glEnableVertexAttribArray(joints);
  glEnableVertexAttribArray(weights);
}

void Mesh::draw(const ShaderProgram& program, const MaterialEntry* material) const {
  if (material) material->applyTo(program.programId());
  drawTriangles();
}

void Mesh::drawTriangles() const {
  // Without bone records the weights attribute reads the context's current value,
  // which starts as (0, 0, 0, 1): make it "no weights", so skinning shaders place
  // the vertices with the node's model matrix.
  if (!boneBuffer) glVertexAttrib4f(weights, 0.0f, 0.0f, 0.0f, 0.0f);
  glBindVertexArray(vertexArray.id());
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount()), GL_UNSIGNED_INT, nullptr);
  glBindVertexArray(0);
}

}  // namespace Vexa
