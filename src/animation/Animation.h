#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <glm/mat4x4.hpp>

struct aiAnimation;

namespace Vexa {

class ShaderProgram;
namespace scene {
class MeshObject;
}

/// The keyframed clip of an animated model, owned by the model's root. The game
/// plays it in segments of frames (start, end, number of frames the clip is cut
/// into); a segment plays once on the game clock and then holds its last pose.
/// The pose is kept in every node's `boneMatrix` (node global × bone offset, from
/// the root's own placement down), which the skinning shaders read as
/// "bonesMatrix[nodeIndex]".
class Animation {
 public:
  static constexpr std::uint32_t noSegment = 0xFFFFFFFF;

  Animation(ShaderProgram* program, ShaderProgram* shadowProgram, scene::MeshObject* root);

  /// Gives every node a channel names its track; channels naming no node are skipped.
  /// A channel whose rotation or scale key count differs from its position key
  /// count ends the game with "animations keyframe number is not synchron".
  /// Loads "bonesMatrix[0]" with the identity in both programs.
  void load(const aiAnimation& clip);

  /// Starts the segment on the game clock; the next `advance` evaluates it.
  void play(std::uint32_t startFrame, std::uint32_t endFrame, std::uint32_t frameCount);
  /// Evaluates the running segment at the clock's time; at its end frame the
  /// segment stops (`playing` false) with the end pose. Without a segment nothing happens.
  void advance();
  /// Poses the whole tree at `ticks` of the clip.
  void evaluate(double ticks);
  /// Makes `programId` current and loads "bonesMatrix[i]" for every skinning node.
  void uploadBoneMatrices(GLuint programId) const;

  double ticksPerSecond() const { return ticksPerSecondValue; }
  double duration() const { return durationTicks; }
  double startTime() const { return segmentStart; }
  std::uint32_t startFrame() const { return firstFrame; }
  std::uint32_t endFrame() const { return lastFrame; }
  std::uint32_t frameCount() const { return frames; }
  /// The clip time in ticks of `frame` when the clip is cut into `frameCount` frames.
  double frameTime(std::uint32_t frame, std::uint32_t frameCount) const;

  /// The current segment is running; game code clears it to stop the segment.
  bool playing = false;

 private:
  ShaderProgram* program;
  ShaderProgram* shadowProgram;
  scene::MeshObject* root;
  double ticksPerSecondValue = 0.0;
  double durationTicks = 0.0;
  double segmentStart = 0.0;
  std::uint32_t firstFrame = 0;
  std::uint32_t lastFrame = 0;
  std::uint32_t frames = noSegment;
};

}  // namespace Vexa
