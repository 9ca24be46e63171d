#pragma once

// The animated models of the bat and the enemies: their files, how the game cuts
// their clips into segments, and where the bat hangs in front of the camera.

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <string>
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

inline constexpr BatClip batClip{0, 54, 61, 81, 81, 107, 107};
/// Also the boss's clip.
inline constexpr EnemyClip walkerClip{{0, 66}, {66, 124}, {214, 240}, {150, 190}, 132, 208, 240};
inline constexpr EnemyClip rollerClip{{0, 55}, {55, 89}, {186, 226}, {128, 156}, 89, 176, 226};
/// The Jumper neither starts nor stops walking: both segments are empty.
inline constexpr EnemyClip jumperClip{{0, 68}, {124, 171}, {227, 286}, {68, 124}, 68, 124, 286};

inline constexpr const char* walkerModelPath = "Resources/Models/monster1_animation.dae";
inline constexpr const char* bossModelPath = "Resources/Models/monster1_animation_special.dae";
inline constexpr const char* rollerModelPath = "Resources/Models/monster2_animation.dae";
inline constexpr const char* jumperModelPath = "Resources/Models/monster3_animation.dae";

/// Variant 0 is the ordinary bat, 1 the upgraded one.
inline std::string batModelPath(unsigned variant) {
  const std::string suffix = variant == 0 ? "" : "_" + std::to_string(variant);
  return "Resources/Models/baseball_bat" + suffix + ".dae";
}

/// The node that holds an animated model's skeleton; it is never drawn.
inline constexpr const char* skeletonRootNode = "Armature";

/// The bat is drawn in camera space: scaled, then moved within the scaled frame.
inline constexpr float batScale = 2.0f;
inline const glm::vec3 batOffset(0.0f, 1.0f, -0.825f);

inline glm::mat4 batLocalMatrix() {
  return glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(batScale)), batOffset);
}

/// A stretch of a clip that the game plays from its first frame to its last.
struct ClipSegment {
  const char* name;
  FrameRange frames;
  /// The game restarts it when it ends, so it must end on its first pose.
  bool loops;
};

/// An animated model file and the way the game plays its clip.
struct CharacterModel {
  std::string path;
  unsigned frameCount;
  std::vector<ClipSegment> segments;
  /// Frames the game cuts between when one segment follows another: all hold one pose.
  std::vector<unsigned> restFrames;
  /// The bone that carries the whole body.
  const char* rootBone;
};

inline std::vector<unsigned> sortedFrames(std::vector<unsigned> frames) {
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

/// Idle, walk and swing; a finished swing goes on walking, and idle and walk follow
/// each other at their ends.
inline CharacterModel batModel(unsigned variant) {
  const BatClip& c = batClip;
  return {
      batModelPath(variant),
      c.frameCount,
      {{"idle", {c.idleFirst, c.idleLast}, true},
       {"walk", {c.walkFirst, c.walkLast}, true},
       {"swing", {c.swingFirst, c.swingLast}, false}},
      sortedFrames({c.idleFirst, c.idleLast, c.walkFirst, c.walkLast, c.swingFirst, c.swingLast}),
      "Arm"};
}

/// Either idle leads to the other or to starting to walk; stopping leads to either idle.
inline CharacterModel enemyModel(const std::string& path, const EnemyClip& c,
                                 const char* rootBone) {
  const FrameRange idleA = c.idleAFrames, idleB = c.idleBFrames, walk = c.walkFrames;
  return {path,
          c.frameCount,
          {{"idle A", idleA, true},
           {"idle B", idleB, true},
           {"start walking", {c.startWalkFrame, walk.first}, false},
           {"walk", walk, true},
           {"stop walking", {walk.last, c.stopWalkFrame}, false},
           {"hit", c.hitFrames, true}},
          sortedFrames({idleA.first, idleA.last, idleB.first, idleB.last, c.startWalkFrame,
                        c.stopWalkFrame}),
          rootBone};
}

/// Both bats, the Walker, the boss, the Roller and the Jumper.
inline const std::vector<CharacterModel>& characterModels() {
  static const std::vector<CharacterModel> models = {
      batModel(0),
      batModel(1),
      enemyModel(walkerModelPath, walkerClip, "Hips"),
      enemyModel(bossModelPath, walkerClip, "Hips"),
      enemyModel(rollerModelPath, rollerClip, "Root"),
      enemyModel(jumperModelPath, jumperClip, "Hips"),
  };
  return models;
}

}  // namespace Vexa::scene::mesh
