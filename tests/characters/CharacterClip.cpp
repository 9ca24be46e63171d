#include "CharacterClip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <stdexcept>

namespace Vexa::test {

namespace {

// The game's importer flags and bone-weight limit.
constexpr unsigned importFlags = 0x80824B;
constexpr int maxWeights = 4;

glm::mat4 toGlm(const aiMatrix4x4& m) {
  return glm::transpose(glm::make_mat4(&m.a1));
}

glm::quat toGlm(const aiQuaternion& q) {
  return glm::quat(q.w, q.x, q.y, q.z);
}

glm::vec3 toGlm(const aiVector3D& v) {
  return glm::vec3(v.x, v.y, v.z);
}

}  // namespace

CharacterClip::CharacterClip(const std::string& path, unsigned frameCount)
    : frameCount_(frameCount) {
  importer.SetPropertyInteger("PP_LBW_MAX_WEIGHTS", maxWeights);
  scene_ = importer.ReadFile(path, importFlags);
  if (scene_ == nullptr || scene_->mNumAnimations == 0) {
    ADD_FAILURE() << path << ": " << importer.GetErrorString();
    throw std::runtime_error("no animated model at " + path);
  }
}

double CharacterClip::ticksAt(unsigned frame, double seconds) const {
  const float fraction = static_cast<float>(frame) / static_cast<float>(frameCount_);
  return static_cast<double>(fraction) * animation().mDuration +
         animation().mTicksPerSecond * seconds;
}

const aiNodeAnim* CharacterClip::channelOf(const aiNode& node) const {
  for (unsigned i = 0; i < animation().mNumChannels; ++i) {
    if (animation().mChannels[i]->mNodeName == node.mName) return animation().mChannels[i];
  }
  return nullptr;
}

glm::mat4 CharacterClip::localMatrix(const aiNode& node, double ticks) const {
  const aiNodeAnim* channel = channelOf(node);
  if (channel == nullptr) return toGlm(node.mTransformation);
  const unsigned last = channel->mNumPositionKeys - 1;
  unsigned i = 0;
  while (i < last && !(channel->mPositionKeys[i + 1].mTime > ticks)) ++i;
  glm::vec3 position = toGlm(channel->mPositionKeys[i].mValue);
  glm::quat rotation = toGlm(channel->mRotationKeys[i].mValue);
  if (i < last) {
    const double t0 = channel->mPositionKeys[i].mTime;
    const double t1 = channel->mPositionKeys[i + 1].mTime;
    const auto f = static_cast<float>((ticks - t0) / (t1 - t0));
    EXPECT_GE(f, 0.0f) << "clip time before the first key";
    position = glm::mix(position, toGlm(channel->mPositionKeys[i + 1].mValue), f);
    rotation = glm::slerp(rotation, toGlm(channel->mRotationKeys[i + 1].mValue), f);
  }
  return glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation);
}

glm::mat4 CharacterClip::nodeMatrix(const std::string& name, double ticks) const {
  const aiNode* node = scene_->mRootNode->FindNode(name.c_str());
  if (node == nullptr) throw std::runtime_error("no node " + name);
  glm::mat4 result(1.0f);
  for (; node->mParent != nullptr; node = node->mParent) {
    result = localMatrix(*node, ticks) * result;
  }
  return result;
}

glm::mat4 CharacterClip::restMatrix(const std::string& name) const {
  const aiNode* node = scene_->mRootNode->FindNode(name.c_str());
  if (node == nullptr) throw std::runtime_error("no node " + name);
  glm::mat4 result(1.0f);
  for (; node->mParent != nullptr; node = node->mParent) {
    result = toGlm(node->mTransformation) * result;
  }
  return result;
}

glm::vec3 CharacterClip::nodeOrigin(const std::string& name, double ticks) const {
  return glm::vec3(nodeMatrix(name, ticks)[3]);
}

const aiBone* CharacterClip::bone(const std::string& name) const {
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) {
    for (unsigned b = 0; b < scene_->mMeshes[m]->mNumBones; ++b) {
      if (name == scene_->mMeshes[m]->mBones[b]->mName.C_Str()) {
        return scene_->mMeshes[m]->mBones[b];
      }
    }
  }
  throw std::runtime_error("no bone " + name);
}

glm::vec3 CharacterClip::skinned(const glm::vec3& bindPoint, const std::string& boneName,
                                 double ticks) const {
  const glm::mat4 skin = nodeMatrix(boneName, ticks) * toGlm(bone(boneName)->mOffsetMatrix);
  return glm::vec3(skin * glm::vec4(bindPoint, 1.0f));
}

std::vector<glm::vec3> CharacterClip::verticesOf(const std::string& boneName) const {
  const aiBone* found = bone(boneName);
  std::vector<glm::vec3> result;
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) {
    const aiMesh& mesh = *scene_->mMeshes[m];
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      if (mesh.mBones[b] != found) continue;
      for (unsigned w = 0; w < found->mNumWeights; ++w) {
        result.push_back(toGlm(mesh.mVertices[found->mWeights[w].mVertexId]));
      }
    }
  }
  return result;
}

std::vector<std::string> CharacterClip::animatedNodes() const {
  std::vector<std::string> names;
  for (unsigned i = 0; i < animation().mNumChannels; ++i) {
    names.emplace_back(animation().mChannels[i]->mNodeName.C_Str());
  }
  return names;
}

int CharacterClip::nodeIndex(const std::string& name) const {
  int counter = 0;
  int found = -1;
  std::function<void(const aiNode&)> visit = [&](const aiNode& node) {
    if (found < 0 && name == node.mName.C_Str()) found = counter;
    ++counter;
    for (unsigned i = 0; i < node.mNumChildren; ++i) visit(*node.mChildren[i]);
  };
  visit(*scene_->mRootNode);
  return found;
}

int CharacterClip::nodeCount() const {
  std::function<int(const aiNode&)> count = [&](const aiNode& node) {
    int total = 1;
    for (unsigned i = 0; i < node.mNumChildren; ++i) total += count(*node.mChildren[i]);
    return total;
  };
  return count(*scene_->mRootNode);
}

float matrixDistance(const glm::mat4& a, const glm::mat4& b) {
  float largest = 0.0f;
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) largest = std::max(largest, std::abs(a[c][r] - b[c][r]));
  }
  return largest;
}

}  // namespace Vexa::test
