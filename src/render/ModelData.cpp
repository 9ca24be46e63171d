#include "render/ModelData.h"

#include <algorithm>

namespace Vexa {

std::int32_t ModelData::findNode(const std::string& name) const {
  for (std::size_t n = 0; n < nodes.size(); ++n)
    if (nodes[n].name == name) return static_cast<std::int32_t>(n);
  return -1;
}

bool ModelData::skinned() const {
  return std::any_of(nodes.begin(), nodes.end(), [](const NodeData& node) {
    return std::any_of(node.meshes.begin(), node.meshes.end(),
                       [](const MeshData& mesh) { return !mesh.bones.empty(); });
  });
}

}  // namespace Vexa
