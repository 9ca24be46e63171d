#pragma once

#include "scene/Event.h"

namespace Vexa::scene::mesh {
class Enemy;
class Player;
}  // namespace Vexa::scene::mesh

namespace Vexa::scene::event {

/// Level 3's boss waits until the player comes within `wakeDistance` of it, then walks.
class Level3BossStartWalking : public Event {
 public:
  Level3BossStartWalking(mesh::Enemy& boss, const mesh::Player& player);

  /// Measures from the player's body; the position passed in is not used.
  bool check(const glm::vec3& position, float halfSize) override;
  void run(double elapsedSeconds) override;

  static constexpr float wakeDistance = 10.0f;

 private:
  mesh::Enemy& boss;
  const mesh::Player& player;
};

}  // namespace Vexa::scene::event
