#pragma once

#include <glm/vec3.hpp>
#include <string>
#include <vector>

#include "physic/CharacterBody.h"

namespace Vexa::bot {

/// What the bot sees of the game after a frame: the replay runner's state line,
/// read back. A player sees as much on the screen.
struct BotView {
  struct Enemy {
    glm::vec3 position{0.0f};
    /// Its scene::mesh::EnemyState, as the state line gives it.
    int state = 0;
    bool hidden = false;

    /// Struck and on its way out of play.
    bool tumbling() const;
  };

  long frame = 0;
  int level = 0;
  bool floatMode = false;
  /// False once the game has left its last level.
  bool inLevel = false;
  /// Centre of the player's capsule; the eye is `eyeHeight` above it.
  glm::vec3 player{0.0f};
  /// Camera angles in degrees: yaw 0 looks along -z and grows towards +x; a
  /// positive pitch looks down.
  float yaw = 0.0f;
  float pitch = 0.0f;
  bool onGround = false;
  bool swinging = false;
  std::vector<Enemy> enemies;
  std::vector<std::string> triggeredEvents;

  bool triggered(const std::string& event) const;
  glm::vec3 eye() const { return player + glm::vec3(0.0f, eyeHeight, 0.0f); }

  /// Reads a state line; throws std::runtime_error on one that is not.
  static BotView parse(const std::string& stateLine);
};

}  // namespace Vexa::bot
