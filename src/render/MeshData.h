#pragma once

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

#include "render/BoneRecord.h"

namespace Vexa {

/// Vertex data of one mesh before upload. `normals`, `uvs` and `bones` are either
/// empty or hold one entry per position; `indices` holds three per triangle.
struct MeshData {
  std::vector<glm::vec3> positions;
  std::vector<glm::vec3> normals;
  std::vector<glm::vec2> uvs;
  std::vector<BoneRecord> bones;
  std::vector<std::uint32_t> indices;
  std::uint32_t materialIndex = 0;
};

}  // namespace Vexa
