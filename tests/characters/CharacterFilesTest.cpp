// Every animated model file, read with the game's importer flags, against the rules the
// game's model loading and skeletal animation rely on.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "CharacterClip.h"
#include "CharacterFiles.h"
#include "render/ModelData.h"

namespace Vexa::test {
namespace {

using scene::mesh::characterModels;
using scene::mesh::skeletonRootNode;

constexpr double millisecondsPerFrame = 1000.0 / 24.0;
constexpr float poseTolerance = 1e-3f;

class CharacterFilesTest : public testing::TestWithParam<CharacterModel> {
 protected:
  CharacterFilesTest() : clip(GetParam().path, GetParam().frameCount) {}

  /// Largest difference of any animated node between the poses at two clip times.
  float poseDistance(double ticksA, double ticksB) const {
    float largest = 0.0f;
    for (const std::string& name : clip.animatedNodes()) {
      largest = std::max(
          largest, matrixDistance(clip.nodeMatrix(name, ticksA), clip.nodeMatrix(name, ticksB)));
    }
    return largest;
  }

  CharacterClip clip;
};

bool hasAncestor(const aiNode* node, const char* name) {
  for (node = node->mParent; node != nullptr; node = node->mParent) {
    if (node->mName == aiString(name)) return true;
  }
  return false;
}

TEST_P(CharacterFilesTest, SkeletonHangsUnderTheArmatureAndBonesNameItsNodes) {
  const aiNode* root = clip.scene().mRootNode;
  ASSERT_NE(root->FindNode(skeletonRootNode), nullptr);
  for (const std::string& name : clip.animatedNodes()) {
    const aiNode* node = root->FindNode(name.c_str());
    ASSERT_NE(node, nullptr) << name;
    EXPECT_TRUE(hasAncestor(node, skeletonRootNode)) << name;
  }
  ASSERT_GT(clip.scene().mNumMeshes, 0u);
  for (unsigned m = 0; m < clip.scene().mNumMeshes; ++m) {
    const aiMesh& mesh = *clip.scene().mMeshes[m];
    ASSERT_GT(mesh.mNumBones, 0u);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiNode* node = root->FindNode(mesh.mBones[b]->mName);
      ASSERT_NE(node, nullptr) << mesh.mBones[b]->mName.C_Str();
      EXPECT_TRUE(hasAncestor(node, skeletonRootNode)) << mesh.mBones[b]->mName.C_Str();
    }
  }
}

TEST_P(CharacterFilesTest, EveryVertexHasOneToFourWeightsAddingUpToOne) {
  // The skinning shaders place a vertex without weights by its node instead of its bones.
  for (unsigned m = 0; m < clip.scene().mNumMeshes; ++m) {
    const aiMesh& mesh = *clip.scene().mMeshes[m];
    std::vector<int> counts(mesh.mNumVertices, 0);
    std::vector<float> sums(mesh.mNumVertices, 0.0f);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      for (unsigned w = 0; w < mesh.mBones[b]->mNumWeights; ++w) {
        const aiVertexWeight& weight = mesh.mBones[b]->mWeights[w];
        counts[weight.mVertexId] += weight.mWeight > 0.0f ? 1 : 0;
        sums[weight.mVertexId] += weight.mWeight;
      }
    }
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      EXPECT_GE(counts[v], 1) << "vertex " << v;
      EXPECT_LE(counts[v], 4) << "vertex " << v;
      EXPECT_NEAR(sums[v], 1.0f, 1e-3f) << "vertex " << v;
    }
  }
}

TEST_P(CharacterFilesTest, EveryChannelHasOneKeyPerFrameFromTimeZero) {
  const aiAnimation& animation = clip.animation();
  EXPECT_EQ(clip.scene().mNumAnimations, 1u);
  EXPECT_DOUBLE_EQ(animation.mTicksPerSecond, 1000.0);
  EXPECT_NEAR(animation.mDuration, GetParam().frameCount * millisecondsPerFrame, 0.01);
  ASSERT_GT(animation.mNumChannels, 0u);
  for (unsigned c = 0; c < animation.mNumChannels; ++c) {
    const aiNodeAnim& channel = *animation.mChannels[c];
    SCOPED_TRACE(channel.mNodeName.C_Str());
    ASSERT_EQ(channel.mNumPositionKeys, GetParam().frameCount + 1);
    EXPECT_EQ(channel.mNumRotationKeys, channel.mNumPositionKeys);
    EXPECT_EQ(channel.mNumScalingKeys, channel.mNumPositionKeys);
    EXPECT_EQ(channel.mPositionKeys[0].mTime, 0.0);
    EXPECT_EQ(channel.mPositionKeys[GetParam().frameCount].mTime, animation.mDuration);
    for (unsigned k = 0; k < channel.mNumPositionKeys; ++k) {
      EXPECT_NEAR(channel.mPositionKeys[k].mTime, k * millisecondsPerFrame, 0.01) << k;
    }
  }
}

TEST_P(CharacterFilesTest, SegmentBoundsOfTheGameLandOnTheirKeys) {
  const aiNodeAnim& channel = *clip.animation().mChannels[0];
  std::vector<unsigned> frames = GetParam().restFrames;
  for (const FrameRange& loop : loopingSegments(GetParam())) {
    frames.push_back(loop.first);
    frames.push_back(loop.last);
  }
  for (unsigned frame : frames) {
    EXPECT_NEAR(clip.ticksAt(frame), channel.mPositionKeys[frame].mTime, 0.01) << frame;
  }
}

TEST_P(CharacterFilesTest, EveryAnimatedNodeHasABoneMatrixSlot) {
  EXPECT_LT(clip.nodeCount(), skinningSlots);
  for (const std::string& name : clip.animatedNodes()) {
    EXPECT_LT(clip.nodeIndex(name), skinningSlots) << name;
  }
}

TEST_P(CharacterFilesTest, RestartedSegmentsEndOnTheirFirstPose) {
  for (const FrameRange& loop : loopingSegments(GetParam())) {
    EXPECT_LT(poseDistance(clip.ticksAt(loop.first), clip.ticksAt(loop.last)), poseTolerance)
        << loop.first << "-" << loop.last;
  }
}

TEST_P(CharacterFilesTest, SegmentsTheGameCutsBetweenMeetInOnePose) {
  const double reference = clip.ticksAt(GetParam().restFrames.front());
  for (unsigned frame : GetParam().restFrames) {
    EXPECT_LT(poseDistance(reference, clip.ticksAt(frame)), poseTolerance) << frame;
  }
}

TEST_P(CharacterFilesTest, TheMaterialTextureIsBesideTheModels) {
  ASSERT_GT(clip.scene().mNumMaterials, 0u);
  for (unsigned m = 0; m < clip.scene().mNumMaterials; ++m) {
    aiString texture;
    ASSERT_EQ(clip.scene().mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &texture),
              AI_SUCCESS);
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::string("Resources/Textures/") + texture.C_Str()))
        << texture.C_Str();
  }
}

std::string fileLabel(const testing::TestParamInfo<CharacterModel>& info) {
  std::string name = std::filesystem::path(info.param.path).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(AllCharacters, CharacterFilesTest, testing::ValuesIn(characterModels()),
                         fileLabel);

}  // namespace
}  // namespace Vexa::test
