#include "scene/mesh/Walker.h"

#include <cmath>

#include "platform/Clock.h"
#include "platform/Geometry.h"

namespace Vexa::scene::mesh {

namespace {

constexpr double strideRate = 2.5;

EnemyKind walkerKind(bool special) {
  return {special ? bossModelPath : walkerModelPath, walkerClip, "cartoon_laugh.wav",
          "old_man_laugh.wav", "giant_startled.wav"};
}

}  // namespace

Walker::Walker(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
               PhysicsWorld* world, bool standStill, bool special)
    : Enemy(program, shadowProgram, soundSystem, world, standStill, walkerKind(special)) {}

float Walker::walkSpeed(float base, float factor) const {
  const double t = Clock::now() - stateStartTime();
  return static_cast<float>((std::sin(t * base * strideRate + pi) + 1.0) * factor * base);
}

}  // namespace Vexa::scene::mesh
