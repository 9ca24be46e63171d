#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Vexa::test {

/// An animated model file and the way the game cuts its clip.
struct CharacterFile {
  std::string path;
  unsigned frameCount;
  /// Frames the game cuts between (segment ends and starts that follow one another
  /// through a state change): all must hold the same pose.
  std::vector<unsigned> restFrames;
  /// Segments the game restarts when they end: each must end on its first pose.
  std::vector<std::pair<unsigned, unsigned>> loops;
  /// The bone that carries the whole body.
  std::string rootBone;
};

inline const std::vector<CharacterFile>& characterFiles() {
  static const std::vector<CharacterFile> files = {
      {"Resources/Models/baseball_bat.dae", 107, {0, 54, 61, 81, 107}, {{0, 54}, {61, 81}}, "Arm"},
      {"Resources/Models/baseball_bat_1.dae",
       107,
       {0, 54, 61, 81, 107},
       {{0, 54}, {61, 81}},
       "Arm"},
      {"Resources/Models/monster1_animation.dae",
       240,
       {0, 66, 124, 132, 208},
       {{0, 66}, {66, 124}, {150, 190}, {214, 240}},
       "Hips"},
      {"Resources/Models/monster1_animation_special.dae",
       240,
       {0, 66, 124, 132, 208},
       {{0, 66}, {66, 124}, {150, 190}, {214, 240}},
       "Hips"},
      {"Resources/Models/monster2_animation.dae",
       226,
       {0, 55, 89, 176},
       {{0, 55}, {55, 89}, {128, 156}, {186, 226}},
       "Root"},
      {"Resources/Models/monster3_animation.dae",
       286,
       {0, 68, 124, 171},
       {{0, 68}, {68, 124}, {124, 171}, {227, 286}},
       "Hips"},
  };
  return files;
}

}  // namespace Vexa::test
