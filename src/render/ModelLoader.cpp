#include "render/ModelLoader.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/Fatal.h"
#include "platform/LoadTimes.h"
#include "platform/ProcessGuard.h"

namespace Vexa {

namespace {

const std::string failurePrefix = "model could not be loaded: ";

// Our largest model imports in well under a second and 100 MiB; these bounds only
// stop files that make Assimp run away, with room for a loaded machine and a
// sanitizer build.
constexpr ProcessGuard::Limits importLimits{std::size_t{1} << 30, 30, std::size_t{256} << 20};

// A cycle in a scene's node links would never end the walk; no model of the game
// comes near this many nodes.
constexpr std::size_t nodeLimit = 1 << 16;

bool finite(const aiMatrix4x4& m) {
  const float* element = &m.a1;
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(element[i])) return false;
  return true;
}

bool finite(const aiVector3D& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool finite(const aiQuaternion& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

// Assimp stores row-major: row r, column c goes to column c, row r.
glm::mat4 columnMajor(const aiMatrix4x4& m) {
  glm::mat4 result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) result[c][r] = m[r][c];
  }
  return result;
}

// Degenerate triangles give Assimp's generated normals no direction; a vector
// that is not finite lights as black, a zero one at least as unlit.
glm::vec3 directionOrZero(const aiVector3D& v) {
  return finite(v) ? glm::vec3(v.x, v.y, v.z) : glm::vec3(0.0f);
}

MaterialData materialData(const aiMaterial* material) {
  MaterialData data;
  if (!material) return data;
  aiString texturePath;
  aiColor4D colour;
  if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &texturePath) == AI_SUCCESS) {
    data.texture = texturePath.C_Str();
  } else if (aiGetMaterialColor(material, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS &&
             std::isfinite(colour.r) && std::isfinite(colour.g) && std::isfinite(colour.b)) {
    data.colour = glm::vec3(colour.r, colour.g, colour.b);
  }
  return data;
}

std::string quoted(const aiString& name) {
  return "\"" + std::string(name.C_Str()) + "\"";
}

ModelLoader::Reading<TrackData> trackOf(const aiNodeAnim& channel, std::int32_t node) {
  const unsigned count = channel.mNumPositionKeys;
  if (channel.mNumRotationKeys != count || channel.mNumScalingKeys != count)
    return {std::nullopt, "animations keyframe number is not synchron"};
  const std::string name = quoted(channel.mNodeName);
  if (count > 0 && (!channel.mPositionKeys || !channel.mRotationKeys || !channel.mScalingKeys))
    return {std::nullopt, failurePrefix + "the keys of " + name + " are missing"};
  TrackData track{node, std::vector<KeyData>(count)};
  for (unsigned j = 0; j < count; ++j) {
    const aiVectorKey& position = channel.mPositionKeys[j];
    const aiQuaternion& rotation = channel.mRotationKeys[j].mValue;
    const aiVector3D& scale = channel.mScalingKeys[j].mValue;
    if (!std::isfinite(position.mTime) || !finite(position.mValue) || !finite(rotation) ||
        !finite(scale)) {
      return {std::nullopt, failurePrefix + "a key of " + name + " is not a finite number"};
    }
    KeyData& key = track.keys[j];
    key.time = position.mTime;
    key.position = {position.mValue.x, position.mValue.y, position.mValue.z};
    key.rotation = glm::quat(rotation.w, rotation.x, rotation.y, rotation.z);
    key.scale = {scale.x, scale.y, scale.z};
    if (j > 0 && !(key.time > track.keys[j - 1].time))
      return {std::nullopt, failurePrefix + "the keys of " + name + " do not increase in time"};
  }
  return {std::move(track), ""};
}

// The guard's answer: 'M' and the model's bytes, or 'F' and the failure.
std::string encode(const ModelLoader::Reading<ModelData>& reading) {
  return reading.data ? "M" + reading.data->serialize() : "F" + reading.failure;
}

ModelLoader::Reading<ModelData> decode(const std::string& answer, const std::string& path) {
  if (!answer.empty() && answer[0] == 'F') return {std::nullopt, answer.substr(1)};
  auto model = answer.empty() || answer[0] != 'M'
                   ? std::nullopt
                   : ModelData::deserialize(std::string_view(answer).substr(1));
  if (!model) return {std::nullopt, failurePrefix + "importing " + path + " gave no model"};
  return {std::move(model), ""};
}

}  // namespace

const aiScene* ModelLoader::read(Assimp::Importer& importer, const std::string& path) {
  // A vertex carries at most four bone records.
  importer.SetPropertyInteger(AI_CONFIG_PP_LBW_MAX_WEIGHTS, 4);
  return importer.ReadFile(path, aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices |
                                     aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                     aiProcess_LimitBoneWeights | aiProcess_SortByPType |
                                     aiProcess_FlipUVs);
}

