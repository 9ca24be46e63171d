#pragma once

// How the game cuts the clips of its animated models into segments. The values
// come from the resource generator, which writes them into
// "scene/mesh/CharacterClips.h" from the clips it builds the models with.

#include <vector>

namespace Vexa::scene::mesh {

/// First and last frame of a stretch of a model's clip.
struct FrameRange {
  unsigned first = 0;
  unsigned last = 0;
};

/// The bat's clip: one segment for each bat state.
struct BatClip {
  unsigned idleFirst, idleLast;
  unsigned walkFirst, walkLast;
  unsigned swingFirst, swingLast;
  unsigned frameCount;
};

/// An enemy's clip. Starting to walk runs from `startWalkFrame` to the first walk
/// frame, stopping from the last walk frame to `stopWalkFrame`.
struct EnemyClip {
  FrameRange idleAFrames;
  FrameRange idleBFrames;
  FrameRange hitFrames;
  FrameRange walkFrames;
  unsigned startWalkFrame;
  unsigned stopWalkFrame;
  unsigned frameCount;
};

/// A stretch of a clip that the game plays from its first frame to its last.
struct ClipSegment {
  const char* name;
  FrameRange frames;
  /// The game restarts it when it ends, so it must end on its first pose.
  bool loops;
};

/// A clip and the way the game plays it.
struct ClipLayout {
  unsigned frameCount;
  std::vector<ClipSegment> segments;
  /// Frames the game cuts between when one segment follows another: all hold one pose.
  std::vector<unsigned> restFrames;
  /// The bone that carries the whole body.
  const char* rootBone;
};

}  // namespace Vexa::scene::mesh
