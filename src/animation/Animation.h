#pragma once

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <memory>
#include <optional>
#include <vector>

#include "animation/KeyframeTrack.h"
#include "render/ModelData.h"

namespace Vexa {

/// The pose of an animated model's node tree and the clip that drives it. The game
/// plays the clip in segments of frames (start, end, number of frames the clip is
/// cut into); a segment plays once on the game clock and then holds its last pose.
/// The pose is one skinning matrix per node number (node global × bone offset,
/// from the model's placement down), which the skinning shaders read as
/// "bonesMatrix[node number]"; whoever holds the drawn nodes loads them.
class Animation {
 public:
  static constexpr std::uint32_t noSegment = 0xFFFFFFFF;

  /// Keeps the node tree of `model` (parents, bind-pose local matrices, bone
  /// offsets) and shares its clip, if it has one: instances of one model read the
  /// same keys, each with its own place in them. Every matrix of the pose starts
  /// as the identity.
  explicit Animation(const ModelData& model);

  /// Starts the segment on the game clock; the next `advance` evaluates it.
  void play(std::uint32_t startFrame, std::uint32_t endFrame, std::uint32_t frameCount);
  /// No segment is running: none was started, the last reached its end frame, or
  /// it was ended. Whoever plays the clip then starts the next.
  bool segmentEnded() const { return !playing; }
  /// Ends the running segment now, at the pose it has reached.
  void endSegment() { playing = false; }
  /// Whether `advance` has a pose to compute: a segment is running, or the model
  /// has no clip and its bind pose follows the placement.
  bool posing() const { return playing || !clipPresent; }
  /// Evaluates the running segment at the clock's time under `placement` (the
  /// model root's local matrix); at its end frame the segment ends with the end
  /// pose. Without a segment nothing happens; without a clip the bind pose is placed.
  void advance(const glm::mat4& placement);
  /// Poses the whole tree at `ticks` of the clip; the root's local matrix is
  /// `placement` unless the clip animates the root. Without a clip: the bind pose.
  void evaluate(double ticks, const glm::mat4& placement);

  /// The skinning matrix of every node, by node number.
  const std::vector<glm::mat4>& boneMatrices() const { return pose; }
  /// The transform of every node in the model's space (placement included), by node number.
  const std::vector<glm::mat4>& nodeMatrices() const { return globals; }
  /// The nodes whose matrices the shaders read (animated or named by a bone), in pre-order.
  const std::vector<std::int32_t>& skinningNodes() const { return skinning; }
  /// The keys of node `node`; null for a node the clip does not animate.
  const KeyframeTrack* track(std::int32_t node) const;

  bool hasClip() const { return clipPresent; }
  double ticksPerSecond() const { return ticksPerSecondValue; }
  double duration() const { return durationTicks; }
  double startTime() const { return segmentStart; }
  std::uint32_t startFrame() const { return firstFrame; }
  std::uint32_t endFrame() const { return lastFrame; }
  std::uint32_t frameCount() const { return frames; }
  /// The clip time in ticks of `frame` when the clip is cut into `frameCount` frames.
  double frameTime(std::uint32_t frame, std::uint32_t frameCount) const;

 private:
  struct Joint {
    std::int32_t parent;
    glm::mat4 bindLocal;
    glm::mat4 offset;
    std::optional<KeyframeTrack> track;
    /// Where this instance last was in the track's keys.
    std::size_t keyCursor = 0;
  };

  std::shared_ptr<const ClipData> clip;
  std::vector<Joint> joints;
  std::vector<std::int32_t> skinning;
  std::vector<glm::mat4> pose;
  std::vector<glm::mat4> globals;
  bool clipPresent = false;
  /// A segment runs: it was started and has neither reached its end nor been ended.
  bool playing = false;
  double ticksPerSecondValue = 0.0;
  double durationTicks = 0.0;
  double segmentStart = 0.0;
  std::uint32_t firstFrame = 0;
  std::uint32_t lastFrame = 0;
  std::uint32_t frames = noSegment;
};

}  // namespace Vexa