namespace {

// The importing child's request: the caller's working folder, a zero byte and the
// path, so that a relative path means what it means to the caller.
std::string importRequest(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::current_path(ignored).string() + '\0' + path;
}

std::string importAnswer(const std::string& request) {
  const auto separator = request.find('\0');
  if (chdir(request.substr(0, separator).c_str()) != 0)
    return "F" + failurePrefix + std::strerror(errno);
  return encode(ModelLoader::import(request.substr(separator + 1)));
}

}  // namespace

// One importing child serves the whole game: started for the first model, it
// costs one fork, and each import after that only the trip through its socket.
ModelData ModelLoader::load(const std::string& path) {
  const LoadTimes::Scope timed(LoadTimes::Cause::ModelImport);
  static ProcessGuard::Worker importer(importAnswer, importLimits);
  const ProcessGuard::Outcome outcome = importer.ask(importRequest(path));
  if (!outcome.answer) fatalError(failurePrefix + "importing " + path + " " + outcome.failure);
  Reading<ModelData> reading = decode(*outcome.answer, path);
  if (!reading.data) fatalError(reading.failure);
  return std::move(*reading.data);
}

ModelLoader::Reading<ModelData> ModelLoader::import(const std::string& path) {
  Assimp::Importer importer;
  const aiScene* scene = read(importer, path);
  if (!scene) return {std::nullopt, failurePrefix + importer.GetErrorString()};
  return readScene(*scene);
}

ModelLoader::Reading<ModelData> ModelLoader::readScene(const aiScene& scene) {
  ModelLoader loader(scene);
  // Bones may name nodes that come later in the file than their mesh, so meshes
  // are read once every node exists.
  if (loader.readNodes() && loader.readMeshes() && loader.readMaterials() &&
      loader.readAnimation()) {
    return {std::move(loader.model), ""};
  }
  return {std::nullopt, loader.failure};
}

ModelLoader::ModelLoader(const aiScene& scene) : scene(scene) {}

bool ModelLoader::refuse(const std::string& reason) {
  failure = failurePrefix + reason;
  return false;
}

// Pre-order without recursion, so that no depth of nesting exhausts the stack.
bool ModelLoader::readNodes() {
  if (!scene.mRootNode) return refuse("the file has no nodes");
  std::vector<std::pair<const aiNode*, std::int32_t>> pending{{scene.mRootNode, -1}};
  while (!pending.empty()) {
    const auto [source, parent] = pending.back();
    pending.pop_back();
    if (model.nodes.size() == nodeLimit)
      return refuse("the file has more than " + std::to_string(nodeLimit) + " nodes");
    if (!finite(source->mTransformation))
      return refuse("node " + quoted(source->mName) + " has a transformation that is not finite");
    if (source->mNumChildren > 0 && !source->mChildren)
      return refuse("the children of node " + quoted(source->mName) + " are missing");
    const auto number = static_cast<std::int32_t>(model.nodes.size());
    NodeData node;
    node.name = source->mName.C_Str();
    node.localMatrix = columnMajor(source->mTransformation);
    node.parent = parent;
    model.nodes.push_back(std::move(node));
    sourceNodes.push_back(source);
    for (unsigned c = source->mNumChildren; c-- > 0;) {
      if (!source->mChildren[c])
        return refuse("a child of node " + quoted(source->mName) + " is missing");
      pending.emplace_back(source->mChildren[c], number);
    }
  }
  return true;
}

// A mesh without a triangle has nothing to draw or collide with and is left out.
bool ModelLoader::readMeshes() {
  for (std::size_t n = 0; n < sourceNodes.size(); ++n) {
    const aiNode& source = *sourceNodes[n];
    if (source.mNumMeshes > 0 && !source.mMeshes)
      return refuse("the meshes of node " + quoted(source.mName) + " are missing");
    for (unsigned m = 0; m < source.mNumMeshes; ++m) {
      const unsigned index = source.mMeshes[m];
      if (index >= scene.mNumMeshes || !scene.mMeshes || !scene.mMeshes[index]) {
        return refuse("node " + quoted(source.mName) + " names mesh " + std::to_string(index) +
                      " of " + std::to_string(scene.mNumMeshes));
      }
      MeshData data;
      if (!readMesh(*scene.mMeshes[index], data)) return false;
      if (!data.indices.empty()) model.nodes[n].meshes.push_back(std::move(data));
    }
  }
  return true;
}

bool ModelLoader::readMesh(const aiMesh& source, MeshData& data) {
  const std::string name = quoted(source.mName);
  data.materialIndex = source.mMaterialIndex;
  if (source.mNumVertices > 0 && !source.mVertices)
    return refuse("the vertices of mesh " + name + " are missing");
  const bool normals = source.mNormals != nullptr;
  const bool uvs = source.mTextureCoords[0] != nullptr;
  for (unsigned v = 0; v < source.mNumVertices; ++v) {
    const aiVector3D& p = source.mVertices[v];
    if (!finite(p)) return refuse("mesh " + name + " has a position that is not finite");
    data.positions.emplace_back(p.x, p.y, p.z);
    if (normals) data.normals.push_back(directionOrZero(source.mNormals[v]));
    if (uvs) data.uvs.emplace_back(glm::vec2(directionOrZero(source.mTextureCoords[0][v])));
  }
  return readFaces(source, data) && (!source.mNumBones || readBones(source, data));
}

