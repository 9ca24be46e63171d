#pragma once

#include "scene/mesh/Enemy.h"

namespace Vexa::scene::mesh {

/// A ball-bodied creature that rolls at an even pace; it gets rolling before its
/// start-walking motion is over. It makes no idle sounds.
class Roller : public Enemy {
 public:
  Roller(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
         PhysicsWorld* world, bool standStill);

 protected:
  /// Stands for the first 0.8 s of the start-walking segment and walks after it.
  void startWalkingStep() override;
};

}  // namespace Vexa::scene::mesh
