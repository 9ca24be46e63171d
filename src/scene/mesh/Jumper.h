#pragma once

#include "scene/mesh/Enemy.h"

namespace Vexa::scene::mesh {

/// A hopper: it moves in bursts, one per jump of its walk cycle, and neither starts
/// nor stops walking with a motion of its own.
class Jumper : public Enemy {
 public:
  Jumper(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
         PhysicsWorld* world, bool standStill);

  /// `base` × sin(1.1 `base` t + 0.9π) while that is positive, else still: a short
  /// burst as a cycle starts, then half of every 2π / (1.1 `base`) seconds.
  float walkSpeed(float base, float factor) const override;
};

}  // namespace Vexa::scene::mesh
