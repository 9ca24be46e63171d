#pragma once

#include <glm/vec3.hpp>
#include <string>
#include <vector>

namespace Vexa::bot {

/// What the bot sees of the game after a frame: the replay runner's state line,
/// read back. A player sees as much on the screen.
struct BotView {
  struct Enemy {
    glm::vec3 position{0.0f};
    /// Idle 0, StartWalking 1, Walking 2, StopWalking 3, Hit 4.
    int state = 0;
    bool hidden = false;

    bool tumbling() const { return state == 4; }
  };

  long frame = 0;
  int level = 0;
  bool floatMode = false;
  /// False once the game has left its last level.
  bool inLevel = false;
  /// Centre of the player's capsule; the eye is 0.5 above it.
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
  glm::vec3 eye() const { return player + glm::vec3(0.0f, 0.5f, 0.0f); }

  /// Reads a state line; throws std::runtime_error on one that is not.
  static BotView parse(const std::string& stateLine);
};

}  // namespace Vexa::bot
