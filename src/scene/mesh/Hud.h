#pragma once

#include "scene/MeshObject.h"

namespace Vexa {
class PhysicsWorld;
}

namespace Vexa::scene::mesh {

class Player;

/// The crosshair in the middle of the window, drawn in window pixels. It tells its
/// program through "hitEnemy" whether the bat would reach an enemy not yet hit.
class Hud : public MeshObject {
 public:
  /// The crosshair model's units in pixels.
  static constexpr float crosshairScale = 25.0f;

  /// `width` and `height` are the window's size in pixels.
  Hud(ShaderProgram* program, PhysicsWorld* world, const Player* player, float width, float height);

  /// Centres the crosshair in a window of `width` × `height` pixels.
  void fitWindow(float width, float height);

  /// Casts the player's aiming ray, then updates the crosshair.
  void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) override;
  void draw() override;

  /// An enemy not yet hit lay on the aiming ray at the last update.
  bool enemyTargeted() const { return targeted; }

 private:
  PhysicsWorld* world;
  const Player* player;
  bool targeted = false;
};

}  // namespace Vexa::scene::mesh
