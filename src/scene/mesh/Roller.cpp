#include "scene/mesh/Roller.h"

#include "animation/Animation.h"
#include "platform/Clock.h"

namespace Vexa::scene::mesh {

namespace {

constexpr double rollingStartsAfter = 0.8;

const EnemyKind rollerKind{rollerModelPath, rollerClip, nullptr, nullptr, "falling_yodel.wav"};

}  // namespace

Roller::Roller(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
               PhysicsWorld* world, bool standStill)
    : Enemy(program, shadowProgram, soundSystem, world, standStill, rollerKind) {}

void Roller::startWalkingStep() {
  updateModelMatrix();
  if (Clock::now() - clip().startTime() > rollingStartsAfter) walkStep();
}

}  // namespace Vexa::scene::mesh
