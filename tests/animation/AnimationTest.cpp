#include <assimp/anim.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "animation/Animation.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;

// Position keys along x at the given tick times, identity rotations and unit scales.
std::unique_ptr<aiNodeAnim> channel(const std::string& node, const std::vector<double>& times,
                                    unsigned rotationKeys = 0) {
  auto anim = std::make_unique<aiNodeAnim>();
  anim->mNodeName = node;
  const auto count = static_cast<unsigned>(times.size());
  anim->mNumPositionKeys = count;
  anim->mNumScalingKeys = count;
  anim->mNumRotationKeys = rotationKeys ? rotationKeys : count;
  anim->mPositionKeys = new aiVectorKey[count];
  anim->mScalingKeys = new aiVectorKey[count];
  anim->mRotationKeys = new aiQuatKey[anim->mNumRotationKeys];
  for (unsigned k = 0; k < count; ++k) {
    anim->mPositionKeys[k] = aiVectorKey(times[k], aiVector3D(10.0f * k, 0, 0));
    anim->mScalingKeys[k] = aiVectorKey(times[k], aiVector3D(1, 1, 1));
  }
  for (unsigned k = 0; k < anim->mNumRotationKeys; ++k) {
    anim->mRotationKeys[k] = aiQuatKey(times[std::min(k, count - 1)], aiQuaternion());
  }
  return anim;
}

aiAnimation clip(std::vector<std::unique_ptr<aiNodeAnim>> channels) {
  aiAnimation animation;
  animation.mTicksPerSecond = 1000.0;
  animation.mDuration = 3000.0;
  animation.mNumChannels = static_cast<unsigned>(channels.size());
  animation.mChannels = new aiNodeAnim*[channels.size()];
  for (std::size_t c = 0; c < channels.size(); ++c) animation.mChannels[c] = channels[c].release();
  return animation;
}

NodeData node(const std::string& name, std::int32_t parent, const glm::mat4& local) {
  NodeData data;
  data.name = name;
  data.parent = parent;
  data.localMatrix = local;
  return data;
}

const glm::mat4 placement = glm::translate(glm::mat4(1.0f), {0, 0, -5});

/// Root (placed) → Armature → Bone → Tip, numbered 0 to 3, with a clip on Bone and Tip.
class AnimationTest : public testing::Test {
 protected:
  AnimationTest() {
    model.nodes.push_back(node("Root", -1, glm::mat4(1.0f)));
    model.nodes.push_back(
        node("Armature", 0, glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0})));
    model.nodes.push_back(node("Bone", 1, glm::mat4(1.0f)));
    model.nodes[2].offsetMatrix = glm::translate(glm::mat4(1.0f), {0, -1, 0});
    model.nodes.push_back(node("Tip", 2, glm::translate(glm::mat4(1.0f), {0, 2, 0})));
    std::vector<std::unique_ptr<aiNodeAnim>> channels;
    channels.push_back(channel("Bone", {1000, 2000, 3000}));
    channels.push_back(channel("Missing", {1000, 2000}));
    channels.push_back(channel("Tip", {0, 3000}));
    model.clip = std::make_shared<const ClipData>(
        *ModelLoader::readClip(clip(std::move(channels)), model).data);
  }

  // Where the bone's matrix puts the origin of its offset space.
  glm::vec3 boneOrigin(const Animation& animation) { return animation.boneMatrices()[2][3]; }

  // The bone at x along its track, under the root's placement and the armature's turn.
  static glm::vec3 expectedBoneOrigin(float x) {
    const glm::mat4 above =
        placement * glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0});
    return above * glm::translate(glm::mat4(1.0f), {x, 0, 0}) * glm::vec4(0, -1, 0, 1);
  }

  ManualClock clock;
  ModelData model;
};

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-4);
  EXPECT_NEAR(actual.y, expected.y, 1e-4);
  EXPECT_NEAR(actual.z, expected.z, 1e-4);
}

TEST_F(AnimationTest, TheClipGivesTracksToTheNamedNodesOnlyEachWithItsOwnKeyCount) {
  const Animation animation(model);
  EXPECT_TRUE(animation.hasClip());
  EXPECT_EQ(animation.ticksPerSecond(), 1000.0);
  EXPECT_EQ(animation.duration(), 3000.0);
  EXPECT_EQ(animation.frameCount(), Animation::noSegment);
  EXPECT_TRUE(animation.segmentEnded());
  ASSERT_NE(animation.track(2), nullptr);
  EXPECT_EQ(animation.track(2)->keyCount(), 3u);
  EXPECT_EQ(animation.track(3)->keyCount(), 2u);
  EXPECT_EQ(animation.track(0), nullptr);
  EXPECT_EQ(animation.track(1), nullptr);
  EXPECT_EQ(animation.skinningNodes(), (std::vector<std::int32_t>{2, 3}));
}

TEST_F(AnimationTest, ClipsThatCannotBePlayedAreRefusedAtLoad) {
  std::vector<std::unique_ptr<aiNodeAnim>> unequal;
  unequal.push_back(channel("Bone", {1000, 2000, 3000}, 2));
  EXPECT_EQ(ModelLoader::readClip(clip(std::move(unequal)), model).failure,
            "animations keyframe number is not synchron");
  std::vector<std::unique_ptr<aiNodeAnim>> backwards;
  backwards.push_back(channel("Tip", {100, 50}));
  EXPECT_EQ(ModelLoader::readClip(clip(std::move(backwards)), model).failure,
            "model could not be loaded: the keys of \"Tip\" do not increase in time");
  std::vector<std::unique_ptr<aiNodeAnim>> repeated;
  repeated.push_back(channel("Bone", {0, 1000, 1000}));
  EXPECT_NE(ModelLoader::readClip(clip(std::move(repeated)), model)
                .failure.find("do not increase in time"),
            std::string::npos);
}

