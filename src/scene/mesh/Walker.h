#pragma once

#include "scene/mesh/Enemy.h"

namespace Vexa::scene::mesh {

/// A lumbering biped whose pace swings between a standstill and twice the base
/// speed over each step. The boss is a `special` Walker with its own model.
class Walker : public Enemy {
 public:
  Walker(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
         PhysicsWorld* world, bool standStill, bool special);

  /// Starts a walk cycle at `base` and slows first; swings between 0 and twice
  /// `base` every 2π / (2.5 `base`) seconds.
  float walkSpeed(float base, float factor) const override;
};

}  // namespace Vexa::scene::mesh
