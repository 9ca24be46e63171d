#include "render/ModelLoader.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <glm/mat4x4.hpp>

#include "animation/Animation.h"
#include "platform/Fatal.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"
#include "render/MeshData.h"
#include "scene/MeshObject.h"

namespace Vexa {

namespace {

// Assimp stores row-major: row r, column c goes to column c, row r.
glm::mat4 columnMajor(const aiMatrix4x4& m) {
  glm::mat4 result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) result[c][r] = m[r][c];
  }
  return result;
}

std::unique_ptr<MaterialEntry> materialEntry(const aiMaterial& material) {
  aiString texturePath;
  if (aiGetMaterialTexture(&material, aiTextureType_DIFFUSE, 0, &texturePath) == AI_SUCCESS) {
    return std::make_unique<MaterialEntry>(std::string(texturePath.C_Str()));
  }
  aiColor4D colour;
  if (aiGetMaterialColor(&material, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS) {
    return std::make_unique<MaterialEntry>(glm::vec3(colour.r, colour.g, colour.b));
  }
  return nullptr;
}

}  // namespace

ModelLoader::ModelLoader(scene::MeshObject& root) : root(root) {}

unsigned ModelLoader::importFlags() {
  return aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices | aiProcess_Triangulate |
         aiProcess_GenSmoothNormals | aiProcess_LimitBoneWeights | aiProcess_SortByPType |
         aiProcess_FlipUVs;
}

void ModelLoader::load(const std::string& path) {
  Assimp::Importer importer;
  importer.SetPropertyInteger(AI_CONFIG_PP_LBW_MAX_WEIGHTS, 4);
  scene = importer.ReadFile(path, importFlags());
  if (!scene || !scene->mRootNode) {
    fatalError(std::string("model could not be loaded: ") + importer.GetErrorString());
  }
  root.setMaterials({});
  nextNodeIndex = 0;
  buildNode(root, *scene->mRootNode);
  // Bones may name nodes that come later in the file than their mesh, so meshes
  // are read once every node exists.
  for (const auto& [node, source] : meshNodes) readMeshes(*node, *source);
  readAnimation();
  readMaterials();
  scene = nullptr;
}

void ModelLoader::buildNode(scene::MeshObject& node, const aiNode& source) {
  node.setName(source.mName.C_Str());
  node.localMatrix = columnMajor(source.mTransformation);
  node.setNodeIndex(nextNodeIndex++);
  if (source.mNumMeshes > 0) meshNodes.emplace_back(&node, &source);
  for (unsigned c = 0; c < source.mNumChildren; ++c) {
    auto child = std::make_unique<scene::MeshObject>(node.program(), node.shadowProgram());
    auto& added = static_cast<scene::MeshObject&>(node.addChild(std::move(child)));
    buildNode(added, *source.mChildren[c]);
  }
}

void ModelLoader::readMeshes(scene::MeshObject& node, const aiNode& source) const {
  for (unsigned m = 0; m < source.mNumMeshes; ++m) {
    node.addMesh(std::make_unique<Mesh>(meshData(*scene->mMeshes[source.mMeshes[m]]),
                                        node.program(), node.shadowProgram(), &root));
  }
}

MeshData ModelLoader::meshData(const aiMesh& source) const {
  MeshData data;
  data.materialIndex = source.mMaterialIndex;
  // Points and lines cannot be drawn as triangles; their faces are left out.
  for (unsigned f = 0; f < source.mNumFaces; ++f) {
    const aiFace& face = source.mFaces[f];
    if (face.mNumIndices < 3) continue;
    data.indices.insert(data.indices.end(), face.mIndices, face.mIndices + 3);
  }
  const unsigned count = source.mNumVertices;
  for (unsigned v = 0; v < count; ++v) {
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
void ModelLoader::readBones(const aiMesh& source, MeshData& data) const {
  data.bones.resize(source.mNumVertices);
  for (unsigned b = 0; b < source.mNumBones; ++b) {
    const aiBone& bone = *source.mBones[b];
    scene::MeshObject* node = root.findNode(bone.mName.C_Str());
    if (!node) continue;
    node->boneMatrices().offsetMatrix = columnMajor(bone.mOffsetMatrix);
    node->boneMatrices().namedByBone = true;
    for (unsigned w = 0; w < bone.mNumWeights; ++w) {
      const aiVertexWeight& weight = bone.mWeights[w];
      if (weight.mVertexId < data.bones.size()) {
        data.bones[weight.mVertexId].add(node->nodeIndex(), weight.mWeight);
      }
    }
  }
}

void ModelLoader::readMaterials() {
  scene::SceneObject::Materials materials;
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    materials.push_back(materialEntry(*scene->mMaterials[m]));
  }
  root.setMaterials(std::move(materials));
}

void ModelLoader::readAnimation() {
  if (!scene->HasAnimations() || !scene->mAnimations[0]->mChannels) return;
  auto animation = std::make_unique<Animation>(root.program(), root.shadowProgram(), &root);
  animation->load(*scene->mAnimations[0]);
  root.setAnimation(std::move(animation));
}

}  // namespace Vexa