TEST_F(AnimationTest, PlaysASegmentOnTheGameClockAndHoldsItsEndPose) {
  Animation animation(model);
  clock.seconds = 7.0;
  animation.play(10, 20, 30);  // ticks 1000 to 2000 of 3000
  EXPECT_FALSE(animation.segmentEnded());
  EXPECT_EQ(animation.startTime(), 7.0);
  EXPECT_EQ(animation.startFrame(), 10u);
  EXPECT_EQ(animation.endFrame(), 20u);

  clock.advance(0.5);
  animation.advance(placement);
  EXPECT_FALSE(animation.segmentEnded());
  expectNear(boneOrigin(animation), expectedBoneOrigin(5.0f));

  clock.advance(2.0);
  animation.advance(placement);
  EXPECT_TRUE(animation.segmentEnded()) << "the segment stops at its end frame";
  expectNear(boneOrigin(animation), expectedBoneOrigin(10.0f));
}

TEST_F(AnimationTest, SegmentEdgesAndTheMissingSegment) {
  Animation animation(model);
  animation.advance(placement);
  expectNear(boneOrigin(animation), glm::vec3(0));  // without a segment nothing is evaluated

  animation.play(15, 15, 30);
  animation.advance(placement);
  EXPECT_TRUE(animation.segmentEnded()) << "an empty segment ends at its first step";
  expectNear(boneOrigin(animation), expectedBoneOrigin(5.0f));

  animation.play(30, 30, 30);  // the clip's duration, the last key's time exactly
  animation.advance(placement);
  expectNear(boneOrigin(animation), expectedBoneOrigin(20.0f));

  animation.play(0, 30, 30);  // before the first key at 1000 the first pose holds
  animation.advance(placement);
  EXPECT_FALSE(animation.segmentEnded());
  expectNear(boneOrigin(animation), expectedBoneOrigin(0.0f));
}

TEST_F(AnimationTest, InstancesOfOneModelShareItsKeysAndPlayApart) {
  Animation walking(model);
  Animation waiting(model);
  EXPECT_EQ(&walking.track(2)->key(0), &model.clip->tracks[0].keys[0]) << "the keys are shared";
  // One instance runs round the clip again and again while the other holds still;
  // a place in the keys that one of them kept for both would pose the other wrongly.
  for (int lap = 0; lap < 3; ++lap) {
    for (double ticks = 1000.0; ticks <= 3000.0; ticks += 250.0) {
      walking.evaluate(ticks, placement);
      waiting.evaluate(1250.0, placement);
      expectNear(boneOrigin(walking),
                 expectedBoneOrigin(static_cast<float>(ticks - 1000.0) / 100.0f));
      expectNear(boneOrigin(waiting), expectedBoneOrigin(2.5f));
    }
  }
}

TEST_F(AnimationTest, PosesTheWholeTreeIncludingTheSkeletonBelowMarkers) {
  Animation animation(model);
  animation.evaluate(3000.0, placement);
  // Tip's own track (x = 10 at its last key) replaces its local matrix, under the bone.
  const glm::vec3 tip = animation.boneMatrices()[3][3];
  expectNear(tip, expectedBoneOrigin(30.0f) + glm::vec3(0, 0, 1));
  EXPECT_EQ(animation.boneMatrices()[0], placement) << "the root's own placement";
}

TEST_F(AnimationTest, MeshObjectUpdateAdvancesOnlyAPlayingAnimationUnderItsPlacement) {
  MeshObject root(nullptr, nullptr);
  root.buildModel(model);
  root.localMatrix = placement;
  Animation& animation = *root.animation();
  animation.play(10, 20, 30);
  clock.advance(0.5);
  root.updateWithoutCamera(0.016, glm::mat4(1.0f));
  expectNear(boneOrigin(animation), expectedBoneOrigin(5.0f));
  animation.endSegment();
  clock.advance(0.25);
  root.updateWithoutCamera(0.016, glm::mat4(1.0f));
  expectNear(boneOrigin(animation), expectedBoneOrigin(5.0f));  // a stopped segment keeps its pose
}

using BoneUploadTest = GlTest;

TEST_F(BoneUploadTest, LoadsEachSkinningNodeIntoItsSlotAndEntryZeroStartsAsIdentity) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  ModelData model;
  model.nodes.push_back(node("Root", -1, glm::mat4(1.0f)));
  model.nodes.push_back(node("A", 0, glm::mat4(1.0f)));
  model.nodes.push_back(node("B", 1, glm::mat4(1.0f)));
  model.nodes.push_back(node("Bone", 2, glm::translate(glm::mat4(1.0f), {1, 2, 3})));
  model.nodes[3].namedByBone = true;
  model.clip = std::make_shared<const ClipData>(ClipData{1000.0, 0.0, {}});
  MeshObject root(&program, nullptr);
  root.buildModel(model);
  root.animation()->evaluate(0.0, glm::mat4(1.0f));
  root.draw();

  glm::mat4 slot0(0.0f);
  glm::mat4 slot3(0.0f);
  glGetUniformfv(program.programId(), glGetUniformLocation(program.programId(), "bonesMatrix[0]"),
                 glm::value_ptr(slot0));
  glGetUniformfv(program.programId(), glGetUniformLocation(program.programId(), "bonesMatrix[3]"),
                 glm::value_ptr(slot3));
  EXPECT_EQ(slot0, glm::mat4(1.0f));
  EXPECT_EQ(slot3, glm::translate(glm::mat4(1.0f), {1, 2, 3}));
  glUseProgram(0);
}

}  // namespace
}  // namespace Vexa::test
