// Scenes as Assimp may return them from a damaged file, read by the game: each
// hazard gives a clear model message or a sound fallback, never a read past an array.

#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "animation/Animation.h"
#include "render/ModelLoader.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

/// Root → Body with one triangle mesh "Tri" (normals, one material) and a clip of
/// one key on Body.
std::unique_ptr<aiScene> triangleScene() {
  auto scene = std::make_unique<aiScene>();
  scene->mRootNode = new aiNode("Root");
  auto* body = new aiNode("Body");
  body->mParent = scene->mRootNode;
  scene->mRootNode->addChildren(1, &body);
  body->mNumMeshes = 1;
  body->mMeshes = new unsigned[1]{0};
  auto* mesh = new aiMesh();
  mesh->mName = "Tri";
  mesh->mNumVertices = 3;
  mesh->mVertices = new aiVector3D[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh->mNormals = new aiVector3D[3]{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
  mesh->mNumFaces = 1;
  mesh->mFaces = new aiFace[1];
  mesh->mFaces[0].mNumIndices = 3;
  mesh->mFaces[0].mIndices = new unsigned[3]{0, 1, 2};
  scene->mNumMeshes = 1;
  scene->mMeshes = new aiMesh* [1] { mesh };
  scene->mNumMaterials = 1;
  scene->mMaterials = new aiMaterial* [1] { new aiMaterial() };
  auto* channel = new aiNodeAnim();
  channel->mNodeName = "Body";
  channel->mNumPositionKeys = channel->mNumRotationKeys = channel->mNumScalingKeys = 1;
  channel->mPositionKeys = new aiVectorKey[1]{{0.0, {1, 2, 3}}};
  channel->mRotationKeys = new aiQuatKey[1]{{0.0, aiQuaternion()}};
  channel->mScalingKeys = new aiVectorKey[1]{{0.0, {1, 1, 1}}};
  auto* clip = new aiAnimation();
  clip->mTicksPerSecond = 24;
  clip->mDuration = 10;
  clip->mNumChannels = 1;
  clip->mChannels = new aiNodeAnim* [1] { channel };
  scene->mNumAnimations = 1;
  scene->mAnimations = new aiAnimation* [1] { clip };
  return scene;
}

aiMesh& mesh(aiScene& scene) {
  return *scene.mMeshes[0];
}

void addBone(aiScene& scene, const char* name, unsigned vertex) {
  aiMesh& target = mesh(scene);
  auto* bone = new aiBone();
  bone->mName = name;
  bone->mNumWeights = 1;
  bone->mWeights = new aiVertexWeight[1]{{vertex, 1.0f}};
  target.mNumBones = 1;
  target.mBones = new aiBone* [1] { bone };
}

TEST(SceneHazardsTest, EveryHazardIsRefusedWithTheModelMessageOrFallsBackSoundly) {
  const std::string refused = "model could not be loaded: ";
  struct Case {
    const char* name;
    std::function<void(aiScene&)> damage;
    std::string failure;  // empty: the scene loads
  };
  const std::vector<Case> cases = {
      {"a node naming a mesh past the scene's",
       [](aiScene& s) { s.mRootNode->mChildren[0]->mMeshes[0] = 5; },
       refused + "node \"Body\" names mesh 5 of 1"},
      {"an index past the vertices", [](aiScene& s) { mesh(s).mFaces[0].mIndices[2] = 3; },
       refused + "mesh \"Tri\" has an index past its 3 vertices"},
      {"vertices missing",
       [](aiScene& s) {
         delete[] mesh(s).mVertices;
         mesh(s).mVertices = nullptr;
       },
       refused + "the vertices of mesh \"Tri\" are missing"},
      {"a node matrix of NaN",
       [](aiScene& s) { s.mRootNode->mChildren[0]->mTransformation.b2 = notANumber; },
       refused + "node \"Body\" has a transformation that is not finite"},
      {"a position of NaN", [](aiScene& s) { mesh(s).mVertices[1].y = notANumber; },
       refused + "mesh \"Tri\" has a position that is not finite"},
      {"a bone offset of NaN",
       [](aiScene& s) {
         addBone(s, "Body", 0);
         mesh(s).mBones[0]->mOffsetMatrix.a1 = notANumber;
       },
       refused + "bone \"Body\" has an offset that is not finite"},
      {"a clip of NaN length", [](aiScene& s) { s.mAnimations[0]->mDuration = notANumber; },
       refused + "the clip's speed or duration is not a finite number"},
      {"a key of NaN",
       [](aiScene& s) { s.mAnimations[0]->mChannels[0]->mPositionKeys[0].mValue.x = notANumber; },
       refused + "a key of \"Body\" is not a finite number"},
      {"keys missing",
       [](aiScene& s) {
         aiNodeAnim& channel = *s.mAnimations[0]->mChannels[0];
         delete[] channel.mRotationKeys;
         channel.mRotationKeys = nullptr;
       },
       refused + "the keys of \"Body\" are missing"},
      {"a mesh without faces", [](aiScene& s) { mesh(s).mNumFaces = 0; }, ""},
      {"a normal of NaN", [](aiScene& s) { mesh(s).mNormals[2].z = notANumber; }, ""},
      {"a bone naming no node", [](aiScene& s) { addBone(s, "Ghost", 0); }, ""},
      {"a weight for a vertex past the mesh", [](aiScene& s) { addBone(s, "Body", 99); }, ""},
      {"a material index past the materials", [](aiScene& s) { mesh(s).mMaterialIndex = 7; }, ""},
      {"a clip of length zero", [](aiScene& s) { s.mAnimations[0]->mDuration = 0; }, ""},
      {"a channel missing",
       [](aiScene& s) { s.mAnimations[0]->mChannels[0]->mNodeName = "Nobody"; }, ""}};
  for (const Case& c : cases) {
    const auto scene = triangleScene();
    c.damage(*scene);
    const auto reading = ModelLoader::readScene(*scene);
    EXPECT_EQ(reading.failure, c.failure) << c.name;
    if (!c.failure.empty()) continue;
    ASSERT_TRUE(reading.data) << c.name;
    EXPECT_TRUE(reading.data->consistent()) << c.name;
    EXPECT_TRUE(ModelData::deserialize(reading.data->serialize())) << c.name;
  }
}

// The fallbacks as the game then sees them.
TEST(SceneHazardsTest, FallbacksLeaveNothingToTripOver) {
  auto scene = triangleScene();
  mesh(*scene).mNormals[2].z = notANumber;
  addBone(*scene, "Body", 99);
  EXPECT_EQ(ModelLoader::readScene(*scene).data->nodes[1].meshes[0].normals[2], glm::vec3(0.0f));
  const auto& bones = ModelLoader::readScene(*scene).data->nodes[1].meshes[0].bones;
  EXPECT_EQ(bones.size(), 3u);
  for (const BoneRecord& record : bones) EXPECT_EQ(record.weights[0], 0.0f);

  scene = triangleScene();
  mesh(*scene).mNumFaces = 0;
  EXPECT_TRUE(ModelLoader::readScene(*scene).data->nodes[1].meshes.empty()) << "nothing to draw";

  // A clip of length zero plays every segment to its end at once.
  scene = triangleScene();
  scene->mAnimations[0]->mDuration = 0;
  ManualClock clock;
  Animation animation(*ModelLoader::readScene(*scene).data);
  animation.play(0, 5, 10);
  animation.advance(glm::mat4(1.0f));
  EXPECT_TRUE(animation.segmentEnded());
  EXPECT_EQ(animation.nodeMatrices()[1][3], glm::vec4(1, 2, 3, 1));
}

}  // namespace
}  // namespace Vexa::test
