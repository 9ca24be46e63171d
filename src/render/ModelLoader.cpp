#include "render/ModelLoader.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>

#include "platform/Fatal.h"

namespace Vexa {

namespace {

[[noreturn]] void refuse(const std::string& reason) {
  fatalError("model could not be loaded: " + reason);
}

// Assimp stores row-major: row r, column c goes to column c, row r.
glm::mat4 columnMajor(const aiMatrix4x4& m) {
  glm::mat4 result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) result[c][r] = m[r][c];
  }
  return result;
}

MaterialData materialData(const aiMaterial& material) {
  MaterialData data;
  aiString texturePath;
  aiColor4D colour;
  if (aiGetMaterialTexture(&material, aiTextureType_DIFFUSE, 0, &texturePath) == AI_SUCCESS) {
    data.texture = texturePath.C_Str();
  } else if (aiGetMaterialColor(&material, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS) {
    data.colour = glm::vec3(colour.r, colour.g, colour.b);
  }
  return data;
}

TrackData trackOf(const aiNodeAnim& channel, std::int32_t node) {
  const unsigned count = channel.mNumPositionKeys;
  if (channel.mNumRotationKeys != count || channel.mNumScalingKeys != count) {
    fatalError("animations keyframe number is not synchron");
  }
  TrackData track{node, std::vector<KeyData>(count)};
  for (unsigned j = 0; j < count; ++j) {
    const aiVector3D& position = channel.mPositionKeys[j].mValue;
    const aiQuaternion& rotation = channel.mRotationKeys[j].mValue;
    const aiVector3D& scale = channel.mScalingKeys[j].mValue;
    KeyData& key = track.keys[j];
    key.time = channel.mPositionKeys[j].mTime;
    key.position = {position.x, position.y, position.z};
    key.rotation = glm::quat(rotation.w, rotation.x, rotation.y, rotation.z);
    key.scale = {scale.x, scale.y, scale.z};
    if (j > 0 && !(key.time > track.keys[j - 1].time)) {
      refuse("the keys of \"" + std::string(channel.mNodeName.C_Str()) +
             "\" do not increase in time");
    }
  }
  return track;
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

ModelData ModelLoader::load(const std::string& path) {
  Assimp::Importer importer;
  const aiScene* scene = read(importer, path);
  if (!scene || !scene->mRootNode) refuse(importer.GetErrorString());
  ModelLoader loader(*scene);
  loader.readNode(*scene->mRootNode, -1);
  // Bones may name nodes that come later in the file than their mesh, so meshes
  // are read once every node exists.
  loader.readMeshes();
  loader.readMaterials();
  loader.readAnimation();
  return std::move(loader.model);
}

ModelLoader::ModelLoader(const aiScene& scene) : scene(scene) {}

void ModelLoader::readNode(const aiNode& source, std::int32_t parent) {
  const auto number = static_cast<std::int32_t>(model.nodes.size());
  NodeData node;
  node.name = source.mName.C_Str();
  node.localMatrix = columnMajor(source.mTransformation);
  node.parent = parent;
  model.nodes.push_back(std::move(node));
  sourceNodes.push_back(&source);
  for (unsigned c = 0; c < source.mNumChildren; ++c) readNode(*source.mChildren[c], number);
}

void ModelLoader::readMeshes() {
  for (std::size_t n = 0; n < sourceNodes.size(); ++n) {
    const aiNode& source = *sourceNodes[n];
    for (unsigned m = 0; m < source.mNumMeshes; ++m) {
      MeshData data = meshData(*scene.mMeshes[source.mMeshes[m]]);
      model.nodes[n].meshes.push_back(std::move(data));
    }
  }
}

MeshData ModelLoader::meshData(const aiMesh& source) {
  MeshData data;
  data.materialIndex = source.mMaterialIndex;
  // Points and lines cannot be drawn as triangles; their faces are left out.
  for (unsigned f = 0; f < source.mNumFaces; ++f) {
    const aiFace& face = source.mFaces[f];
    if (face.mNumIndices < 3) continue;
    data.indices.insert(data.indices.end(), face.mIndices, face.mIndices + 3);
  }
  for (unsigned v = 0; v < source.mNumVertices; ++v) {
    const aiVector3D& p = source.mVertices[v];
    data.positions.emplace_back(p.x, p.y, p.z);
    if (source.HasNormals()) {
      const aiVector3D& n = source.mNormals[v];
      data.normals.emplace_back(n.x, n.y, n.z);
    }
    if (source.HasTextureCoords(0)) {
      const aiVector3D& uv = source.mTextureCoords[0][v];
      data.uvs.emplace_back(uv.x, uv.y);
    }
  }
  if (source.HasBones()) readBones(source, data);
  return data;
}

// Joints are node numbers, so the skinning matrices are indexed by node, not by
// bone order. A bone that names no node has no joint and is left out.
void ModelLoader::readBones(const aiMesh& source, MeshData& data) {
  data.bones.resize(source.mNumVertices);
  for (unsigned b = 0; b < source.mNumBones; ++b) {
    const aiBone& bone = *source.mBones[b];
    const std::int32_t number = model.findNode(bone.mName.C_Str());
    if (number < 0) continue;
    if (number >= skinningSlots) {
      refuse("bone \"" + std::string(bone.mName.C_Str()) + "\" is node " + std::to_string(number) +
             ", past the " + std::to_string(skinningSlots) + " the skinning shaders hold");
    }
    NodeData& node = model.nodes[static_cast<std::size_t>(number)];
    node.offsetMatrix = columnMajor(bone.mOffsetMatrix);
    node.namedByBone = true;
    for (unsigned w = 0; w < bone.mNumWeights; ++w) {
      const aiVertexWeight& weight = bone.mWeights[w];
      if (weight.mVertexId < data.bones.size())
        data.bones[weight.mVertexId].add(number, weight.mWeight);
    }
  }
}

void ModelLoader::readMaterials() {
  for (unsigned m = 0; m < scene.mNumMaterials; ++m)
    model.materials.push_back(materialData(*scene.mMaterials[m]));
}

void ModelLoader::readAnimation() {
  if (!scene.HasAnimations() || !scene.mAnimations[0]->mChannels) return;
  model.clip = std::make_shared<const ClipData>(readClip(*scene.mAnimations[0], model));
}

ClipData ModelLoader::readClip(const aiAnimation& clip, const ModelData& model) {
  ClipData data;
  data.ticksPerSecond = clip.mTicksPerSecond;
  data.duration = clip.mDuration;
  // A channel for a node the model lacks has nowhere to go and is skipped.
  for (unsigned c = 0; c < clip.mNumChannels; ++c) {
    const aiNodeAnim& channel = *clip.mChannels[c];
    const std::int32_t node = model.findNode(channel.mNodeName.C_Str());
    if (node >= 0) data.tracks.push_back(trackOf(channel, node));
  }
  return data;
}

}  // namespace Vexa
