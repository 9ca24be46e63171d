#include "ImportedModel.h"

#include <assimp/material.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>

#include "render/ModelLoader.h"

namespace Vexa::test {
namespace {

glm::mat4 toGlm(const aiMatrix4x4& m) {
  // Assimp is row-major; glm is column-major.
  return glm::transpose(glm::make_mat4(&m.a1));
}

}  // namespace

ImportedModel::ImportedModel(const std::string& path, Placement place)
    : placement(std::move(place)) {
  scene = ModelLoader::read(importer, path);
  EXPECT_NE(scene, nullptr) << path << ": " << importer.GetErrorString();
}

const aiNode* ImportedModel::node(const std::string& name) const {
  return scene->mRootNode->FindNode(name.c_str());
}

glm::mat4 ImportedModel::globalMatrix(const aiNode& node) const {
  glm::mat4 matrix = toGlm(node.mTransformation);
  if (node.mParent == nullptr) return placement(matrix);
  return globalMatrix(*node.mParent) * matrix;
}

TriangleSet ImportedModel::meshes(const aiNode& node) const {
  TriangleSet set;
  addMeshes(node, set);
  return set;
}

TriangleSet ImportedModel::subtreeMeshes(const aiNode& node) const {
  TriangleSet set = meshes(node);
  for (unsigned i = 0; i < node.mNumChildren; ++i) set.add(subtreeMeshes(*node.mChildren[i]));
  return set;
}

std::unique_ptr<physic::StaticRigidBody> ImportedModel::staticBody(const aiNode& node,
                                                                   bool heavy) const {
  auto triangles = std::make_unique<btTriangleMesh>();
  for (unsigned m = 0; m < node.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[node.mMeshes[m]];
    std::vector<glm::vec3> positions;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v)
      positions.emplace_back(mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z);
    std::vector<std::uint32_t> indices;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices == 3) indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    physic::StaticRigidBody::collectTriangles(globalMatrix(node), positions, indices, *triangles);
  }
  return std::make_unique<physic::StaticRigidBody>(std::move(triangles), heavy);
}

void ImportedModel::addMeshes(const aiNode& node, TriangleSet& set) const {
  const glm::mat4 matrix = globalMatrix(node);
  const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(matrix)));
  for (unsigned m = 0; m < node.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[node.mMeshes[m]];
    auto corner = [&](unsigned index) {
      const aiVector3D& p = mesh.mVertices[index];
      const aiVector3D& n = mesh.mNormals[index];
      return TriangleSet::Corner{glm::vec3(matrix * glm::vec4(p.x, p.y, p.z, 1.0f)),
                                 glm::normalize(normalMatrix * glm::vec3(n.x, n.y, n.z))};
    };
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      set.add({corner(face.mIndices[0]), corner(face.mIndices[1]), corner(face.mIndices[2])});
    }
  }
}

std::vector<std::string> ImportedModel::textureNames() const {
  std::vector<std::string> names;
  for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
    aiString path;
    if (aiGetMaterialTexture(scene->mMaterials[i], aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS)
      names.emplace_back(path.C_Str());
  }
  return names;
}

unsigned ImportedModel::colourMaterialCount() const {
  unsigned count = 0;
  for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
    aiString path;
    aiColor4D colour;
    const bool textured =
        aiGetMaterialTexture(scene->mMaterials[i], aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS;
    if (!textured &&
        aiGetMaterialColor(scene->mMaterials[i], AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS)
      ++count;
  }
  return count;
}

}  // namespace Vexa::test
