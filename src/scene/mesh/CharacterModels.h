#pragma once

// The animated models of the bat and the enemies: their files, how the game cuts
// their clips into segments, and where the bat hangs in front of the camera.

#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat4x4.hpp>
#include <string>
#include <vector>

#include "scene/mesh/CharacterClips.h"

namespace Vexa::scene::mesh {

inline constexpr const char* walkerModelPath = "Resources/Models/monster1_animation.dae";
inline constexpr const char* bossModelPath = "Resources/Models/monster1_animation_special.dae";
inline constexpr const char* rollerModelPath = "Resources/Models/monster2_animation.dae";
inline constexpr const char* jumperModelPath = "Resources/Models/monster3_animation.dae";

/// Variant 0 is the ordinary bat, 1 the upgraded one.
inline std::string batModelPath(unsigned variant) {
  const std::string suffix = variant == 0 ? "" : "_" + std::to_string(variant);
  return "Resources/Models/baseball_bat" + suffix + ".dae";
}

inline glm::mat4 batLocalMatrix() {
  return glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(batScale)), batOffset);
}

/// An animated model file and the way the game plays its clip.
struct CharacterModel : ClipLayout {
  std::string path;
};

/// Both bats, the Walker, the boss, the Roller and the Jumper.
inline const std::vector<CharacterModel>& characterModels() {
  static const std::vector<CharacterModel> models = {
      {batLayout(), batModelPath(0)},    {batLayout(), batModelPath(1)},
      {walkerLayout(), walkerModelPath}, {walkerLayout(), bossModelPath},
      {rollerLayout(), rollerModelPath}, {jumperLayout(), jumperModelPath},
  };
  return models;
}

}  // namespace Vexa::scene::mesh
