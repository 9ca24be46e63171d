#include "CharacterClip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "render/ModelLoader.h"

namespace Vexa::test {

namespace {

const aiScene& imported(Assimp::Importer& importer, const std::string& path) {
  const aiScene* scene = ModelLoader::read(importer, path);
  if (scene == nullptr || scene->mNumAnimations == 0) {
    ADD_FAILURE() << path << ": " << importer.GetErrorString();
    throw std::runtime_error("no animated model at " + path);
  }
  return *scene;
}

}  // namespace

CharacterClip::CharacterClip(const std::string& path, unsigned frameCount)
    : scene_(&imported(importer, path)),
      model(ModelLoader::load(path)),
      pose(model),
      frameCount_(frameCount) {}

double CharacterClip::ticksAt(unsigned frame, double seconds) const {
  return pose.frameTime(frame, frameCount_) + pose.ticksPerSecond() * seconds;
}

std::size_t CharacterClip::node(const std::string& name) const {
  const std::int32_t number = model.findNode(name);
  if (number < 0) throw std::runtime_error("no node " + name);
  return static_cast<std::size_t>(number);
}

const Animation& CharacterClip::posedAt(double ticks) const {
  pose.evaluate(ticks, glm::mat4(1.0f));
  return pose;
}

glm::mat4 CharacterClip::nodeMatrix(const std::string& name, double ticks) const {
  return posedAt(ticks).nodeMatrices()[node(name)];
}

glm::vec3 CharacterClip::nodeOrigin(const std::string& name, double ticks) const {
  return glm::vec3(nodeMatrix(name, ticks)[3]);
}

glm::mat4 CharacterClip::restMatrix(const std::string& name) const {
  glm::mat4 result(1.0f);
  for (std::int32_t n = static_cast<std::int32_t>(node(name)); n > 0;
       n = model.nodes[static_cast<std::size_t>(n)].parent) {
    result = model.nodes[static_cast<std::size_t>(n)].localMatrix * result;
  }
  return result;
}

glm::vec3 CharacterClip::skinned(const glm::vec3& bindPoint, const std::string& bone,
                                 double ticks) const {
  if (!model.nodes[node(bone)].namedByBone) throw std::runtime_error("no bone " + bone);
  return glm::vec3(posedAt(ticks).boneMatrices()[node(bone)] * glm::vec4(bindPoint, 1.0f));
}

std::vector<glm::vec3> CharacterClip::verticesOf(const std::string& bone) const {
  const auto joint = static_cast<std::int32_t>(node(bone));
  std::vector<glm::vec3> result;
  for (const NodeData& data : model.nodes) {
    for (const MeshData& mesh : data.meshes) {
      for (std::size_t v = 0; v < mesh.bones.size(); ++v) {
        const BoneRecord& record = mesh.bones[v];
        for (std::size_t slot = 0; slot < record.joints.size(); ++slot) {
          if (record.joints[slot] == joint && record.weights[slot] > 0.0f)
            result.push_back(mesh.positions[v]);
        }
      }
    }
  }
  return result;
}

std::vector<std::string> CharacterClip::animatedNodes() const {
  std::vector<std::string> names;
  for (const TrackData& track : model.clip->tracks)
    names.push_back(model.nodes[static_cast<std::size_t>(track.node)].name);
  return names;
}

int CharacterClip::nodeIndex(const std::string& name) const {
  return model.findNode(name);
}

int CharacterClip::nodeCount() const {
  return static_cast<int>(model.nodes.size());
}

float matrixDistance(const glm::mat4& a, const glm::mat4& b) {
  float largest = 0.0f;
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) largest = std::max(largest, std::abs(a[c][r] - b[c][r]));
  }
  return largest;
}

}  // namespace Vexa::test