// Points and lines cannot be drawn as triangles; their faces are left out.
bool ModelLoader::readFaces(const aiMesh& source, MeshData& data) {
  if (source.mNumFaces > 0 && !source.mFaces)
    return refuse("the faces of mesh " + quoted(source.mName) + " are missing");
  for (unsigned f = 0; f < source.mNumFaces; ++f) {
    const aiFace& face = source.mFaces[f];
    if (face.mNumIndices < 3) continue;
    if (!face.mIndices) return refuse("a face of mesh " + quoted(source.mName) + " is missing");
    for (unsigned i = 0; i < 3; ++i) {
      if (face.mIndices[i] >= source.mNumVertices) {
        return refuse("mesh " + quoted(source.mName) + " has an index past its " +
                      std::to_string(source.mNumVertices) + " vertices");
      }
      data.indices.push_back(face.mIndices[i]);
    }
  }
  return true;
}

// Joints are node numbers, so the skinning matrices are indexed by node, not by
// bone order. A bone that names no node has no joint and is left out, and so is a
// weight for a vertex the mesh lacks.
bool ModelLoader::readBones(const aiMesh& source, MeshData& data) {
  if (!source.mBones) return refuse("the bones of mesh " + quoted(source.mName) + " are missing");
  data.bones.resize(source.mNumVertices);
  for (unsigned b = 0; b < source.mNumBones; ++b) {
    if (!source.mBones[b]) return refuse("a bone of mesh " + quoted(source.mName) + " is missing");
    const aiBone& bone = *source.mBones[b];
    const std::int32_t number = model.findNode(bone.mName.C_Str());
    if (number < 0) continue;
    if (number >= skinningSlots) {
      return refuse("bone " + quoted(bone.mName) + " is node " + std::to_string(number) +
                    ", past the " + std::to_string(skinningSlots) + " the skinning shaders hold");
    }
    if (!finite(bone.mOffsetMatrix))
      return refuse("bone " + quoted(bone.mName) + " has an offset that is not finite");
    if (bone.mNumWeights > 0 && !bone.mWeights)
      return refuse("the weights of bone " + quoted(bone.mName) + " are missing");
    NodeData& node = model.nodes[static_cast<std::size_t>(number)];
    node.offsetMatrix = columnMajor(bone.mOffsetMatrix);
    node.namedByBone = true;
    for (unsigned w = 0; w < bone.mNumWeights; ++w) {
      const aiVertexWeight& weight = bone.mWeights[w];
      if (weight.mVertexId < data.bones.size() && std::isfinite(weight.mWeight))
        data.bones[weight.mVertexId].add(number, weight.mWeight);
    }
  }
  return true;
}

// A mesh naming a material past the file's draws with none (see SceneObject).
bool ModelLoader::readMaterials() {
  if (scene.mNumMaterials > 0 && !scene.mMaterials) return refuse("the materials are missing");
  for (unsigned m = 0; m < scene.mNumMaterials; ++m)
    model.materials.push_back(materialData(scene.mMaterials[m]));
  return true;
}

bool ModelLoader::readAnimation() {
  if (!scene.HasAnimations() || !scene.mAnimations[0] || !scene.mAnimations[0]->mChannels)
    return true;
  Reading<ClipData> clip = readClip(*scene.mAnimations[0], model);
  if (!clip.data) {
    failure = clip.failure;
    return false;
  }
  model.clip = std::make_shared<const ClipData>(std::move(*clip.data));
  return true;
}

ModelLoader::Reading<ClipData> ModelLoader::readClip(const aiAnimation& clip,
                                                     const ModelData& model) {
  if (!std::isfinite(clip.mTicksPerSecond) || clip.mTicksPerSecond < 0 ||
      !std::isfinite(clip.mDuration) || clip.mDuration < 0) {
    return {std::nullopt, failurePrefix + "the clip's speed or duration is not a finite number"};
  }
  ClipData data;
  data.ticksPerSecond = clip.mTicksPerSecond;
  data.duration = clip.mDuration;
  // A channel for a node the model lacks has nowhere to go and is skipped.
  for (unsigned c = 0; c < clip.mNumChannels; ++c) {
    if (!clip.mChannels || !clip.mChannels[c]) continue;
    const aiNodeAnim& channel = *clip.mChannels[c];
    const std::int32_t node = model.findNode(channel.mNodeName.C_Str());
    if (node < 0) continue;
    Reading<TrackData> track = trackOf(channel, node);
    if (!track.data) return {std::nullopt, track.failure};
    data.tracks.push_back(std::move(*track.data));
  }
  return {std::move(data), ""};
}

}  // namespace Vexa
