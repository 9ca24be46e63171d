#include "scene/mesh/Jumper.h"

#include <cmath>

#include "platform/Clock.h"

namespace Vexa::scene::mesh {

namespace {

constexpr float hopRate = 1.1f;
constexpr double hopPhase = 2.8274333133;  // 0.9π

const EnemyKind jumperKind{jumperModelPath, jumperClip, "cute_broop.wav", "reewrffft.wav",
                           "scream_high.wav"};

}  // namespace

Jumper::Jumper(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
               PhysicsWorld* world, bool standStill)
    : Enemy(program, shadowProgram, soundSystem, world, standStill, jumperKind) {}

float Jumper::walkSpeed(float base, float factor) const {
  const double t = Clock::now() - stateStartTime();
  const double speed = std::sin(t * base * hopRate + hopPhase) * factor * base;
  return speed > 0.0 ? static_cast<float>(speed) : 0.0f;
}

}  // namespace Vexa::scene::mesh
