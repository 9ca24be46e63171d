#include "animation/Animation.h"

#include <assimp/anim.h>

#include <cstdio>
#include <glm/gtc/type_ptr.hpp>

#include "animation/KeyframeTrack.h"
#include "platform/Clock.h"
#include "platform/Fatal.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"

namespace Vexa {

namespace {

std::unique_ptr<KeyframeTrack> trackOf(const aiNodeAnim& channel) {
  const unsigned count = channel.mNumPositionKeys;
  if (channel.mNumRotationKeys != count || channel.mNumScalingKeys != count) {
    fatalError("animations keyframe number is not synchron");
  }
  // The rotation and scale keys share the position keys' times.
  std::vector<KeyframeTrack::Key> keys(count);
  for (unsigned j = 0; j < count; ++j) {
    const aiVector3D& position = channel.mPositionKeys[j].mValue;
    const aiQuaternion& rotation = channel.mRotationKeys[j].mValue;
    const aiVector3D& scale = channel.mScalingKeys[j].mValue;
    keys[j].time = channel.mPositionKeys[j].mTime;
    keys[j].position = {position.x, position.y, position.z};
    keys[j].rotation = glm::quat(rotation.w, rotation.x, rotation.y, rotation.z);
    keys[j].scale = {scale.x, scale.y, scale.z};
  }
  return std::make_unique<KeyframeTrack>(std::move(keys));
}

void loadIdentityBone(const ShaderProgram* program) {
  if (!program) return;
  glUseProgram(program->programId());
  const glm::mat4 identity(1.0f);
  glUniformMatrix4fv(glGetUniformLocation(program->programId(), "bonesMatrix[0]"), 1, GL_FALSE,
                     glm::value_ptr(identity));
}

void evaluateNode(scene::SceneObject& node, double ticks, const glm::mat4& parentGlobal) {
  const KeyframeTrack* track = node.keyframes();
  const glm::mat4 global = parentGlobal * (track ? track->localAt(ticks) : node.localMatrix);
  node.boneMatrices().boneMatrix = global * node.boneMatrices().offsetMatrix;
  // The skeleton below "Armature" is posed too; only the scene traversals skip it.
  for (const auto& child : node.children()) evaluateNode(*child, ticks, global);
}

void uploadNode(const scene::SceneObject& node, GLuint programId) {
  if (node.keyframes() || node.boneMatrices().namedByBone) {
    char uniform[21];
    std::snprintf(uniform, sizeof uniform, "bonesMatrix[%d]", node.nodeIndex());
    glUniformMatrix4fv(glGetUniformLocation(programId, uniform), 1, GL_FALSE,
                       glm::value_ptr(node.boneMatrices().boneMatrix));
  }
  for (const auto& child : node.children()) uploadNode(*child, programId);
}

}  // namespace

Animation::Animation(ShaderProgram* program, ShaderProgram* shadowProgram, scene::MeshObject* root)
    : program(program), shadowProgram(shadowProgram), root(root) {}

void Animation::load(const aiAnimation& clip) {
  ticksPerSecondValue = clip.mTicksPerSecond;
  durationTicks = clip.mDuration;
  // A channel for a node the model lacks has nowhere to go and is skipped.
  for (unsigned c = 0; c < clip.mNumChannels; ++c) {
    const aiNodeAnim& channel = *clip.mChannels[c];
    scene::MeshObject* node = root->findNode(channel.mNodeName.C_Str());
    if (node) node->setKeyframes(trackOf(channel));
  }
  loadIdentityBone(program);
  loadIdentityBone(shadowProgram);
}

void Animation::play(std::uint32_t startFrame, std::uint32_t endFrame, std::uint32_t frameCount) {
  playing = true;
  segmentStart = Clock::now();
  firstFrame = startFrame;
  lastFrame = endFrame;
  frames = frameCount;
}

double Animation::frameTime(std::uint32_t frame, std::uint32_t frameCount) const {
  const auto fraction = static_cast<float>(frame) / static_cast<float>(frameCount);
  return static_cast<double>(fraction) * durationTicks;
}

void Animation::advance() {
  const double elapsed = Clock::now() - segmentStart;
  if (frames == noSegment) return;
  const double end = frameTime(lastFrame, frames);
  double ticks = frameTime(firstFrame, frames) + ticksPerSecondValue * elapsed;
  if (ticks >= end) {
    playing = false;
    ticks = end;
  }
  evaluate(ticks);
}

void Animation::evaluate(double ticks) {
  evaluateNode(*root, ticks, glm::mat4(1.0f));
}

void Animation::uploadBoneMatrices(GLuint programId) const {
  glUseProgram(programId);
  uploadNode(*root, programId);
}

}  // namespace Vexa
