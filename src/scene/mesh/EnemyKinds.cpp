#include "scene/mesh/EnemyKinds.h"

#include "scene/mesh/Jumper.h"
#include "scene/mesh/Roller.h"
#include "scene/mesh/Walker.h"

namespace Vexa::scene::mesh {

std::unique_ptr<Enemy> enemyOfKind(std::size_t turn, ShaderProgram* program,
                                   ShaderProgram* shadowProgram, SoundSystem* soundSystem,
                                   PhysicsWorld* world, bool standStill) {
  switch (turn) {
    case 0:
      return std::make_unique<Roller>(program, shadowProgram, soundSystem, world, standStill);
    case 1:
      return std::make_unique<Jumper>(program, shadowProgram, soundSystem, world, standStill);
    default:
      return std::make_unique<Walker>(program, shadowProgram, soundSystem, world, standStill,
                                      /*special=*/false);
  }
}

}  // namespace Vexa::scene::mesh
