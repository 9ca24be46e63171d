#pragma once

#include <glm/vec3.hpp>
#include <string>
#include <vector>

namespace Vexa {

/// What can be seen of a level from outside at the end of a frame: enough for a
/// replay to check a run, and for a bot to decide its next input.
struct LevelState {
  struct Enemy {
    glm::vec3 position{0.0f};
    /// The behaviour state, a `scene::mesh::EnemyState` as its number.
    int state = 0;
    /// First and last frame of the clip segment playing, or played last.
    unsigned segmentFirst = 0;
    unsigned segmentLast = 0;
    bool hidden = false;
  };

  /// Centre of the player's capsule; the eye is `eyeHeight` above it.
  glm::vec3 playerPosition{0.0f};
  /// Camera angles in degrees.
  float yaw = 0.0f;
  float pitch = 0.0f;
  bool onGround = false;
  /// "Swing", "Idle" or "Walk".
  std::string batState;
  /// 0 for the ordinary bat, 1 for the upgraded one.
  unsigned batVariant = 0;
  std::vector<Enemy> enemies;
  /// Names of the events that have triggered, in the order of the level's events.
  std::vector<std::string> triggeredEvents;
};

}  // namespace Vexa
