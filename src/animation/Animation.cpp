#include "animation/Animation.h"

#include "platform/Clock.h"

namespace Vexa {

Animation::Animation(const ModelData& model)
    : pose(model.nodes.size(), glm::mat4(1.0f)), globals(model.nodes.size(), glm::mat4(1.0f)) {
  joints.reserve(model.nodes.size());
  for (const NodeData& node : model.nodes)
    joints.push_back({node.parent, node.localMatrix, node.offsetMatrix, nullptr});
  if (model.clip) {
    clipPresent = true;
    ticksPerSecondValue = model.clip->ticksPerSecond;
    durationTicks = model.clip->duration;
    for (const TrackData& track : model.clip->tracks)
      joints[static_cast<std::size_t>(track.node)].track =
          std::make_shared<const KeyframeTrack>(track.keys);
  }
  for (std::size_t n = 0; n < joints.size(); ++n) {
    if (joints[n].track || model.nodes[n].namedByBone)
      skinning.push_back(static_cast<std::int32_t>(n));
  }
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

void Animation::advance(const glm::mat4& placement) {
  if (!clipPresent) return evaluate(0.0, placement);
  const double elapsed = Clock::now() - segmentStart;
  if (frames == noSegment) return;
  const double end = frameTime(lastFrame, frames);
  double ticks = frameTime(firstFrame, frames) + ticksPerSecondValue * elapsed;
  if (ticks >= end) {
    playing = false;
    ticks = end;
  }
  evaluate(ticks, placement);
}

// Pre-order puts every parent before its children, so one pass down the list
// finds each parent's global ready. The skeleton below "Armature" is posed too.
void Animation::evaluate(double ticks, const glm::mat4& placement) {
  for (std::size_t n = 0; n < joints.size(); ++n) {
    const Joint& joint = joints[n];
    const glm::mat4 local = joint.track ? joint.track->localAt(ticks)
                            : n == 0    ? placement
                                        : joint.bindLocal;
    globals[n] = joint.parent < 0 ? local : globals[static_cast<std::size_t>(joint.parent)] * local;
    pose[n] = globals[n] * joint.offset;
  }
}

const KeyframeTrack* Animation::track(std::int32_t node) const {
  if (node < 0 || static_cast<std::size_t>(node) >= joints.size()) return nullptr;
  return joints[static_cast<std::size_t>(node)].track.get();
}

}  // namespace Vexa
